#include "host/qax/rdf/ClassExpressions.h"

#include <algorithm>
#include <functional>
#include <unordered_set>

#include "host/qax/rdf/NestingDepth.h"

namespace qaxoi::rdf {
namespace {

// The kinds of anonymous class expression that are ignored, in the order
// their warnings are given.
enum class Ignored {
  kIntersection,
  kComplement,
  kOneOf,
  kRestriction,
  kDatatypeRestriction,
  kOther,
  kUnion,
  kUndeclaredProperty,
  kWholeEquivalent,
  kUnreadRestriction,
  kCount
};

// How a warning names `count` expressions of `kind`.
std::string IgnoredName(Ignored kind, std::size_t count) {
  const bool one = count == 1;
  switch (kind) {
    case Ignored::kIntersection:
      return one ? "owl:intersectionOf class expression" : "owl:intersectionOf class expressions";
    case Ignored::kComplement:
      return one ? "owl:complementOf class expression" : "owl:complementOf class expressions";
    case Ignored::kOneOf:
      return one ? "owl:oneOf enumeration" : "owl:oneOf enumerations";
    case Ignored::kRestriction:
      return one ? "owl:Restriction class expression" : "owl:Restriction class expressions";
    case Ignored::kDatatypeRestriction:
      return one ? "owl:onDatatype datatype restriction" : "owl:onDatatype datatype restrictions";
    case Ignored::kUnion:
      return one ? "owl:unionOf class expression" : "owl:unionOf class expressions";
    case Ignored::kUndeclaredProperty:
      return one ? "owl:Restriction on a property the document does not declare"
                 : "owl:Restrictions on properties the document does not declare";
    case Ignored::kWholeEquivalent:
      return one ? "owl:Restriction that a class is equivalent to"
                 : "owl:Restrictions that classes are equivalent to";
    case Ignored::kUnreadRestriction:
      return one ? "owl:Restriction without one named property and a constraint the loader reads"
                 : "owl:Restrictions without one named property and a constraint the loader "
                   "reads";
    case Ignored::kOther:
    case Ignored::kCount:
      break;
  }
  return one ? "anonymous class of no kind the loader reads"
             : "anonymous classes of no kind the loader reads";
}

Ignored KindOf(const BlankFacts& facts) {
  if (facts.unions != 0) return Ignored::kUnion;
  if (facts.Has(BlankFacts::kIntersection)) return Ignored::kIntersection;
  if (facts.Has(BlankFacts::kComplement)) return Ignored::kComplement;
  if (facts.Has(BlankFacts::kOneOf)) return Ignored::kOneOf;
  if (facts.Has(BlankFacts::kRestriction)) return Ignored::kRestriction;
  if (facts.Has(BlankFacts::kDatatypeRestriction)) return Ignored::kDatatypeRestriction;
  return Ignored::kOther;
}

const char* RelationName(RdfStatements::Relation relation) {
  return relation == RdfStatements::Relation::kDomain ? "domain" : "range";
}

// Walks the lists of one class expression: a union's or an intersection's,
// and those of the expressions of the same kind nested in it, calling
// `member(ref, depth)` for each member of a list (which answers false to stop
// the walk). Stops at the first fault, which `problem` then names. Every cell
// walked costs one of the steps shared by the whole document.
class ListWalk {
 public:
  ListWalk(const RdfStatements& statements, std::size_t* stepsLeft, const char* nested)
      : st_(statements), stepsLeft_(stepsLeft), nested_(nested) {}

  template <typename Member>
  bool Walk(NodeRef cell, std::size_t depth, Member&& member) {
    if (depth > kMaxNestingDepth) {
      return Fault(std::string(nested_) + " nest deeper than " + std::to_string(kMaxNestingDepth) +
                   " levels");
    }
    std::vector<BlankId> walked;  // the cells of this list, for cycles
    for (;;) {
      if (cell.kind == NodeRef::Kind::kNil) break;
      if (cell.kind != NodeRef::Kind::kBlank) {
        return Fault("a list that does not end in rdf:nil");
      }
      if (*stepsLeft_ == 0) return Fault("more list cells than the document's size allows");
      --*stepsLeft_;
      if (!onPath_.insert(cell.id).second) return Fault("a cycle of rdf:rest");
      walked.push_back(cell.id);
      const BlankFacts& cellFacts = st_.Blank(cell.id);
      if (cellFacts.firsts != 1) {
        return Fault(cellFacts.firsts == 0 ? "a list cell without rdf:first"
                                           : "a list cell with two rdf:first");
      }
      if (cellFacts.rests != 1) {
        return Fault(cellFacts.rests == 0 ? "a list that never reaches rdf:nil"
                                          : "a list cell with two rdf:rest");
      }
      if (!member(cellFacts.first, depth)) return false;
      cell = cellFacts.rest;
    }
    for (const BlankId id : walked) onPath_.erase(id);
    return true;
  }

  bool Fault(std::string what) {
    problem = std::move(what);
    return false;
  }

  std::string problem;

 private:
  const RdfStatements& st_;
  std::size_t* stepsLeft_;
  const char* nested_;
  std::unordered_set<BlankId> onPath_;
};

// The values of the owl:oneOf list of anonymous node `node` into `values`,
// each charged to the statements' budget; false when the list is malformed
// (`walk.problem` says how) or a member is neither an IRI nor a literal.
bool CollectList(RdfStatements& st, NodeRef list, ListWalk& walk,
                 std::vector<QAX::Ontology::AttrValue>& values) {
  return walk.Walk(list, 0, [&](NodeRef member, std::size_t) {
    QAX::Ontology::AttrValue value;
    if (member.kind == NodeRef::Kind::kIri) {
      value.text = std::string(st.Iri(member.id));
      value.isIri = true;
    } else if (member.kind == NodeRef::Kind::kLiteral) {
      const KeptLiteral& literal = st.Literal(member.id);
      value.text = std::string(literal.text);
      value.datatype = std::string(literal.datatype);
      value.language = std::string(literal.language);
    } else {
      return walk.Fault("a list member that is neither an IRI nor a literal");
    }
    st.Budget().Charge(2 * sizeof(QAX::Ontology::AttrValue) + value.text.size() +
                       value.datatype.size() + value.language.size());
    values.push_back(std::move(value));
    return true;
  });
}

bool CollectEnumeration(RdfStatements& st, BlankId node, ListWalk& walk,
                        std::vector<QAX::Ontology::AttrValue>& values) {
  const ExpressionFacts* facts = st.FindExpression(node);
  if (facts == nullptr || facts->oneOfs != 1) {
    return walk.Fault("a class expression with two owl:oneOf lists");
  }
  return CollectList(st, facts->oneOf, walk, values);
}

// Collects the named classes of one union and of the unions nested in it;
// an anonymous member that is no union is left out and its kind noted in
// `ignored`.
class UnionWalk {
 public:
  UnionWalk(const RdfStatements& statements, std::size_t* stepsLeft)
      : st_(statements), walk_(statements, stepsLeft, "unions") {}

  // False when the union `node` is malformed; `problem` says how.
  bool Collect(BlankId node, std::size_t depth) {
    const BlankFacts& facts = st_.Blank(node);
    if (facts.unions > 1) return walk_.Fault("a class expression with two owl:unionOf lists");
    return walk_.Walk(facts.unionList, depth, [this](NodeRef member, std::size_t at) {
      if (member.kind == NodeRef::Kind::kIri) {
        members.push_back(member.id);
      } else if (member.kind == NodeRef::Kind::kBlank && st_.Blank(member.id).unions != 0) {
        return Collect(member.id, at + 1);
      } else if (member.kind == NodeRef::Kind::kBlank) {
        ignored.push_back(KindOf(st_.Blank(member.id)));
      } else {
        return walk_.Fault("a list member that is no class");
      }
      return true;
    });
  }

  const std::string& problem() const { return walk_.problem; }

  std::vector<TermId> members;
  std::vector<Ignored> ignored;

 private:
  const RdfStatements& st_;
  ListWalk walk_;
};

// The tally of one kind of ignored expression: how many, and the first
// place one was met.
struct Tally {
  std::size_t count = 0;
  TermId example = 0;
  const char* where = "";
};

// Turns the restrictions in classes' rdfs:subClassOf (directly, or in an
// owl:intersectionOf there or in an owl:equivalentClass) into
// statements.restrictions, relates the class to the named classes of those
// intersections as to superclasses, and tallies what gives no attribute.
class ClassUses {
 public:
  ClassUses(RdfStatements& statements, const std::string& sourceName,
            std::vector<std::string>& warnings, std::size_t* stepsLeft)
      : st_(statements), sourceName_(sourceName), warnings_(warnings), stepsLeft_(stepsLeft) {}

  void Run() {
    // An order of the graph: by class IRI, rdfs:subClassOf first; a
    // statement repeated in the document counts once. Uses of one class
    // and kind differ only in their anonymous nodes, whose order (by
    // label) only orders the warnings below, which are sorted.
    std::vector<RdfStatements::ClassUse>& uses = st_.classUses;
    std::sort(uses.begin(), uses.end(),
              [this](const RdfStatements::ClassUse& a, const RdfStatements::ClassUse& b) {
                if (a.cls != b.cls) {
                  const int order = st_.Iri(a.cls).compare(st_.Iri(b.cls));
                  if (order != 0) return order < 0;
                }
                if (a.equivalent != b.equivalent) return b.equivalent;
                return a.node < b.node;
              });
    uses.erase(std::unique(uses.begin(), uses.end(),
                           [](const RdfStatements::ClassUse& a, const RdfStatements::ClassUse& b) {
                             return a.cls == b.cls && a.node == b.node &&
                                    a.equivalent == b.equivalent;
                           }),
               uses.end());
    for (const RdfStatements::ClassUse& use : uses) {
      where_ = use.equivalent ? "owl:equivalentClass" : "rdfs:subClassOf";
      cls_ = use.cls;
      const BlankFacts& facts = st_.Blank(use.node);
      if (facts.unions == 0 && facts.Has(BlankFacts::kIntersection)) {
        Intersection(use.node);
      } else if (use.equivalent && facts.unions == 0 && facts.Has(BlankFacts::kOneOf) &&
                 !facts.Has(BlankFacts::kComplement)) {
        ClassEnumeration(use.node);
      } else if (facts.unions == 0 && facts.Has(BlankFacts::kRestriction)) {
        if (use.equivalent) {
          Note(Ignored::kWholeEquivalent);
        } else {
          Restriction(use.node);
        }
      } else {
        Note(KindOf(facts));
      }
    }
    ClassOneOfs();
    std::sort(malformed_.begin(), malformed_.end());
    for (std::string& warning : malformed_) {
      st_.Budget().Charge(warning.size());
      warnings_.push_back(std::move(warning));
    }
    for (int kind = 0; kind < static_cast<int>(Ignored::kCount); ++kind) {
      const Tally& tally = tallies_[kind];
      if (tally.count == 0) continue;
      warnings_.push_back(sourceName_ + ": ignored " + std::to_string(tally.count) + " " +
                          IgnoredName(static_cast<Ignored>(kind), tally.count) +
                          " in rdfs:subClassOf and owl:equivalentClass (for example in the " +
                          tally.where + " of <" + std::string(st_.Iri(tally.example)) + ">)");
    }
  }

 private:
  void Note(Ignored kind) {
    Tally& tally = tallies_[static_cast<int>(kind)];
    if (tally.count++ == 0) {
      tally.example = cls_;
      tally.where = where_;
    }
  }

  // The restrictions of the intersection `node` and of the intersections
  // nested in it; a malformed one is ignored whole, with a warning.
  void Intersection(BlankId node) {
    std::vector<BlankId> found;
    std::vector<TermId> named;
    std::vector<Ignored> ignored;
    ListWalk walk(st_, stepsLeft_, "intersections");
    const std::function<bool(BlankId, std::size_t)> collect = [&](BlankId at, std::size_t depth) {
      const ExpressionFacts* facts = st_.FindExpression(at);
      if (facts == nullptr || facts->intersections > 1) {
        return walk.Fault("a class expression with two owl:intersectionOf lists");
      }
      return walk.Walk(facts->intersection, depth, [&](NodeRef member, std::size_t level) {
        if (member.kind == NodeRef::Kind::kIri) {
          named.push_back(member.id);
          return true;
        }
        if (member.kind != NodeRef::Kind::kBlank) {
          return walk.Fault("a list member that is no class");
        }
        const BlankFacts& memberFacts = st_.Blank(member.id);
        if (memberFacts.unions == 0 && memberFacts.Has(BlankFacts::kIntersection)) {
          return collect(member.id, level + 1);
        }
        if (memberFacts.unions == 0 && memberFacts.Has(BlankFacts::kRestriction)) {
          found.push_back(member.id);
        } else {
          ignored.push_back(KindOf(memberFacts));
        }
        return true;
      });
    };
    if (!collect(node, 0)) {
      malformed_.push_back(sourceName_ + ": the owl:intersectionOf in the " + where_ + " of <" +
                           std::string(st_.Iri(cls_)) + "> is malformed (" + walk.problem +
                           "); it is ignored");
      return;
    }
    for (const Ignored kind : ignored) Note(kind);
    for (const BlankId restriction : found) Restriction(restriction);
    // A class that is (or is within) an intersection with a named class is
    // a subclass of it: a pizza defined as "a Pizza with three toppings or
    // more" is a Pizza. These superclasses come after those that
    // rdfs:subClassOf names directly.
    for (const TermId member : named) {
      if (member != cls_) st_.Relate(RdfStatements::Relation::kSubClassOf, cls_, member);
    }
  }

  void Restriction(BlankId node) {
    const ExpressionFacts* facts = st_.FindExpression(node);
    if (facts == nullptr || facts->properties != 1 || facts->property.kind != NodeRef::Kind::kIri ||
        facts->constraints == 0) {
      Note(Ignored::kUnreadRestriction);
      return;
    }
    if (!st_.IsProperty(facts->property.id)) {
      Note(Ignored::kUndeclaredProperty);
      return;
    }
    // A named filler, or a datatype restriction's base datatype; anything
    // else leaves the kind to the property's range. An enumeration filler
    // is kept as the restriction's values.
    TermId filler = kNoTerm;
    uint32_t enumeration = RdfStatements::kNoEnumeration;
    if (facts->filler.kind == NodeRef::Kind::kIri) {
      filler = facts->filler.id;
    } else if (facts->filler.kind == NodeRef::Kind::kBlank && !facts->anonymousFillers) {
      const BlankId fillerNode = facts->filler.id;
      const ExpressionFacts* range = st_.FindExpression(fillerNode);
      if (range != nullptr && range->baseDatatype.kind == NodeRef::Kind::kIri) {
        filler = range->baseDatatype.id;
      } else if (st_.Blank(fillerNode).unions == 0 &&
                 st_.Blank(fillerNode).Has(BlankFacts::kOneOf)) {
        enumeration = Enumeration(fillerNode);
      }
    }
    st_.Budget().Charge(2 * sizeof(RdfStatements::Restriction));
    st_.restrictions.push_back(RdfStatements::Restriction{cls_, facts->property.id, filler,
                                                          facts->min, facts->max, enumeration});
  }

  // Keeps the enumeration `node` as the definition of the class cls_.
  void ClassEnumeration(BlankId node) {
    const uint32_t at = Enumeration(node);
    if (at != RdfStatements::kNoEnumeration) st_.enumerations[at].cls = cls_;
  }

  // The classes given as `C owl:oneOf LIST`, in IRI order (then by the
  // list's first cell, which only orders warnings).
  void ClassOneOfs() {
    std::vector<RdfStatements::ClassOneOf>& uses = st_.classOneOfs;
    std::sort(uses.begin(), uses.end(),
              [this](const RdfStatements::ClassOneOf& a, const RdfStatements::ClassOneOf& b) {
                if (a.cls != b.cls) {
                  const int order = st_.Iri(a.cls).compare(st_.Iri(b.cls));
                  if (order != 0) return order < 0;
                }
                return a.list.id < b.list.id;
              });
    for (const RdfStatements::ClassOneOf& use : uses) {
      RdfStatements::Enumeration kept{kNoTerm, {}, use.cls};
      ListWalk walk(st_, stepsLeft_, "enumerations");
      if (!CollectList(st_, use.list, walk, kept.values)) {
        malformed_.push_back(sourceName_ + ": the owl:oneOf of <" + std::string(st_.Iri(use.cls)) +
                             "> is malformed (" + walk.problem + "); it is ignored");
        continue;
      }
      st_.enumerations.push_back(std::move(kept));
    }
  }

  // Keeps the enumeration `node` and answers its index; kNoEnumeration,
  // with a warning, when it is malformed.
  uint32_t Enumeration(BlankId node) {
    RdfStatements::Enumeration kept{kNoTerm, {}};
    ListWalk walk(st_, stepsLeft_, "enumerations");
    if (!CollectEnumeration(st_, node, walk, kept.values)) {
      malformed_.push_back(sourceName_ + ": the owl:oneOf in a restriction in the " + where_ +
                           " of <" + std::string(st_.Iri(cls_)) + "> is malformed (" +
                           walk.problem + "); it is ignored");
      return RdfStatements::kNoEnumeration;
    }
    st_.enumerations.push_back(std::move(kept));
    return static_cast<uint32_t>(st_.enumerations.size() - 1);
  }

  RdfStatements& st_;
  const std::string& sourceName_;
  std::vector<std::string>& warnings_;
  std::size_t* stepsLeft_;
  std::vector<std::string> malformed_;  // warnings of malformed lists, sorted once all are read
  Tally tallies_[static_cast<int>(Ignored::kCount)];
  TermId cls_ = 0;
  const char* where_ = "";
};

}  // namespace

void ResolveClassExpressions(RdfStatements& statements, const std::string& sourceName,
                             std::vector<std::string>& warnings) {
  Tally tallies[static_cast<int>(Ignored::kCount)];
  const auto note = [&](Ignored kind, const RdfStatements::AnonymousUse& use) {
    Tally& tally = tallies[static_cast<int>(kind)];
    if (tally.count++ == 0) {
      tally.example = use.property;
      tally.where = RelationName(use.relation);
    }
  };
  std::size_t stepsLeft = kListStepsBase + kListStepsPerStatement * statements.statementCount;
  // An order of the graph, as for the classes' uses (ClassUses::Run).
  std::vector<RdfStatements::AnonymousUse>& uses = statements.anonymousUses;
  std::sort(
      uses.begin(), uses.end(),
      [&statements](const RdfStatements::AnonymousUse& a, const RdfStatements::AnonymousUse& b) {
        if (a.property != b.property) {
          const int order = statements.Iri(a.property).compare(statements.Iri(b.property));
          if (order != 0) return order < 0;
        }
        if (a.relation != b.relation) return a.relation < b.relation;
        return a.node < b.node;
      });
  uses.erase(
      std::unique(uses.begin(), uses.end(),
                  [](const RdfStatements::AnonymousUse& a, const RdfStatements::AnonymousUse& b) {
                    return a.property == b.property && a.relation == b.relation && a.node == b.node;
                  }),
      uses.end());
  std::vector<std::string> malformed;  // sorted once all are read
  for (const RdfStatements::AnonymousUse& use : uses) {
    const BlankFacts& facts = statements.Blank(use.node);
    const bool range = use.relation != RdfStatements::Relation::kDomain;
    if (facts.unions == 0 && range && facts.Has(BlankFacts::kOneOf) &&
        !facts.Has(BlankFacts::kIntersection) && !facts.Has(BlankFacts::kComplement)) {
      // An enumeration as a range: its values are what the property takes.
      RdfStatements::Enumeration kept{use.property, {}};
      ListWalk walk(statements, &stepsLeft, "enumerations");
      if (!CollectEnumeration(statements, use.node, walk, kept.values)) {
        malformed.push_back(sourceName + ": the owl:oneOf in the range of <" +
                            std::string(statements.Iri(use.property)) + "> is malformed (" +
                            walk.problem + "); it is ignored");
        continue;
      }
      statements.enumerations.push_back(std::move(kept));
      continue;
    }
    if (facts.unions == 0) {
      note(KindOf(facts), use);
      continue;
    }
    UnionWalk walk(statements, &stepsLeft);
    if (!walk.Collect(use.node, 0)) {
      malformed.push_back(sourceName + ": the owl:unionOf in the " + RelationName(use.relation) +
                          " of <" + std::string(statements.Iri(use.property)) + "> is malformed (" +
                          walk.problem() + "); it is ignored");
      continue;
    }
    for (const Ignored kind : walk.ignored) note(kind, use);
    // A union's members are alternatives: any one of them holds.
    const RdfStatements::Relation relation =
        range ? RdfStatements::Relation::kRangeAny : RdfStatements::Relation::kDomain;
    for (const TermId member : walk.members) statements.Relate(relation, use.property, member);
  }
  // Charged, as every warning that a document's expressions each give.
  std::sort(malformed.begin(), malformed.end());
  for (std::string& warning : malformed) {
    statements.Budget().Charge(warning.size());
    warnings.push_back(std::move(warning));
  }
  for (int kind = 0; kind < static_cast<int>(Ignored::kCount); ++kind) {
    const Tally& tally = tallies[kind];
    if (tally.count == 0) continue;
    warnings.push_back(sourceName + ": ignored " + std::to_string(tally.count) + " " +
                       IgnoredName(static_cast<Ignored>(kind), tally.count) +
                       " in domains and ranges (for example in the " + tally.where + " of <" +
                       std::string(statements.Iri(tally.example)) + ">)");
  }
  ClassUses(statements, sourceName, warnings, &stepsLeft).Run();
}

}  // namespace qaxoi::rdf
