// Shapes::Read: which nodes of a shapes graph are shapes, and each shape's
// targets, path and constraints, checked against SHACL's syntax rules.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/qax/shacl/Components.h"
#include "host/qax/shacl/ShapeSet.h"
#include "host/qax/shacl/TermText.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::shacl {
namespace {

constexpr std::string_view kXsdInteger = QAX_XSD_NS "integer";
constexpr std::string_view kXsdBoolean = QAX_XSD_NS "boolean";
constexpr std::string_view kXsdString = QAX_XSD_NS "string";
constexpr std::string_view kLangString = QAX_RDF_NS "langString";

// What reading a shape's constraints needs of the shape. Naming a new shape
// may move the shape vector, so no reference into it is kept meanwhile.
struct ShapeFacts {
  TermId node = kNoTerm;
  bool isProperty = false;
};

// Rows of kComponents next to each other that are read the same way.
struct RowRun {
  const ComponentRow* first = nullptr;
  const ComponentRow* last = nullptr;
  const ComponentRow* begin() const { return first; }
  const ComponentRow* end() const { return last; }
};

class Reader {
 public:
  Reader(const Graph& graph, ShapeSet& set) : g_(graph), t_(set.Terms()), set_(set) {}

  bool Run();
  // Why Run failed: the shapes graph's fault, or a bound it goes beyond.
  qaxoi::Status Failure() const {
    return qaxoi::Status::WithCode(
        beyondBound_ ? qaxoi::Status::Code::kResourceExhausted : qaxoi::Status::Code::kInvalidInput,
        error_);
  }

 private:
  bool Fail(TermId shape, const std::string& what) {
    error_ = "shape " + Name(shape) + ": " + what;
    return false;
  }
  bool FailBound(TermId shape, const std::string& what) {
    beyondBound_ = true;
    return Fail(shape, what);
  }
  std::string Name(TermId term) const { return ShapesTermText(g_.Term(term)); }
  TermKind Kind(TermId term) const { return g_.Term(term).kind; }
  bool IsString(TermId term) const {
    const TermView view = g_.Term(term);
    return view.kind == TermKind::kLiteral && view.datatype == kXsdString;
  }
  TripleRange Values(TermId subject, TermId predicate) const {
    return predicate == kNoTerm ? TripleRange{} : g_.Objects(subject, predicate);
  }

  bool IsInstance(TermId node, TermId cls) const;
  void Seed();
  bool Ref(TermId from, TermId predicate, TermId node, ShapeIndex& index);
  bool AtMostOne(TermId shape, TermId predicate, TermId& value);
  bool ReadList(TermId shape, TermId predicate, TermId head, std::vector<TermId>& members);
  bool ReadPath(TermId shape, TermId node, std::size_t depth, ShapePath& path, ReportPath& report);
  bool ReadBoolean(TermId shape, TermId predicate, bool& value, bool& present);
  bool ReadCount(TermId shape, TermId predicate, uint64_t& value, bool& present);
  bool ReadShape(ShapeIndex index);
  bool ReadTargets(Shape& shape);
  bool Allowed(const ShapeFacts& shape, const ComponentRow& row, TermId predicate);
  bool ReadConstraints(ShapeIndex index);
  bool ReadRun(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadEach(const ShapeFacts& shape, RowRun rows, bool irisOnly, std::vector<Constraint>& out);
  bool ReadDatatype(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadNodeKind(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadCounts(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadLiterals(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadPatterns(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadLists(const ShapeFacts& shape, RowRun rows, bool stringsOnly,
                 std::vector<Constraint>& out);
  bool ReadTrue(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadClosed(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadShapes(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadShapeLists(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool ReadQualified(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out);
  bool Finish();
  bool CheckReferences();

  const Graph& g_;
  const ShaclTerms& t_;
  ShapeSet& set_;
  std::unordered_map<TermId, ShapeIndex> index_;
  std::string error_;
  bool beyondBound_ = false;
  std::size_t pathSteps_ = 0;
};

// The object of the first statement of `range`; kNoTerm when it is empty.
TermId FirstObject(const TripleRange& range) {
  for (const Triple& triple : range) return triple.object;
  return kNoTerm;
}

std::string ParamName(const Graph& g, TermId predicate) { return TermText(g.Term(predicate)); }

// Whether `node` is a SHACL instance of `cls` in the shapes graph: typed
// with it or with one of its subclasses.
bool Reader::IsInstance(TermId node, TermId cls) const {
  if (cls == kNoTerm || t_.rdfType == kNoTerm) return false;
  std::vector<TermId> pending{cls};
  std::unordered_set<TermId> seen{cls};
  while (!pending.empty()) {
    const TermId c = pending.back();
    pending.pop_back();
    if (g_.Has(node, t_.rdfType, c)) return true;
    if (t_.subClassOf == kNoTerm) continue;
    for (const Triple& sub : g_.Subjects(t_.subClassOf, c))
      if (seen.insert(sub.subject).second) pending.push_back(sub.subject);
  }
  return false;
}

// The shapes that need no other shape to name them: instances of
// sh:NodeShape and sh:PropertyShape, subjects of targets and of constraint
// parameters, in term order.
void Reader::Seed() {
  std::vector<TermId> seeds;
  for (const TermId cls : {t_.nodeShape, t_.propertyShape}) {
    if (cls == kNoTerm || t_.rdfType == kNoTerm) continue;
    std::vector<TermId> classes{cls};
    std::unordered_set<TermId> seen{cls};
    for (std::size_t i = 0; i < classes.size(); ++i) {
      for (const Triple& typed : g_.Subjects(t_.rdfType, classes[i]))
        seeds.push_back(typed.subject);
      if (t_.subClassOf == kNoTerm) continue;
      for (const Triple& sub : g_.Subjects(t_.subClassOf, classes[i]))
        if (seen.insert(sub.subject).second) classes.push_back(sub.subject);
    }
  }
  // Subjects of targets and of the parameters that state a constraint; a
  // predicate listed twice (a parameter two components need) only adds
  // seeds that are dropped as repeats below.
  std::vector<TermId> predicates{t_.targetClass, t_.targetNode, t_.targetSubjectsOf,
                                 t_.targetObjectsOf};
  for (const ComponentRow& row : kComponents) {
    predicates.push_back(t_.*row.parameter);
    if (row.needed != nullptr) predicates.push_back(t_.*row.needed);
  }
  for (const TermId predicate : predicates) {
    if (predicate == kNoTerm) continue;
    for (const Triple& triple : g_.WithPredicate(predicate)) seeds.push_back(triple.subject);
  }
  std::sort(seeds.begin(), seeds.end());
  seeds.erase(std::unique(seeds.begin(), seeds.end()), seeds.end());
  for (const TermId seed : seeds) {
    if (index_.size() >= kMaxShapes) return;  // Run reports the overflow
    index_.emplace(seed, static_cast<ShapeIndex>(set_.shapes.size()));
    set_.shapes.emplace_back().node = seed;
  }
}

// The index of the shape `node` that `from` names with `predicate`, adding
// it when new.
bool Reader::Ref(TermId from, TermId predicate, TermId node, ShapeIndex& index) {
  if (Kind(node) == TermKind::kLiteral)
    return Fail(from, ParamName(g_, predicate) + " names the literal " + Name(node) +
                          ", which cannot be a shape");
  const auto found = index_.find(node);
  if (found != index_.end()) {
    index = found->second;
    return true;
  }
  if (set_.shapes.size() >= kMaxShapes)
    return FailBound(from, "more than " + std::to_string(kMaxShapes) + " shapes");
  index = static_cast<ShapeIndex>(set_.shapes.size());
  index_.emplace(node, index);
  set_.shapes.emplace_back().node = node;
  return true;
}

bool Reader::AtMostOne(TermId shape, TermId predicate, TermId& value) {
  const TripleRange values = Values(shape, predicate);
  value = FirstObject(values);
  if (values.size() <= 1) return true;
  return Fail(shape, ParamName(g_, predicate) + " has " + std::to_string(values.size()) +
                         " values; it may have one");
}

// The members of the SHACL list at `head`: rdf:nil, or a node with one
// rdf:first and one rdf:rest that is again a list, with no cycle.
bool Reader::ReadList(TermId shape, TermId predicate, TermId head, std::vector<TermId>& members) {
  const std::string what = "the list of " + ParamName(g_, predicate) + " ";
  std::unordered_set<TermId> seen;
  for (TermId node = head; node != t_.rdfNil;) {
    if (Kind(node) == TermKind::kLiteral)
      return Fail(shape, what + "is not an RDF list: " + Name(node) + " is a literal");
    if (!seen.insert(node).second) return Fail(shape, what + "is cyclic");
    if (members.size() >= kMaxListLength)
      return FailBound(shape,
                       what + "has more than " + std::to_string(kMaxListLength) + " members");
    const TripleRange first = Values(node, t_.rdfFirst);
    const TripleRange rest = Values(node, t_.rdfRest);
    if (first.size() != 1 || rest.size() != 1)
      return Fail(shape, what + "is not a well-formed RDF list: " + Name(node) + " has " +
                             std::to_string(first.size()) + " rdf:first and " +
                             std::to_string(rest.size()) + " rdf:rest");
    members.push_back(FirstObject(first));
    node = FirstObject(rest);
  }
  return true;
}

bool Reader::ReadPath(TermId shape, TermId node, std::size_t depth, ShapePath& path,
                      ReportPath& report) {
  if (++pathSteps_ > kMaxPathSteps + g_.TripleCount())
    return FailBound(shape, "the paths of the shapes graph have more than " +
                                std::to_string(kMaxPathSteps) + " steps beyond its statements");
  if (depth > kMaxPathDepth)
    return Fail(shape, "sh:path is nested deeper than " + std::to_string(kMaxPathDepth) +
                           " levels, or is cyclic");
  const TermKind kind = Kind(node);
  if (kind == TermKind::kLiteral) return Fail(shape, "sh:path " + Name(node) + " is a literal");
  if (node == t_.rdfNil) return Fail(shape, "sh:path is an empty list");
  if (kind == TermKind::kIri ||
      Values(node, t_.rdfFirst).size() + Values(node, t_.rdfRest).size() == 0) {
    if (kind == TermKind::kIri) {
      path.kind = ReportPath::Kind::kPredicate;
      path.predicate = node;
      report.kind = ReportPath::Kind::kPredicate;
      report.iri = std::string(g_.Term(node).text);
      return true;
    }
    // A blank node: one of the five path constructs, with one value.
    std::pair<TermId, ReportPath::Kind> construct{kNoTerm, ReportPath::Kind::kPredicate};
    std::size_t statements = 0;
    for (const auto& [predicate, pathKind] :
         {std::pair{t_.inversePath, ReportPath::Kind::kInverse},
          std::pair{t_.alternativePath, ReportPath::Kind::kAlternative},
          std::pair{t_.zeroOrMorePath, ReportPath::Kind::kZeroOrMore},
          std::pair{t_.oneOrMorePath, ReportPath::Kind::kOneOrMore},
          std::pair{t_.zeroOrOnePath, ReportPath::Kind::kZeroOrOne}}) {
      const std::size_t n = Values(node, predicate).size();
      if (n > 0) construct = {predicate, pathKind};
      statements += n;
    }
    if (statements != 1)
      return Fail(shape, "sh:path node " + Name(node) +
                             " is not a path: it needs exactly one of sh:inversePath, "
                             "sh:alternativePath, sh:zeroOrMorePath, sh:oneOrMorePath, "
                             "sh:zeroOrOnePath, with one value");
    path.kind = report.kind = construct.second;
    const TermId value = FirstObject(Values(node, construct.first));
    if (construct.second != ReportPath::Kind::kAlternative) {
      path.steps.resize(1);
      report.steps.resize(1);
      return ReadPath(shape, value, depth + 1, path.steps[0], report.steps[0]);
    }
    std::vector<TermId> members;
    if (!ReadList(shape, construct.first, value, members)) return false;
    if (members.size() < 2)
      return Fail(shape, "sh:alternativePath needs a list of two or more paths");
    path.steps.resize(members.size());
    report.steps.resize(members.size());
    for (std::size_t i = 0; i < members.size(); ++i)
      if (!ReadPath(shape, members[i], depth + 1, path.steps[i], report.steps[i])) return false;
    return true;
  }
  // A list: a sequence path.
  std::vector<TermId> members;
  if (!ReadList(shape, t_.path, node, members)) return false;
  if (members.size() < 2) return Fail(shape, "a sequence path needs two or more paths");
  path.kind = report.kind = ReportPath::Kind::kSequence;
  path.steps.resize(members.size());
  report.steps.resize(members.size());
  for (std::size_t i = 0; i < members.size(); ++i)
    if (!ReadPath(shape, members[i], depth + 1, path.steps[i], report.steps[i])) return false;
  return true;
}

bool Reader::ReadBoolean(TermId shape, TermId predicate, bool& value, bool& present) {
  TermId term = kNoTerm;
  if (!AtMostOne(shape, predicate, term)) return false;
  present = term != kNoTerm;
  if (!present) return true;
  const TermView view = g_.Term(term);
  if (view.kind != TermKind::kLiteral || view.datatype != kXsdBoolean ||
      !IsWellFormed(XsdType::kBoolean, view.text))
    return Fail(shape,
                ParamName(g_, predicate) + " must be an xsd:boolean literal, not " + Name(term));
  value = view.text == "true" || view.text == "1";
  return true;
}

bool Reader::ReadCount(TermId shape, TermId predicate, uint64_t& value, bool& present) {
  TermId term = kNoTerm;
  if (!AtMostOne(shape, predicate, term)) return false;
  present = term != kNoTerm;
  if (!present) return true;
  const TermView view = g_.Term(term);
  if (view.kind != TermKind::kLiteral || view.datatype != kXsdInteger ||
      !IsWellFormed(XsdType::kNonNegativeInteger, view.text))
    return Fail(shape, ParamName(g_, predicate) +
                           " must be a non-negative xsd:integer literal, not " + Name(term));
  // A count past 64 bits is refused rather than held at the largest: no
  // graph holds that many, but a message would state a wrong bound.
  value = 0;
  for (const char c : view.text) {
    if (c < '0' || c > '9') continue;
    const auto digit = static_cast<uint64_t>(c - '0');
    if (value > (UINT64_MAX - digit) / 10) {
      return Fail(shape, ParamName(g_, predicate) + " " + Name(term) + " is more than " +
                             std::to_string(UINT64_MAX) + ", the largest count read");
    }
    value = value * 10 + digit;
  }
  return true;
}

bool Reader::ReadTargets(Shape& shape) {
  const TermId node = shape.node;
  for (const auto& [predicate, kind] :
       {std::pair{t_.targetClass, TargetKind::kClass}, std::pair{t_.targetNode, TargetKind::kNode},
        std::pair{t_.targetSubjectsOf, TargetKind::kSubjectsOf},
        std::pair{t_.targetObjectsOf, TargetKind::kObjectsOf}}) {
    for (const Triple& triple : Values(node, predicate)) {
      if (kind != TargetKind::kNode && Kind(triple.object) != TermKind::kIri)
        return Fail(node, ParamName(g_, predicate) + " must be an IRI, not " + Name(triple.object));
      shape.targets.push_back({kind, triple.object});
    }
  }
  // Implicit class target: a shape that is also a class.
  if (IsInstance(node, t_.rdfsClass) &&
      (IsInstance(node, t_.nodeShape) || IsInstance(node, t_.propertyShape)))
    shape.targets.push_back({TargetKind::kClass, node});
  return true;
}

// A constraint of the row's component, appended to `out`.
Constraint& Add(std::vector<Constraint>& out, const ComponentRow& row) {
  Constraint& c = out.emplace_back();
  c.component = row.component;
  return c;
}

// Whether `shape` may state the row's component, which it does with
// `predicate`; fails for a node shape where only property shapes may.
bool Reader::Allowed(const ShapeFacts& shape, const ComponentRow& row, TermId predicate) {
  if (!row.propertyShapesOnly || shape.isProperty) return true;
  return Fail(shape.node,
              ParamName(g_, predicate) + " is for property shapes; this shape has no sh:path");
}

// The constraints of the shape at `index`, in the order of kComponents.
bool Reader::ReadConstraints(ShapeIndex index) {
  const ShapeFacts shape{set_.shapes[index].node, set_.shapes[index].isProperty};
  std::vector<Constraint> found;
  const ComponentRow* const end = kComponents.data() + kComponents.size();
  for (const ComponentRow* first = kComponents.data(); first != end;) {
    const ComponentRow* const last =
        std::find_if(first, end, [&](const ComponentRow& row) { return row.read != first->read; });
    if (!ReadRun(shape, {first, last}, found)) return false;
    first = last;
  }
  std::vector<Constraint>& constraints = set_.shapes[index].constraints;
  for (Constraint& c : found) constraints.push_back(std::move(c));
  return true;
}

bool Reader::ReadRun(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  switch (rows.first->read) {
    case ParameterRead::kIris:
      return ReadEach(shape, rows, true, out);
    case ParameterRead::kDatatype:
      return ReadDatatype(shape, rows, out);
    case ParameterRead::kNodeKind:
      return ReadNodeKind(shape, rows, out);
    case ParameterRead::kCount:
      return ReadCounts(shape, rows, out);
    case ParameterRead::kLiteral:
      return ReadLiterals(shape, rows, out);
    case ParameterRead::kPattern:
      return ReadPatterns(shape, rows, out);
    case ParameterRead::kStringList:
      return ReadLists(shape, rows, true, out);
    case ParameterRead::kTrue:
      return ReadTrue(shape, rows, out);
    case ParameterRead::kClosed:
      return ReadClosed(shape, rows, out);
    case ParameterRead::kTerms:
      return ReadEach(shape, rows, false, out);
    case ParameterRead::kList:
      return ReadLists(shape, rows, false, out);
    case ParameterRead::kShape:
      return ReadShapes(shape, rows, out);
    case ParameterRead::kShapeList:
      return ReadShapeLists(shape, rows, out);
    case ParameterRead::kQualified:
      return ReadQualified(shape, rows, out);
  }
  return false;  // not reached: every way of reading is above
}

// Every value a constraint; an IRI when `irisOnly`.
bool Reader::ReadEach(const ShapeFacts& shape, RowRun rows, bool irisOnly,
                      std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    for (const Triple& triple : Values(shape.node, predicate)) {
      if (irisOnly && Kind(triple.object) != TermKind::kIri)
        return Fail(shape.node,
                    ParamName(g_, predicate) + " must be an IRI, not " + Name(triple.object));
      if (!Allowed(shape, row, predicate)) return false;
      Add(out, row).term = triple.object;
    }
  }
  return true;
}

bool Reader::ReadDatatype(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    TermId value = kNoTerm;
    if (!AtMostOne(shape.node, predicate, value)) return false;
    if (value == kNoTerm) continue;
    if (Kind(value) != TermKind::kIri)
      return Fail(shape.node, ParamName(g_, predicate) + " must be an IRI, not " + Name(value));
    if (!Allowed(shape, row, predicate)) return false;
    Constraint& c = Add(out, row);
    c.term = value;
    c.datatype = XsdTypeOf(g_.Term(value).text);
  }
  return true;
}

bool Reader::ReadNodeKind(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    TermId value = kNoTerm;
    if (!AtMostOne(shape.node, predicate, value)) return false;
    if (value == kNoTerm) continue;
    uint8_t kinds = 0;
    if (value == t_.kindIri) kinds = kKindIri;
    if (value == t_.kindBlankNode) kinds = kKindBlank;
    if (value == t_.kindLiteral) kinds = kKindLiteral;
    if (value == t_.kindBlankNodeOrIri) kinds = kKindBlank | kKindIri;
    if (value == t_.kindBlankNodeOrLiteral) kinds = kKindBlank | kKindLiteral;
    if (value == t_.kindIriOrLiteral) kinds = kKindIri | kKindLiteral;
    if (kinds == 0)
      return Fail(shape.node,
                  ParamName(g_, predicate) +
                      " must be one of sh:IRI, sh:BlankNode, sh:Literal, "
                      "sh:BlankNodeOrIRI, sh:BlankNodeOrLiteral, sh:IRIOrLiteral, not " +
                      Name(value));
    if (!Allowed(shape, row, predicate)) return false;
    Constraint& c = Add(out, row);
    c.term = value;
    c.nodeKinds = kinds;
  }
  return true;
}

bool Reader::ReadCounts(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    uint64_t count = 0;
    bool present = false;
    if (!ReadCount(shape.node, predicate, count, present)) return false;
    if (!present) continue;
    if (!Allowed(shape, row, predicate)) return false;
    Add(out, row).count = count;
  }
  return true;
}

bool Reader::ReadLiterals(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    TermId value = kNoTerm;
    if (!AtMostOne(shape.node, predicate, value)) return false;
    if (value == kNoTerm) continue;
    if (Kind(value) != TermKind::kLiteral)
      return Fail(shape.node, ParamName(g_, predicate) + " must be a literal, not " + Name(value));
    if (!Allowed(shape, row, predicate)) return false;
    Add(out, row).term = value;
  }
  return true;
}

// Each value a pattern, compiled with the flags of the optional parameter.
bool Reader::ReadPatterns(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  const TermId node = shape.node;
  for (const ComponentRow& row : rows) {
    const TermId flagsPredicate = t_.*row.optional;
    TermId flags = kNoTerm;
    if (!AtMostOne(node, flagsPredicate, flags)) return false;
    if (flags != kNoTerm && !IsString(flags))
      return Fail(node, ParamName(g_, flagsPredicate) + " must be an xsd:string literal, not " +
                            Name(flags));
    const std::string_view flagText = flags != kNoTerm ? g_.Term(flags).text : std::string_view();
    const TermId predicate = t_.*row.parameter;
    for (const Triple& triple : Values(node, predicate)) {
      if (!IsString(triple.object))
        return Fail(node, ParamName(g_, predicate) + " must be an xsd:string literal, not " +
                              Name(triple.object));
      std::unique_ptr<ShapePattern> compiled;
      const qaxoi::Status status =
          ShapePattern::Compile(g_.Term(triple.object).text, flagText, &compiled);
      if (!status.ok()) return Fail(node, status.message());
      std::shared_ptr<const ShapePattern> pattern = std::move(compiled);
      if (!Allowed(shape, row, predicate)) return false;
      Constraint& c = Add(out, row);
      c.term = triple.object;
      c.pattern = std::move(pattern);
    }
  }
  return true;
}

// At most one value, a list; of xsd:string literals when `stringsOnly`.
bool Reader::ReadLists(const ShapeFacts& shape, RowRun rows, bool stringsOnly,
                       std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    TermId list = kNoTerm;
    if (!AtMostOne(shape.node, predicate, list)) return false;
    if (list == kNoTerm) continue;
    std::vector<TermId> members;
    if (!ReadList(shape.node, predicate, list, members)) return false;
    for (const TermId member : members)
      if (stringsOnly && !IsString(member))
        return Fail(shape.node, ParamName(g_, predicate) + " must list xsd:string literals, not " +
                                    Name(member));
    if (!Allowed(shape, row, predicate)) return false;
    Add(out, row).terms = std::move(members);
  }
  return true;
}

bool Reader::ReadTrue(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    bool value = false;
    bool present = false;
    if (!ReadBoolean(shape.node, predicate, value, present)) return false;
    if (present && !Allowed(shape, row, predicate)) return false;
    if (value) Add(out, row);
  }
  return true;
}

// The boolean, and the ignored predicates of the optional parameter.
bool Reader::ReadClosed(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  const TermId node = shape.node;
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    bool closed = false;
    bool present = false;
    if (!ReadBoolean(node, predicate, closed, present)) return false;
    const TermId ignoredPredicate = t_.*row.optional;
    TermId ignored = kNoTerm;
    if (!AtMostOne(node, ignoredPredicate, ignored)) return false;
    if (present && !Allowed(shape, row, predicate)) return false;
    if (!closed) continue;
    Constraint c;
    c.component = row.component;
    if (ignored != kNoTerm && !ReadList(node, ignoredPredicate, ignored, c.terms)) return false;
    out.push_back(std::move(c));
  }
  return true;
}

bool Reader::ReadShapes(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    for (const Triple& triple : Values(shape.node, predicate)) {
      ShapeIndex named = 0;
      if (!Ref(shape.node, predicate, triple.object, named)) return false;
      if (!Allowed(shape, row, predicate)) return false;
      Add(out, row).shapes.push_back(named);
    }
  }
  return true;
}

bool Reader::ReadShapeLists(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  for (const ComponentRow& row : rows) {
    const TermId predicate = t_.*row.parameter;
    for (const Triple& triple : Values(shape.node, predicate)) {
      std::vector<TermId> members;
      if (!ReadList(shape.node, predicate, triple.object, members)) return false;
      std::vector<ShapeIndex> named(members.size());
      for (std::size_t i = 0; i < members.size(); ++i)
        if (!Ref(shape.node, predicate, members[i], named[i])) return false;
      if (!Allowed(shape, row, predicate)) return false;
      Add(out, row).shapes = std::move(named);
    }
  }
  return true;
}

// The counts of the run's rows, with the shape they count (the needed
// parameter) and whether its siblings are set apart (the optional one).
bool Reader::ReadQualified(const ShapeFacts& shape, RowRun rows, std::vector<Constraint>& out) {
  const TermId node = shape.node;
  const ComponentRow& first = *rows.first;
  const TermId shapePredicate = t_.*first.needed;
  TermId qualified = kNoTerm;
  if (!AtMostOne(node, shapePredicate, qualified)) return false;
  struct Count {
    uint64_t value = 0;
    bool present = false;
  };
  std::vector<Count> counts(static_cast<std::size_t>(rows.last - rows.first));
  bool anyCount = false;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (!ReadCount(node, t_.*rows.first[i].parameter, counts[i].value, counts[i].present))
      return false;
    anyCount = anyCount || counts[i].present;
  }
  bool disjoint = false;
  bool disjointPresent = false;
  if (!ReadBoolean(node, t_.*first.optional, disjoint, disjointPresent)) return false;
  if (qualified == kNoTerm && anyCount)
    return Fail(node,
                "sh:qualifiedMinCount and sh:qualifiedMaxCount need a sh:qualifiedValueShape");
  if (qualified == kNoTerm) return true;
  if (!Allowed(shape, first, shapePredicate)) return false;
  if (!anyCount)
    return Fail(node, "sh:qualifiedValueShape needs sh:qualifiedMinCount or sh:qualifiedMaxCount");
  ShapeIndex target = 0;
  if (!Ref(node, shapePredicate, qualified, target)) return false;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    if (!counts[i].present) continue;
    Constraint& c = Add(out, rows.first[i]);
    c.count = counts[i].value;
    c.disjoint = disjoint;
    c.shapes.push_back(target);
  }
  return true;
}

bool Reader::ReadShape(ShapeIndex index) {
  Shape& shape = set_.shapes[index];
  const TermId node = shape.node;
  TermId path = kNoTerm;
  if (!AtMostOne(node, t_.path, path)) return false;
  shape.isProperty = path != kNoTerm;
  if (shape.isProperty) {
    auto report = std::make_shared<ReportPath>();
    if (!ReadPath(node, path, 1, shape.path, *report)) return false;
    shape.reportPath = std::move(report);
    if (IsInstance(node, t_.nodeShape)) return Fail(node, "a sh:NodeShape cannot have a sh:path");
  } else if (IsInstance(node, t_.propertyShape)) {
    return Fail(node, "a sh:PropertyShape needs a sh:path");
  }
  bool deactivated = false;
  bool present = false;
  if (!ReadBoolean(node, t_.deactivated, deactivated, present)) return false;
  shape.deactivated = deactivated;
  TermId severity = kNoTerm;
  if (!AtMostOne(node, t_.severity, severity)) return false;
  if (severity != kNoTerm && Kind(severity) != TermKind::kIri)
    return Fail(node, "sh:severity must be an IRI, not " + Name(severity));
  shape.severity = severity;
  for (const Triple& triple : Values(node, t_.message)) {
    const TermView view = g_.Term(triple.object);
    if (view.kind != TermKind::kLiteral ||
        (view.datatype != kXsdString && view.datatype != kLangString))
      return Fail(node, "sh:message must be a string literal, not " + Name(triple.object));
    shape.messages.push_back(triple.object);
  }
  if (!ReadTargets(shape)) return false;
  return ReadConstraints(index);
}

// What needs every shape read: sh:property naming property shapes, the
// predicates a closed shape allows, qualified shapes' siblings.
bool Reader::Finish() {
  std::vector<std::size_t> uses(set_.shapes.size(), 0);
  for (Shape& shape : set_.shapes) {
    if (!shape.targets.empty()) ++uses[&shape - set_.shapes.data()];
    for (const Constraint& c : shape.constraints) {
      shape.namesShapes = shape.namesShapes || !c.shapes.empty();
      if (c.component == Component::kProperty) ++uses[c.shapes[0]];
    }
  }
  for (std::size_t i = 0; i < set_.shapes.size(); ++i) set_.shapes[i].shared = uses[i] > 1;
  for (Shape& shape : set_.shapes) {
    std::vector<TermId> allowed;
    std::vector<ShapeIndex> qualifiedShapes;
    for (const Constraint& c : shape.constraints) {
      if (c.component != Component::kProperty) continue;
      const Shape& property = set_.shapes[c.shapes[0]];
      if (!property.isProperty)
        return Fail(shape.node,
                    "sh:property names " + Name(property.node) + ", which has no sh:path");
      if (property.path.kind == ReportPath::Kind::kPredicate)
        allowed.push_back(property.path.predicate);
      for (const Constraint& q : property.constraints)
        if (q.component == Component::kQualifiedMinCount ||
            q.component == Component::kQualifiedMaxCount)
          qualifiedShapes.push_back(q.shapes[0]);
    }
    for (Constraint& c : shape.constraints)
      if (c.component == Component::kClosed)
        c.terms.insert(c.terms.end(), allowed.begin(), allowed.end());
    // Siblings: the qualified value shapes of the other property shapes of
    // every shape that names this one with sh:property.
    for (const Constraint& c : shape.constraints) {
      if (c.component != Component::kProperty) continue;
      for (Constraint& q : set_.shapes[c.shapes[0]].constraints) {
        if ((q.component != Component::kQualifiedMinCount &&
             q.component != Component::kQualifiedMaxCount) ||
            !q.disjoint)
          continue;
        for (const ShapeIndex sibling : qualifiedShapes)
          if (sibling != q.shapes[0] &&
              std::find(q.shapes.begin() + 1, q.shapes.end(), sibling) == q.shapes.end())
            q.shapes.push_back(sibling);
      }
    }
  }
  return CheckReferences();
}

// No shape may reach itself through the shapes it names, and none may nest
// deeper than kMaxShapeDepth: validating recurses once per level.
bool Reader::CheckReferences() {
  enum : uint8_t { kNew, kOpen, kDone };
  std::vector<uint8_t> state(set_.shapes.size(), kNew);
  std::vector<std::size_t> depth(set_.shapes.size(), 0);
  struct Frame {
    ShapeIndex shape;
    std::size_t constraint;
    std::size_t member;
  };
  std::vector<Frame> stack;
  for (ShapeIndex root = 0; root < set_.shapes.size(); ++root) {
    if (state[root] != kNew) continue;
    stack.push_back({root, 0, 0});
    state[root] = kOpen;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const Shape& shape = set_.shapes[frame.shape];
      if (frame.constraint == shape.constraints.size()) {
        state[frame.shape] = kDone;
        const std::size_t d = depth[frame.shape];
        stack.pop_back();
        if (!stack.empty()) {
          std::size_t& parent = depth[stack.back().shape];
          parent = std::max(parent, d + 1);
          if (parent > kMaxShapeDepth)
            return FailBound(
                set_.shapes[root].node,
                "shapes nest deeper than " + std::to_string(kMaxShapeDepth) + " levels");
        }
        continue;
      }
      const Constraint& c = shape.constraints[frame.constraint];
      if (frame.member == c.shapes.size()) {
        ++frame.constraint;
        frame.member = 0;
        continue;
      }
      const ShapeIndex current = frame.shape;
      const ShapeIndex next = c.shapes[frame.member++];
      if (state[next] == kOpen)
        return Fail(set_.shapes[next].node,
                    "refers to itself through the shapes it names (recursive shapes are not "
                    "supported)");
      if (state[next] == kDone) {
        depth[current] = std::max(depth[current], depth[next] + 1);
      } else {
        state[next] = kOpen;
        stack.push_back({next, 0, 0});  // `frame` is not used after this
      }
      if (depth[current] > kMaxShapeDepth || stack.size() > kMaxShapeDepth + 1)
        return Fail(set_.shapes[root].node,
                    "shapes nest deeper than " + std::to_string(kMaxShapeDepth) + " levels");
    }
  }
  return true;
}

bool Reader::Run() {
  Seed();
  if (set_.shapes.size() >= kMaxShapes) {
    error_ = "the shapes graph has more than " + std::to_string(kMaxShapes) + " shapes";
    beyondBound_ = true;
    return false;
  }
  // Shapes named by other shapes are appended while reading.
  for (ShapeIndex i = 0; i < set_.shapes.size(); ++i)
    if (!ReadShape(i)) return false;
  return Finish();
}

}  // namespace

Shapes::Shapes(std::unique_ptr<ShapeSet> set) : set_(std::move(set)) {}
Shapes::~Shapes() = default;

std::size_t Shapes::Count() const { return set_->shapes.size(); }

qaxoi::Status Shapes::Read(const Graph& shapesGraph, std::unique_ptr<Shapes>* shapes) {
  if (!shapesGraph.Sealed()) {
    return qaxoi::Status::InvalidArgument("the shapes graph is not sealed");
  }
  auto set = std::make_unique<ShapeSet>(shapesGraph, ShaclTerms(shapesGraph));
  Reader reader(shapesGraph, *set);
  if (!reader.Run()) return reader.Failure();
  shapes->reset(new Shapes(std::move(set)));
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::shacl
