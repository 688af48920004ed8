// Validate: focus nodes from targets, value nodes from paths, and each
// constraint checked on them by its component's check function (kComponents).
#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/qax/shacl/ComponentChecks.h"
#include "host/qax/shacl/Components.h"
#include "host/qax/shacl/ShapeSet.h"
#include "host/qax/shacl/Validation.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::shacl {
namespace {

constexpr std::string_view kViolation = QAX_SHACL_NS "Violation";
constexpr std::string_view kXsdString = QAX_XSD_NS "string";

void SortUnique(std::vector<TermId>& nodes) {
  std::sort(nodes.begin(), nodes.end());
  nodes.erase(std::unique(nodes.begin(), nodes.end()), nodes.end());
}

// a + b and a x b, held at UINT64_MAX.
uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }
uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
  return a != 0 && b > UINT64_MAX / a ? UINT64_MAX : a * b;
}

// Components whose answer depends on the values alone, not on the focus
// node: checked once on a set of values that focus nodes share. The
// property pairs read the focus node's other values; sh:property reports
// at the values with the shapes' own results.
bool DependsOnValuesOnly(Component component) {
  switch (component) {
    case Component::kEquals:
    case Component::kDisjoint:
    case Component::kLessThan:
    case Component::kLessThanOrEquals:
    case Component::kProperty:
      return false;
    default:
      return true;
  }
}

}  // namespace

Validation::Validation(const Graph& data, const ShapeSet& set)
    : data_(data),
      shapes_(set.ShapesGraph()),
      set_(set),
      sameGraph_(&data == &set.ShapesGraph()),
      dataCount_(static_cast<TermId>(data.TermCount())),
      rdfType_(data.FindIri(QAX_RDF_NS "type")),
      subClassOf_(data.FindIri(QAX_RDFS_NS "subClassOf")),
      mapped_(sameGraph_ ? 0 : set.ShapesGraph().TermCount(), kNoTerm),
      buffers_(kMaxShapeDepth + 2),
      budget_(Budget(data, set)) {}

uint64_t Validation::Budget(const Graph& data, const ShapeSet& set) {
  uint64_t shapeUnits = 0;
  for (const Shape& shape : set.shapes) shapeUnits += 1 + shape.constraints.size();
  uint64_t dataUnits = data.TripleCount() + data.TermCount();
  for (TermId term = 0; term < data.TermCount(); ++term) {
    const TermView view = data.Term(term);
    if (view.kind == TermKind::kLiteral) dataUnits += view.text.size();
  }
  return SaturatingAdd(
      kValidationWorkBase,
      SaturatingMultiply(kValidationWorkPerUnit, SaturatingMultiply(shapeUnits, dataUnits)));
}

bool Validation::Stop() {
  if (stopped_) return false;
  stopped_ = true;
  report_.conforms = false;
  report_.stopped = "validation stopped after " + std::to_string(budget_) +
                    " units of work, the most that shapes and data of this size may take (" +
                    std::to_string(kValidationWorkBase) + " plus " +
                    std::to_string(kValidationWorkPerUnit) +
                    " per shape or constraint per statement, term or literal byte); "
                    "the results found before are kept";
  return false;
}

uint64_t Validation::PatternBudget(std::size_t bytes) const {
  const uint64_t left = work_ < budget_ ? budget_ - work_ : 0;
  return std::min(PatternStepBudget(bytes), left);
}

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
      if (Charge(1) && seen.insert(sub.subject).second) classes.push_back(sub.subject);
  std::sort(classes.begin(), classes.end());
  return subClasses_.emplace(cls, std::move(classes)).first->second;
}

bool Validation::IsInstance(TermId node, TermId cls) {
  const TripleRange types = Objects(node, rdfType_);
  if (types.empty() || !Charge(types.size())) return false;
  const std::vector<TermId>& classes = SubClasses(cls);
  for (const Triple& type : types)
    if (Contains(classes, type.object)) return true;
  return false;
}

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
  Charge(1 + out.size());
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
        const TripleRange step = inverse ? Subjects(predicate, node) : Objects(node, predicate);
        if (!Charge(1 + step.size())) return;
        for (const Triple& t : step) out.push_back(inverse ? t.subject : t.object);
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
        if (!Charge(next.size())) return;
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
    case ReportPath::Kind::kOneOrMore:
      if (path.kind == ReportPath::Kind::kZeroOrMore)
        out.insert(out.end(), from.begin(), from.end());
      for (const TermId node : from) {
        const std::vector<TermId>& reached = Reach(path, inverse, node);
        if (!Charge(1 + reached.size())) return;
        out.insert(out.end(), reached.begin(), reached.end());
      }
      return;
  }
}

const std::vector<TermId>& Validation::Reach(const ShapePath& path, bool inverse, TermId node) {
  PathClosure& closure = closures_[{&path, inverse}];
  return closure.Reach(
      node,
      [&](TermId from, std::vector<TermId>& out) {
        Walk(path.steps[0], inverse, std::vector<TermId>{from}, out);
      },
      [this](uint64_t units) { return Charge(units); });
}

const std::vector<TermId>& Validation::ClosureValues(const ShapePath& path, bool inverse,
                                                     TermId focus, std::vector<TermId>& buffer,
                                                     bool* shared) {
  const std::vector<TermId>& reached = Reach(path, inverse, focus);
  // A focus node on a cycle reaches itself: its `*` values are its `+` ones.
  if (path.kind == ReportPath::Kind::kOneOrMore || Contains(reached, focus)) {
    *shared = true;
    return reached;
  }
  *shared = false;
  Charge(1 + reached.size());
  buffer.assign(reached.begin(), reached.end());
  buffer.insert(std::lower_bound(buffer.begin(), buffer.end(), focus), focus);
  return buffer;
}

bool Validation::CheckShared(const Shape& shape, const Constraint& c, TermId focus,
                             const std::vector<TermId>& values, bool report, std::size_t depth) {
  const std::pair<const Constraint*, const void*> key{&c, &values};
  auto answer = sharedAnswers_.find(key);
  if (answer == sharedAnswers_.end()) {
    if (!Charge(1 + values.size())) return true;
    SharedAnswer found;
    ConstraintCheck check(*this, shape, c, focus, values, true, depth, &found.failures);
    found.holds = RowOf(c.component).check(check);
    if (stopped_) return true;
    answer = sharedAnswers_.emplace(key, std::move(found)).first;
  }
  if (!Charge(1)) return true;
  const SharedAnswer& known = answer->second;
  if (!report || known.holds) return known.holds;
  for (const RecordedFailure& failure : known.failures) {
    if (!Charge(1)) break;
    Emit(shape, c.component, focus, failure.value, failure.message, failure.path);
  }
  return false;
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

bool Validation::Check(ShapeIndex index, TermId focus, bool report, std::size_t depth) {
  const Shape& shape = set_.shapes[index];
  if (shape.deactivated || stopped_) return true;
  const uint64_t key = (static_cast<uint64_t>(index) << 32U) | focus;
  // Answers are kept only for shared shapes and under shared values (below).
  if (report && (shape.shared || sharedLevels_ > 0)) {
    const auto reported = reported_.find(key);
    if (reported != reported_.end()) return reported->second;
  }
  // A `*` or `+` path, under any number of inversions.
  const ShapePath* closure = &shape.path;
  bool inverse = false;
  while (closure->kind == ReportPath::Kind::kInverse) {
    closure = &closure->steps[0];
    inverse = !inverse;
  }
  const bool unbounded = closure->kind == ReportPath::Kind::kZeroOrMore ||
                         closure->kind == ReportPath::Kind::kOneOrMore;
  std::vector<TermId>& buffer = buffers_[depth];
  buffer.clear();
  const std::vector<TermId>* values = &buffer;
  bool shared = false;
  if (!shape.isProperty) {
    buffer.push_back(focus);
  } else if (shape.path.kind == ReportPath::Kind::kPredicate) {
    // The graph's statements are sorted by object and distinct already.
    const TripleRange objects = Objects(focus, Data(shape.path.predicate));
    for (const Triple& t : objects) buffer.push_back(t.object);
  } else if (unbounded) {
    values = &ClosureValues(*closure, inverse, focus, buffer, &shared);
  } else {
    Walk(shape.path, false, std::vector<TermId>{focus}, buffer);
    SortUnique(buffer);
  }
  // The values found, and each looked at by each constraint: charged at
  // once (a closure's constraints charge their own, once for all).
  if (!shared && !Charge(values->size() + shape.constraints.size() * (1 + values->size())))
    return true;
  bool conforms = true;
  for (const Constraint& c : shape.constraints) {
    bool holds = true;
    if (shared && DependsOnValuesOnly(c.component)) {
      holds = CheckShared(shape, c, focus, *values, report, depth);
    } else if (shared && c.component == Component::kProperty &&
               sharedAnswers_.count({&c, values}) != 0) {
      // Every value conformed to the property shape for an earlier focus
      // node: nothing to report again.
      if (!Charge(1)) return true;
    } else {
      ConstraintCheck check(*this, shape, c, focus, *values, report, depth);
      sharedLevels_ += shared ? 1 : 0;
      holds = RowOf(c.component).check(check);
      sharedLevels_ -= shared ? 1 : 0;
      if (shared && holds && c.component == Component::kProperty && !stopped_)
        sharedAnswers_.emplace(std::make_pair(&c, static_cast<const void*>(values)),
                               SharedAnswer{});
    }
    if (stopped_) return true;
    if (holds) continue;
    conforms = false;
    if (!report) break;
  }
  // A shared shape's answer is kept so that its results are not repeated;
  // a shape that conformed at a value of a closure that focus nodes share
  // (sh:property over it) has nothing to repeat, and is not checked again
  // at that node for the next focus node.
  if (report && (shape.shared || (conforms && sharedLevels_ > 0))) reported_.emplace(key, conforms);
  return conforms;
}

void Validation::Emit(const Shape& shape, Component component, TermId focus, TermId value,
                      const std::string& message, std::shared_ptr<const ReportPath> path) {
  report_.conforms = false;
  if (report_.results.size() >= kMaxReportResults) {
    ++report_.resultsLeftOut;
    return;
  }
  // The result holds numbers of what the report holds once.
  ResultRecord record;
  record.shape = CopyShape(shape);
  record.component = CopyIri(RowOf(component).iri);
  record.focus = Copy(focus);
  if (value != kNoTerm) record.value = Copy(value);
  if (path) {
    record.path = CopyPath(std::move(path));
  } else if (shape.reportPath) {
    record.path = CopyPath(shape.reportPath);
  }
  if (shape.messages.empty()) record.message = CopyMessage(message);
  report_.results.AddRecord(record);
}

ValidationResults::Index Validation::Copy(TermId node) {
  const auto [slot, added] = copied_.terms.emplace(node, ValidationResults::kNone);
  if (added) {
    const TermView view = View(node);
    slot->second =
        report_.results.AddTerm({view.kind, std::string(view.text), std::string(view.datatype),
                                 std::string(view.language)});
  }
  return slot->second;
}

ValidationResults::Index Validation::CopyIri(std::string_view iri) {
  const auto known = copied_.iris.find(iri);
  if (known != copied_.iris.end()) return known->second;
  const ValidationResults::Index index = report_.results.AddIri(std::string(iri));
  copied_.iris.emplace(report_.results.iris_[index], index);
  return index;
}

ValidationResults::Index Validation::CopyMessage(const std::string& message) {
  const auto known = copied_.messages.find(message);
  if (known != copied_.messages.end()) return known->second;
  const ValidationResults::Index index =
      report_.results.AddTerm({TermKind::kLiteral, message, std::string(kXsdString), {}});
  copied_.messages.emplace(report_.results.terms_[index].text, index);
  return index;
}

ValidationResults::Index Validation::CopyPath(std::shared_ptr<const ReportPath> path) {
  const auto known = copied_.paths.find(path.get());
  if (known != copied_.paths.end()) return known->second;
  // A check makes a new path of one predicate per result (sh:closed): one
  // per predicate is kept.
  const bool predicate = path->kind == ReportPath::Kind::kPredicate && path->steps.empty();
  if (predicate) {
    const auto same = copied_.predicates.find(path->iri);
    if (same != copied_.predicates.end()) return same->second;
  }
  const ReportPath* const address = path.get();
  const ValidationResults::Index index = report_.results.AddPath(std::move(path));
  if (predicate) {
    copied_.predicates.emplace(address->iri, index);
  } else {
    copied_.paths.emplace(address, index);
  }
  return index;
}

ValidationResults::Index Validation::CopyShape(const Shape& shape) {
  const auto [slot, added] = copied_.shapes.emplace(&shape, ValidationResults::kNone);
  if (!added) return slot->second;
  ValidationResults::ShapeTexts texts;
  texts.node = Copy(ShapesNode(shape.node));
  texts.severity =
      CopyIri(shape.severity == kNoTerm ? kViolation : shapes_.Term(shape.severity).text);
  for (const TermId m : shape.messages) texts.messages.push_back(Copy(ShapesNode(m)));
  slot->second = report_.results.AddShape(std::move(texts));
  return slot->second;
}

ValidationReport Validation::Run() {
  std::vector<TermId> focusNodes;
  for (ShapeIndex i = 0; i < set_.shapes.size(); ++i) {
    const Shape& shape = set_.shapes[i];
    if (shape.deactivated || shape.targets.empty()) continue;
    FocusNodes(shape, focusNodes);
    for (const TermId focus : focusNodes) {
      if (stopped_) break;
      Check(i, focus, true, 0);
    }
  }
  report_.work = work_;
  return std::move(report_);
}

uint64_t ValidationWorkBudget(const Graph& data, const Shapes& shapes) {
  return Validation::Budget(data, shapes.Set());
}

ValidationReport Validate(const Graph& data, const Shapes& shapes) {
  Validation validation(data, shapes.Set());
  return validation.Run();
}

}  // namespace qaxoi::shacl
