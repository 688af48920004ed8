#include "host/qax/rdf/ClassExpressions.h"

#include <unordered_set>

#include "host/qax/rdf/NestingDepth.h"

namespace QAX {
namespace Ontology {
namespace Rdf {
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
    case Ignored::kOther:
    case Ignored::kCount:
      break;
  }
  return one ? "anonymous class of no kind the loader reads"
             : "anonymous classes of no kind the loader reads";
}

Ignored KindOf(const BlankFacts& facts) {
  if (facts.intersection) return Ignored::kIntersection;
  if (facts.complement) return Ignored::kComplement;
  if (facts.oneOf) return Ignored::kOneOf;
  if (facts.restriction) return Ignored::kRestriction;
  if (facts.datatypeRestriction) return Ignored::kDatatypeRestriction;
  return Ignored::kOther;
}

const char* RelationName(RdfStatements::Relation relation) {
  return relation == RdfStatements::Relation::kDomain ? "domain" : "range";
}

// Walks one union, collecting the named classes of it and of the unions
// nested in it. Stops at the first fault, which `problem` then names.
class UnionWalk {
 public:
  UnionWalk(const RdfStatements& statements, std::size_t* stepsLeft)
      : st_(statements), stepsLeft_(stepsLeft) {}

  // Collects the members of the union `node`; false when it is malformed.
  // An anonymous member that is no union is left out and its kind noted in
  // `ignored`.
  bool Collect(BlankId node, std::size_t depth) {
    if (depth > kMaxNestingDepth) {
      return Fault("unions nest deeper than " + std::to_string(kMaxNestingDepth) + " levels");
    }
    const BlankFacts& facts = st_.Blank(node);
    if (facts.unions > 1) return Fault("a class expression with two owl:unionOf lists");
    NodeRef cell = facts.unionList;
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
      const NodeRef member = cellFacts.first;
      if (member.kind == NodeRef::Kind::kIri) {
        members.push_back(member.id);
      } else if (member.kind == NodeRef::Kind::kBlank && st_.Blank(member.id).unions != 0) {
        if (!Collect(member.id, depth + 1)) return false;
      } else if (member.kind == NodeRef::Kind::kBlank) {
        ignored.push_back(KindOf(st_.Blank(member.id)));
      } else {
        return Fault("a list member that is no class");
      }
      cell = cellFacts.rest;
    }
    for (const BlankId id : walked) onPath_.erase(id);
    return true;
  }

  std::vector<TermId> members;
  std::vector<Ignored> ignored;
  std::string problem;

 private:
  bool Fault(std::string what) {
    problem = std::move(what);
    return false;
  }

  const RdfStatements& st_;
  std::size_t* stepsLeft_;
  std::unordered_set<BlankId> onPath_;
};

}  // namespace

void ResolveClassExpressions(RdfStatements& statements, const std::string& sourceName,
                             std::vector<std::string>& warnings) {
  struct Tally {
    std::size_t count = 0;
    TermId example = 0;
    RdfStatements::Relation relation = RdfStatements::Relation::kDomain;
  };
  Tally tallies[static_cast<int>(Ignored::kCount)];
  const auto note = [&](Ignored kind, const RdfStatements::AnonymousUse& use) {
    Tally& tally = tallies[static_cast<int>(kind)];
    if (tally.count++ == 0) {
      tally.example = use.property;
      tally.relation = use.relation;
    }
  };
  std::size_t stepsLeft = kListStepsBase + kListStepsPerStatement * statements.statementCount;
  for (const RdfStatements::AnonymousUse& use : statements.anonymousUses) {
    const BlankFacts& facts = statements.Blank(use.node);
    if (facts.unions == 0) {
      note(KindOf(facts), use);
      continue;
    }
    UnionWalk walk(statements, &stepsLeft);
    if (!walk.Collect(use.node, 0)) {
      warnings.push_back(sourceName + ": the owl:unionOf in the " + RelationName(use.relation) +
                         " of <" + std::string(statements.Iri(use.property)) + "> is malformed (" +
                         walk.problem + "); it is ignored");
      continue;
    }
    for (const Ignored kind : walk.ignored) note(kind, use);
    for (const TermId member : walk.members) statements.Relate(use.relation, use.property, member);
  }
  for (int kind = 0; kind < static_cast<int>(Ignored::kCount); ++kind) {
    const Tally& tally = tallies[kind];
    if (tally.count == 0) continue;
    warnings.push_back(sourceName + ": ignored " + std::to_string(tally.count) + " " +
                       IgnoredName(static_cast<Ignored>(kind), tally.count) +
                       " in domains and ranges (for example in the " +
                       RelationName(tally.relation) + " of <" +
                       std::string(statements.Iri(tally.example)) + ">)");
  }
}

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX
