// The statements of an RDF document that matter for an ontology model,
// gathered by ReadRdf. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_
#define QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace QAX {
namespace Ontology {
namespace Rdf {

using TermId = uint32_t;

struct Comment {
  std::string text;
  std::string language;  // empty when the literal has no language tag
};

// What the document says about one IRI. Lists keep document order and hold
// no repeats.
struct TermFacts {
  bool isClass = false;     // typed rdfs:Class or owl:Class
  bool isProperty = false;  // typed rdf:Property, owl:DatatypeProperty or owl:ObjectProperty
  bool isDatatype = false;  // typed rdfs:Datatype
  std::vector<TermId> superClasses;  // rdfs:subClassOf
  std::vector<TermId> domains;       // rdfs:domain and schema:domainIncludes
  std::vector<TermId> ranges;        // rdfs:range and schema:rangeIncludes
  std::vector<Comment> comments;     // rdfs:comment
};

// Anonymous nodes (blank nodes) are numbered apart from IRIs, per document.
using BlankId = uint32_t;

// The object of a statement about an anonymous node, as class expressions
// use it: an IRI, an anonymous node, rdf:nil, or something else (a literal).
struct NodeRef {
  enum class Kind : uint8_t { kIri, kBlank, kNil, kOther };
  Kind kind = Kind::kOther;
  uint32_t id = 0;  // a TermId for kIri, a BlankId for kBlank
};

// What the document says about one anonymous node that matters for class
// expressions: list cells (rdf:first, rdf:rest), unions, and the kinds of
// anonymous class the loader ignores. Repeats are kept, so that a malformed
// list (a cell with two rdf:first) can be told.
struct BlankFacts {
  std::vector<NodeRef> firsts;
  std::vector<NodeRef> rests;
  std::vector<NodeRef> unions;
  bool intersection = false;         // owl:intersectionOf
  bool complement = false;           // owl:complementOf
  bool oneOf = false;                // owl:oneOf
  bool restriction = false;          // typed owl:Restriction, or has owl:onProperty
  bool datatypeRestriction = false;  // has owl:onDatatype
};

// IRIs are interned: each distinct IRI gets one TermId, numbered from 0.
// Blank nodes are kept apart, by BlankId.
class RdfStatements {
 public:
  TermId Intern(std::string_view iri);
  const std::string& Iri(TermId id) const { return iris_[id]; }
  TermFacts& Facts(TermId id) { return facts_[id]; }
  const TermFacts& Facts(TermId id) const { return facts_[id]; }
  std::size_t TermCount() const { return iris_.size(); }

  // Marks `id` as a class or a property; the lists below keep the order in
  // which terms were first marked.
  void MarkClass(TermId id);
  void MarkProperty(TermId id);
  const std::vector<TermId>& Classes() const { return classes_; }
  const std::vector<TermId>& Properties() const { return properties_; }

  // The anonymous node labelled `label`, made on first use.
  BlankId InternBlank(std::string_view label);
  BlankFacts& Blank(BlankId id) { return blanks_[id]; }
  const BlankFacts& Blank(BlankId id) const { return blanks_[id]; }

  enum class Relation { kSubClassOf, kDomain, kRange };

  // A domain or range that is an anonymous class expression, in document
  // order; ResolveClassExpressions turns the unions among them into
  // relations.
  struct AnonymousUse {
    TermId property;
    Relation relation;  // kDomain or kRange
    BlankId node;
  };
  std::vector<AnonymousUse> anonymousUses;

  // Appends `object` to the subject's list for `relation` unless it is
  // there already.
  void Relate(Relation relation, TermId subject, TermId object);

  // Prefixes as declared: (name, namespace IRI), in document order.
  std::vector<std::pair<std::string, std::string>> prefixes;
  // Every statement read, relevant or not.
  std::size_t statementCount = 0;

 private:
  // A deque never moves its strings, so the keys of `ids_` can view them.
  std::deque<std::string> iris_;
  std::vector<TermFacts> facts_;
  std::unordered_map<std::string_view, TermId> ids_;
  std::deque<std::string> blankLabels_;
  std::vector<BlankFacts> blanks_;
  std::unordered_map<std::string_view, BlankId> blankIds_;
  std::vector<TermId> classes_;
  std::vector<TermId> properties_;
  // Per relation, the (subject, object) pairs already related, as
  // subject << 32 | object.
  std::unordered_set<uint64_t> related_[3];
};

}  // namespace Rdf
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_RDF_RDFSTATEMENTS_H_
