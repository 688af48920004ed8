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

// IRIs are interned: each distinct IRI gets one TermId, numbered from 0.
// Blank nodes never enter.
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

  enum class Relation { kSubClassOf, kDomain, kRange };
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
