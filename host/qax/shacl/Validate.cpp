// Validate: focus nodes from targets, value nodes from paths, and every
// SHACL Core constraint component checked on them.
#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/qax/shacl/ShapeSet.h"
#include "host/qax/shacl/TermText.h"
#include "host/qax/shacl/Validator.h"

namespace QAX {
namespace Ontology {
namespace Shacl {
namespace {

constexpr std::string_view kViolation = QAX_SHACL_NS "Violation";
constexpr std::string_view kXsdString = QAX_XSD_NS "string";

// sh:sourceConstraintComponent per Component, in its order.
constexpr std::array<std::string_view, 29> kComponentIris{{
    QAX_SHACL_NS "ClassConstraintComponent",
    QAX_SHACL_NS "DatatypeConstraintComponent",
    QAX_SHACL_NS "NodeKindConstraintComponent",
    QAX_SHACL_NS "MinCountConstraintComponent",
    QAX_SHACL_NS "MaxCountConstraintComponent",
    QAX_SHACL_NS "MinExclusiveConstraintComponent",
    QAX_SHACL_NS "MinInclusiveConstraintComponent",
    QAX_SHACL_NS "MaxExclusiveConstraintComponent",
    QAX_SHACL_NS "MaxInclusiveConstraintComponent",
    QAX_SHACL_NS "MinLengthConstraintComponent",
    QAX_SHACL_NS "MaxLengthConstraintComponent",
    QAX_SHACL_NS "PatternConstraintComponent",
    QAX_SHACL_NS "LanguageInConstraintComponent",
    QAX_SHACL_NS "UniqueLangConstraintComponent",
    QAX_SHACL_NS "EqualsConstraintComponent",
    QAX_SHACL_NS "DisjointConstraintComponent",
    QAX_SHACL_NS "LessThanConstraintComponent",
    QAX_SHACL_NS "LessThanOrEqualsConstraintComponent",
    QAX_SHACL_NS "NotConstraintComponent",
    QAX_SHACL_NS "AndConstraintComponent",
    QAX_SHACL_NS "OrConstraintComponent",
    QAX_SHACL_NS "XoneConstraintComponent",
    QAX_SHACL_NS "NodeConstraintComponent",
    QAX_SHACL_NS "PropertyConstraintComponent",
    QAX_SHACL_NS "QualifiedMinCountConstraintComponent",
    QAX_SHACL_NS "QualifiedMaxCountConstraintComponent",
    QAX_SHACL_NS "ClosedConstraintComponent",
    QAX_SHACL_NS "HasValueConstraintComponent",
    QAX_SHACL_NS "InConstraintComponent",
}};

void SortUnique(std::vector<TermId>& nodes) {
  std::sort(nodes.begin(), nodes.end());
  nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
}

bool Contains(const std::vector<TermId>& sorted, TermId node) {
  return std::binary_search(sorted.begin(), sorted.end(), node);
}

// Whether statements sorted by object have `node` as one's object.
bool HasObject(const TripleRange& sorted, TermId node) {
  const Triple* at = std::lower_bound(sorted.begin(), sorted.end(), node,
                                      [](const Triple& t, TermId n) { return t.object < n; });
  return at != sorted.end() && at->object == node;
}

// One run of Validate. Nodes are data-graph terms; a term of the shapes
// graph that the data graph does not hold (a sh:targetNode, a sh:hasValue)
// gets a number past the data graph's terms, so that it equals only itself
// and has no statements.
class Validation {
 public:
  Validation(const Graph& data, const ShapeSet& set)
      : data_(data),
        shapes_(set.ShapesGraph()),
        set_(set),
        sameGraph_(&data == &set.ShapesGraph()),
        dataCount_(static_cast<TermId>(data.TermCount())),
        rdfType_(data.FindIri(QAX_RDF_NS "type")),
        subClassOf_(data.FindIri(QAX_RDFS_NS "subClassOf")),
        mapped_(sameGraph_ ? 0 : set.ShapesGraph().TermCount(), kNoTerm),
        buffers_(kMaxShapeDepth + 2) {}

  ValidationReport Run();

 private:
  TermId Data(TermId shapesTerm);
  TermView View(TermId node) const {
    return node < dataCount_ ? data_.Term(node) : shapes_.Term(node - dataCount_);
  }
  ReportTerm Copy(const TermView& view) const {
    return {view.kind, std::string(view.text), std::string(view.datatype),
            std::string(view.language)};
  }
  TripleRange Objects(TermId subject, TermId predicate) const {
    return subject < dataCount_ && predicate < dataCount_ ? data_.Objects(subject, predicate)
                                                          : TripleRange{};
  }
  TripleRange Subjects(TermId predicate, TermId object) const {
    return object < dataCount_ && predicate < dataCount_ ? data_.Subjects(predicate, object)
                                                         : TripleRange{};
  }

  const std::vector<TermId>& SubClasses(TermId cls);
  bool IsInstance(TermId node, TermId cls);
  const std::vector<TermId>& Bound(const Constraint& c);
  void FocusNodes(const Shape& shape, std::vector<TermId>& out);
  void Walk(const ShapePath& path, bool inverse, const std::vector<TermId>& from,
            std::vector<TermId>& out);
  bool Conforms(ShapeIndex shape, TermId focus, std::size_t depth);
  bool Check(ShapeIndex shape, TermId focus, bool report, std::size_t depth);
  bool CheckConstraint(const Shape& shape, const Constraint& c, TermId focus,
                       const std::vector<TermId>& values, bool report, std::size_t depth);
  void Emit(const Shape& shape, Component component, TermId focus, TermId value,
            const std::string& message, std::shared_ptr<const ReportPath> path);

  const Graph& data_;
  const Graph& shapes_;
  const ShapeSet& set_;
  const bool sameGraph_;
  const TermId dataCount_;
  const TermId rdfType_;
  const TermId subClassOf_;
  std::vector<TermId> mapped_;
  // Data literals by lexical form, built when a shape first names a literal.
  std::unordered_multimap<std::string_view, TermId> literals_;
  bool literalsIndexed_ = false;
  std::unordered_map<TermId, std::vector<TermId>> subClasses_;
  std::unordered_map<const Constraint*, std::vector<TermId>> bound_;
  // Whether a shape that names other shapes conforms at a node: nested
  // shapes are checked once per node, however many shapes share them.
  std::unordered_map<uint64_t, bool> conforms_;
  // Whether a shared shape conformed at a node it was reported for.
  std::unordered_map<uint64_t, bool> reported_;
  // Value nodes, one buffer per nesting level.
  std::vector<std::vector<TermId>> buffers_;
  ValidationReport report_;
};

TermId Validation::Data(TermId shapesTerm) {
  if (sameGraph_) return shapesTerm;
  TermId& slot = mapped_[shapesTerm];
  if (slot != kNoTerm) return slot;
  const TermView view = shapes_.Term(shapesTerm);
  TermId found = kNoTerm;
  if (view.kind == TermKind::kIri) {
    found = data_.FindIri(view.text);
  } else if (view.kind == TermKind::kLiteral) {
    if (!literalsIndexed_) {
      literalsIndexed_ = true;
      for (TermId term = 0; term < dataCount_; ++term) {
        const TermView candidate = data_.Term(term);
        if (candidate.kind == TermKind::kLiteral) literals_.emplace(candidate.text, term);
      }
    }
    const auto [first, last] = literals_.equal_range(view.text);
    for (auto it = first; it != last && found == kNoTerm; ++it) {
      const TermView candidate = data_.Term(it->second);
      if (candidate.datatype == view.datatype && SameLanguage(candidate.language, view.language))
        found = it->second;
    }
  }
  // Blank nodes of the shapes graph are never the data graph's.
  slot = found != kNoTerm ? found : dataCount_ + shapesTerm;
  return slot;
}

// `cls` and its subclasses in the data graph, sorted.
const std::vector<TermId>& Validation::SubClasses(TermId cls) {
  const auto cached = subClasses_.find(cls);
  if (cached != subClasses_.end()) return cached->second;
  std::vector<TermId> classes{cls};
  std::unordered_set<TermId> seen{cls};
  for (std::size_t i = 0; i < classes.size(); ++i)
    for (const Triple& sub : Subjects(subClassOf_, classes[i]))
      if (seen.insert(sub.subject).second) classes.push_back(sub.subject);
  std::sort(classes.begin(), classes.end());
  return subClasses_.emplace(cls, std::move(classes)).first->second;
}

bool Validation::IsInstance(TermId node, TermId cls) {
  const TripleRange types = Objects(node, rdfType_);
  if (types.empty()) return false;
  const std::vector<TermId>& classes = SubClasses(cls);
  for (const Triple& type : types)
    if (Contains(classes, type.object)) return true;
  return false;
}

// sh:in's members or sh:closed's allowed predicates as data terms, sorted.
const std::vector<TermId>& Validation::Bound(const Constraint& c) {
  const auto cached = bound_.find(&c);
  if (cached != bound_.end()) return cached->second;
  std::vector<TermId> terms;
  terms.reserve(c.terms.size());
  for (const TermId term : c.terms) terms.push_back(Data(term));
  SortUnique(terms);
  return bound_.emplace(&c, std::move(terms)).first->second;
}

void Validation::FocusNodes(const Shape& shape, std::vector<TermId>& out) {
  out.clear();
  for (const Target& target : shape.targets) {
    const TermId term = Data(target.term);
    switch (target.kind) {
      case TargetKind::kClass:
        for (const TermId cls : SubClasses(term))
          for (const Triple& typed : Subjects(rdfType_, cls)) out.push_back(typed.subject);
        break;
      case TargetKind::kNode:
        out.push_back(term);
        break;
      case TargetKind::kSubjectsOf:
      case TargetKind::kObjectsOf:
        if (term >= dataCount_) break;
        for (const Triple& triple : data_.WithPredicate(term))
          out.push_back(target.kind == TargetKind::kSubjectsOf ? triple.subject : triple.object);
        break;
    }
  }
  SortUnique(out);
}

// Appends the nodes `path` reaches from `from` (walked backwards when
// `inverse`); repeats are left for the caller to drop. Recurses once per
// path level, at most kMaxPathDepth.
void Validation::Walk(const ShapePath& path, bool inverse, const std::vector<TermId>& from,
                      std::vector<TermId>& out) {
  switch (path.kind) {
    case ReportPath::Kind::kPredicate: {
      const TermId predicate = Data(path.predicate);
      for (const TermId node : from) {
        if (inverse) {
          for (const Triple& t : Subjects(predicate, node)) out.push_back(t.subject);
        } else {
          for (const Triple& t : Objects(node, predicate)) out.push_back(t.object);
        }
      }
      return;
    }
    case ReportPath::Kind::kInverse:
      Walk(path.steps[0], !inverse, from, out);
      return;
    case ReportPath::Kind::kSequence: {
      std::vector<TermId> current = from;
      std::vector<TermId> next;
      for (std::size_t i = 0; i < path.steps.size(); ++i) {
        const ShapePath& step = path.steps[inverse ? path.steps.size() - 1 - i : i];
        next.clear();
        Walk(step, inverse, current, next);
        SortUnique(next);
        current.swap(next);
      }
      out.insert(out.end(), current.begin(), current.end());
      return;
    }
    case ReportPath::Kind::kAlternative:
      for (const ShapePath& step : path.steps) Walk(step, inverse, from, out);
      return;
    case ReportPath::Kind::kZeroOrOne:
      out.insert(out.end(), from.begin(), from.end());
      Walk(path.steps[0], inverse, from, out);
      return;
    case ReportPath::Kind::kZeroOrMore:
    case ReportPath::Kind::kOneOrMore: {
      // Breadth first, each node expanded once.
      std::unordered_set<TermId> seen;
      std::vector<TermId> frontier;
      if (path.kind == ReportPath::Kind::kZeroOrMore) {
        for (const TermId node : from)
          if (seen.insert(node).second) frontier.push_back(node);
        out.insert(out.end(), frontier.begin(), frontier.end());
      } else {
        frontier = from;
      }
      std::vector<TermId> reached;
      while (!frontier.empty()) {
        reached.clear();
        Walk(path.steps[0], inverse, frontier, reached);
        frontier.clear();
        for (const TermId node : reached)
          if (seen.insert(node).second) frontier.push_back(node);
        out.insert(out.end(), frontier.begin(), frontier.end());
      }
      return;
    }
  }
}

bool Validation::Conforms(ShapeIndex index, TermId focus, std::size_t depth) {
  if (!set_.shapes[index].namesShapes) return Check(index, focus, false, depth);
  const uint64_t key = (static_cast<uint64_t>(index) << 32U) | focus;
  const auto cached = conforms_.find(key);
  if (cached != conforms_.end()) return cached->second;
  const bool result = Check(index, focus, false, depth);
  conforms_.emplace(key, result);
  return result;
}

// Whether `focus` conforms to the shape; reports each failure when
// `report`, else stops at the first. Recurses through the shapes a shape
// names, at most kMaxShapeDepth levels (Shapes::Read refused deeper ones).
bool Validation::Check(ShapeIndex index, TermId focus, bool report, std::size_t depth) {
  const Shape& shape = set_.shapes[index];
  if (shape.deactivated) return true;
  const uint64_t key = (static_cast<uint64_t>(index) << 32U) | focus;
  if (report && shape.shared) {
    const auto reported = reported_.find(key);
    if (reported != reported_.end()) return reported->second;
  }
  std::vector<TermId>& values = buffers_[depth];
  values.clear();
  if (!shape.isProperty) {
    values.push_back(focus);
  } else if (shape.path.kind == ReportPath::Kind::kPredicate) {
    // The graph's statements are sorted by object and distinct already.
    for (const Triple& t : Objects(focus, Data(shape.path.predicate))) values.push_back(t.object);
  } else {
    Walk(shape.path, false, std::vector<TermId>{focus}, values);
    SortUnique(values);
  }
  bool conforms = true;
  for (const Constraint& c : shape.constraints) {
    if (CheckConstraint(shape, c, focus, values, report, depth)) continue;
    conforms = false;
    if (!report) break;
  }
  if (report && shape.shared) reported_.emplace(key, conforms);
  return conforms;
}

void Validation::Emit(const Shape& shape, Component component, TermId focus, TermId value,
                      const std::string& message, std::shared_ptr<const ReportPath> path) {
  report_.conforms = false;
  if (report_.results.size() >= kMaxReportResults) {
    ++report_.resultsLeftOut;
    return;
  }
  ValidationResult& result = report_.results.emplace_back();
  result.focusNode = Copy(View(focus));
  if (path) {
    result.resultPath = std::move(path);
  } else {
    result.resultPath = shape.reportPath;
  }
  result.hasValue = value != kNoTerm;
  if (result.hasValue) result.value = Copy(View(value));
  result.sourceShape = Copy(shapes_.Term(shape.node));
  result.sourceConstraintComponent =
      std::string(kComponentIris[static_cast<std::size_t>(component)]);
  result.resultSeverity =
      std::string(shape.severity == kNoTerm ? kViolation : shapes_.Term(shape.severity).text);
  for (const TermId m : shape.messages) result.resultMessages.push_back(Copy(shapes_.Term(m)));
  if (result.resultMessages.empty())
    result.resultMessages.push_back({TermKind::kLiteral, message, std::string(kXsdString), {}});
}

bool Validation::CheckConstraint(const Shape& shape, const Constraint& c, TermId focus,
                                 const std::vector<TermId>& values, bool report,
                                 std::size_t depth) {
  bool ok = true;
  // Records a failure; answers whether to go on looking for more. The
  // message is only written for a report.
  auto fail = [&](TermId value, const auto& message) {
    ok = false;
    if (!report) return false;
    Emit(shape, c.component, focus, value, message(), nullptr);
    return true;
  };
  auto shapesText = [&](TermId term) { return TermText(shapes_.Term(term)); };
  auto count = [](uint64_t n) { return std::to_string(n); };
  switch (c.component) {
    case Component::kClass: {
      const TermId cls = Data(c.term);
      for (const TermId v : values)
        if (!IsInstance(v, cls) &&
            !fail(v, [&] { return "not an instance of " + shapesText(c.term); }))
          return false;
      break;
    }
    case Component::kDatatype: {
      const std::string_view datatype = shapes_.Term(c.term).text;
      for (const TermId v : values) {
        const TermView view = View(v);
        if (view.kind == TermKind::kLiteral && view.datatype == datatype &&
            IsWellFormed(c.datatype, view.text))
          continue;
        const bool illFormed = view.kind == TermKind::kLiteral && view.datatype == datatype;
        if (!fail(v, [&] {
              return illFormed ? "not a well-formed " + shapesText(c.term)
                               : "not of datatype " + shapesText(c.term);
            }))
          return false;
      }
      break;
    }
    case Component::kNodeKind:
      for (const TermId v : values) {
        const TermKind kind = View(v).kind;
        const uint8_t bit = kind == TermKind::kIri     ? kKindIri
                            : kind == TermKind::kBlank ? kKindBlank
                                                       : kKindLiteral;
        if ((c.nodeKinds & bit) == 0 &&
            !fail(v, [&] { return "not of node kind " + shapesText(c.term); }))
          return false;
      }
      break;
    case Component::kMinCount:
      if (values.size() < c.count)
        fail(kNoTerm, [&] { return "fewer than " + count(c.count) + " values"; });
      break;
    case Component::kMaxCount:
      if (values.size() > c.count)
        fail(kNoTerm, [&] { return "more than " + count(c.count) + " values"; });
      break;
    case Component::kMinExclusive:
    case Component::kMinInclusive:
    case Component::kMaxExclusive:
    case Component::kMaxInclusive: {
      const TermView bound = shapes_.Term(c.term);
      static constexpr std::array<std::string_view, 4> kWords{"not greater than ", "less than ",
                                                              "not less than ", "greater than "};
      const auto which = static_cast<std::size_t>(c.component) -
                         static_cast<std::size_t>(Component::kMinExclusive);
      for (const TermId v : values) {
        const Order order = Compare(View(v), bound);
        bool holds = false;
        switch (c.component) {
          case Component::kMinExclusive:
            holds = order == Order::kGreater;
            break;
          case Component::kMinInclusive:
            holds = order == Order::kGreater || order == Order::kEqual;
            break;
          case Component::kMaxExclusive:
            holds = order == Order::kLess;
            break;
          default:
            holds = order == Order::kLess || order == Order::kEqual;
            break;
        }
        if (!holds && !fail(v, [&] {
              return order == Order::kNone ? "not comparable with " + TermText(bound)
                                           : std::string(kWords[which]) + TermText(bound);
            }))
          return false;
      }
      break;
    }
    case Component::kMinLength:
    case Component::kMaxLength:
      for (const TermId v : values) {
        const TermView view = View(v);
        const bool blank = view.kind == TermKind::kBlank;
        const std::size_t length = blank ? 0 : CodePointCount(view.text);
        const bool tooShort = c.component == Component::kMinLength && length < c.count;
        const bool tooLong = c.component == Component::kMaxLength && length > c.count;
        if ((blank || tooShort || tooLong) && !fail(v, [&] {
              if (blank) return std::string("a blank node has no string to measure");
              return (tooShort ? "shorter than " : "longer than ") + count(c.count) + " characters";
            }))
          return false;
      }
      break;
    case Component::kPattern:
      for (const TermId v : values) {
        const TermView view = View(v);
        const PatternMatch match =
            view.kind == TermKind::kBlank ? PatternMatch::kNoMatch : c.pattern->Matches(view.text);
        if (match != PatternMatch::kMatch && !fail(v, [&] {
              return (match == PatternMatch::kLimit
                          ? "could not be matched within the matching limits: pattern "
                          : "does not match the pattern ") +
                     shapesText(c.term);
            }))
          return false;
      }
      break;
    case Component::kLanguageIn:
      for (const TermId v : values) {
        const TermView view = View(v);
        const bool matches = view.kind == TermKind::kLiteral &&
                             std::any_of(c.terms.begin(), c.terms.end(), [&](TermId range) {
                               return LanguageMatches(view.language, shapes_.Term(range).text);
                             });
        if (!matches &&
            !fail(v, [&] { return std::string("language tag not among sh:languageIn"); }))
          return false;
      }
      break;
    case Component::kUniqueLang: {
      std::vector<std::string> tags;
      for (const TermId v : values) {
        const TermView view = View(v);
        if (view.kind != TermKind::kLiteral || view.language.empty()) continue;
        std::string tag(view.language);
        std::transform(tag.begin(), tag.end(), tag.begin(), [](char ch) {
          return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch;
        });
        tags.push_back(std::move(tag));
      }
      std::sort(tags.begin(), tags.end());
      for (std::size_t i = 1; i < tags.size(); ++i) {
        if (tags[i] != tags[i - 1] || (i >= 2 && tags[i] == tags[i - 2])) continue;
        if (!fail(kNoTerm, [&] { return "language tag \"" + tags[i] + "\" used more than once"; }))
          return false;
      }
      break;
    }
    case Component::kEquals:
    case Component::kDisjoint:
    case Component::kLessThan:
    case Component::kLessThanOrEquals: {
      const TripleRange others = Objects(focus, Data(c.term));
      const std::string other = shapesText(c.term);
      if (c.component == Component::kEquals || c.component == Component::kDisjoint) {
        for (const TermId v : values) {
          const bool shared = HasObject(others, v);
          const bool bad = c.component == Component::kEquals ? !shared : shared;
          if (bad && !fail(v, [&] {
                return (c.component == Component::kEquals ? "not among the values of "
                                                          : "also a value of ") +
                       other;
              }))
            return false;
        }
        if (c.component == Component::kDisjoint) break;
        for (const Triple& t : others)
          if (!Contains(values, t.object) &&
              !fail(t.object, [&] { return "a value of " + other + " that the path lacks"; }))
            return false;
        break;
      }
      const bool orEquals = c.component == Component::kLessThanOrEquals;
      for (const TermId v : values) {
        for (const Triple& t : others) {
          const Order order = Compare(View(v), View(t.object));
          if ((order == Order::kLess || (orEquals && order == Order::kEqual))) continue;
          if (!fail(v, [&] {
                return (orEquals ? "not less than or equal to " : "not less than ") +
                       TermText(View(t.object)) + ", a value of " + other;
              }))
            return false;
        }
      }
      break;
    }
    case Component::kNot:
      for (const TermId v : values)
        if (Conforms(c.shapes[0], v, depth + 1) &&
            !fail(v, [&] { return "conforms to " + shapesText(set_.shapes[c.shapes[0]].node); }))
          return false;
      break;
    case Component::kAnd:
    case Component::kOr:
    case Component::kXone:
      for (const TermId v : values) {
        std::size_t conforming = 0;
        std::size_t checked = 0;
        for (const ShapeIndex member : c.shapes) {
          ++checked;
          if (Conforms(member, v, depth + 1)) ++conforming;
          // Decided early: and fails at the first miss, or holds at the
          // first hit, xone fails at the second hit.
          if (c.component == Component::kAnd && conforming < checked) break;
          if (c.component == Component::kOr && conforming > 0) break;
          if (c.component == Component::kXone && conforming > 1) break;
        }
        const bool holds = c.component == Component::kAnd  ? conforming == c.shapes.size()
                           : c.component == Component::kOr ? conforming > 0
                                                           : conforming == 1;
        if (!holds && !fail(v, [&] {
              return std::string(c.component == Component::kAnd
                                     ? "does not conform to every shape of sh:and"
                                 : c.component == Component::kOr
                                     ? "conforms to no shape of sh:or"
                                     : "does not conform to exactly one shape of sh:xone");
            }))
          return false;
      }
      break;
    case Component::kNode:
      for (const TermId v : values)
        if (!Conforms(c.shapes[0], v, depth + 1) && !fail(v, [&] {
              return "does not conform to " + shapesText(set_.shapes[c.shapes[0]].node);
            }))
          return false;
      break;
    case Component::kProperty:
      for (const TermId v : values) {
        if (report ? Check(c.shapes[0], v, true, depth + 1) : Conforms(c.shapes[0], v, depth + 1))
          continue;
        ok = false;
        if (!report) return false;
      }
      break;
    case Component::kQualifiedMinCount:
    case Component::kQualifiedMaxCount: {
      uint64_t conforming = 0;
      for (const TermId v : values) {
        if (!Conforms(c.shapes[0], v, depth + 1)) continue;
        bool inSibling = false;
        for (std::size_t i = 1; i < c.shapes.size() && !inSibling; ++i)
          inSibling = Conforms(c.shapes[i], v, depth + 1);
        if (!inSibling) ++conforming;
      }
      if (c.component == Component::kQualifiedMinCount && conforming < c.count)
        fail(kNoTerm, [&] {
          return "fewer than " + count(c.count) + " values conform to " +
                 shapesText(set_.shapes[c.shapes[0]].node);
        });
      if (c.component == Component::kQualifiedMaxCount && conforming > c.count)
        fail(kNoTerm, [&] {
          return "more than " + count(c.count) + " values conform to " +
                 shapesText(set_.shapes[c.shapes[0]].node);
        });
      break;
    }
    case Component::kClosed: {
      const std::vector<TermId>& allowed = Bound(c);
      for (const TermId v : values) {
        if (v >= dataCount_) continue;
        for (const Triple& t : data_.About(v)) {
          if (Contains(allowed, t.predicate)) continue;
          ok = false;
          if (!report) return false;
          auto path = std::make_shared<ReportPath>();
          path->iri = std::string(data_.Term(t.predicate).text);
          Emit(shape, c.component, focus, t.object,
               "the shape is closed; " + TermText(data_.Term(t.predicate)) + " is not allowed",
               std::move(path));
        }
      }
      break;
    }
    case Component::kHasValue: {
      const TermId wanted = Data(c.term);
      if (!Contains(values, wanted))
        fail(kNoTerm, [&] { return "missing the value " + shapesText(c.term); });
      break;
    }
    case Component::kIn: {
      const std::vector<TermId>& members = Bound(c);
      for (const TermId v : values)
        if (!Contains(members, v) &&
            !fail(v, [&] { return std::string("not among the values of sh:in"); }))
          return false;
      break;
    }
  }
  return ok;
}

ValidationReport Validation::Run() {
  std::vector<TermId> focusNodes;
  for (ShapeIndex i = 0; i < set_.shapes.size(); ++i) {
    const Shape& shape = set_.shapes[i];
    if (shape.deactivated || shape.targets.empty()) continue;
    FocusNodes(shape, focusNodes);
    for (const TermId focus : focusNodes) Check(i, focus, true, 0);
  }
  return std::move(report_);
}

}  // namespace

ValidationReport Validate(const Graph& data, const Shapes& shapes) {
  Validation validation(data, shapes.Set());
  return validation.Run();
}

}  // namespace Shacl
}  // namespace Ontology
}  // namespace QAX
