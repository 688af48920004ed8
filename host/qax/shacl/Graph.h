// An RDF graph held in memory and indexed for validation: every term
// interned once, statements looked up by subject and predicate or by
// predicate and object in logarithmic time.
#ifndef QAX_HOST_QAX_SHACL_GRAPH_H_
#define QAX_HOST_QAX_SHACL_GRAPH_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/status/Status.h"

namespace qaxoi::shacl {

// A term of one Graph: an index into its term table, dense from 0.
using TermId = uint32_t;
// No term: what lookups of terms that the graph does not hold answer.
inline constexpr TermId kNoTerm = UINT32_MAX;

enum class TermKind : uint8_t { kIri, kBlank, kLiteral };

// A term as the graph holds it. The views point into the graph and stay
// valid as long as it lives.
struct TermView {
  TermKind kind = TermKind::kIri;
  // An absolute IRI, a blank node's label, or a literal's lexical form.
  std::string_view text;
  // A literal's datatype IRI: xsd:string for a plain literal, rdf:langString
  // for a language-tagged one; empty for IRIs and blank nodes.
  std::string_view datatype;
  // A literal's language tag as written; empty when it has none.
  std::string_view language;
};

// One statement.
struct Triple {
  TermId subject = kNoTerm;
  TermId predicate = kNoTerm;
  TermId object = kNoTerm;
};

// A run of statements that a lookup found; valid until the graph changes.
struct TripleRange {
  const Triple* first = nullptr;
  const Triple* last = nullptr;
  const Triple* begin() const { return first; }
  const Triple* end() const { return last; }
  bool empty() const { return first == last; }
  std::size_t size() const { return static_cast<std::size_t>(last - first); }
};

// A set of statements. Terms are added (interned) and statements added
// freely; lookups need the graph sealed (Seal), which sorts the statements,
// drops repeated ones and builds the indexes; adding after that unseals it.
// Not thread-safe while being changed; a sealed graph may be read from many
// threads. Every function that adds throws std::bad_alloc when memory runs
// out, leaving the graph as it was before the call.
class QAX_API Graph {
 public:
  Graph();
  ~Graph();
  Graph(Graph&&) noexcept;
  Graph& operator=(Graph&&) noexcept;
  Graph(const Graph&) = delete;
  Graph& operator=(const Graph&) = delete;

  // The term for an IRI, a blank node's label or a literal, added when new.
  // A literal's empty `datatype` means xsd:string, or rdf:langString when
  // `language` is not empty; the language tag is kept as written and
  // compared without regard to letter case, as RDF does.
  TermId Iri(std::string_view iri);
  TermId Blank(std::string_view label);
  TermId Literal(std::string_view text, std::string_view datatype = {},
                 std::string_view language = {});

  // The term for an IRI, or kNoTerm when the graph holds none; adds nothing.
  TermId FindIri(std::string_view iri) const;

  // What `term` is; `term` must be a term of this graph.
  TermView Term(TermId term) const;
  std::size_t TermCount() const;

  // Adds a statement; the three terms must be this graph's, `subject` an IRI
  // or a blank node, `predicate` an IRI.
  void Add(TermId subject, TermId predicate, TermId object);

  // Makes the graph ready for lookups (repeated statements counted once).
  void Seal();
  bool Sealed() const;
  // The distinct statements; the graph must be sealed.
  std::size_t TripleCount() const;

  // Lookups on a sealed graph:
  // the statements with `subject` and `predicate`, sorted by object;
  TripleRange Objects(TermId subject, TermId predicate) const;
  // the statements with `predicate` and `object`, sorted by subject;
  TripleRange Subjects(TermId predicate, TermId object) const;
  // every statement about `subject`, sorted by predicate, then object;
  TripleRange About(TermId subject) const;
  // every statement with `predicate`, sorted by object, then subject;
  TripleRange WithPredicate(TermId predicate) const;
  // every statement, sorted by subject, predicate, then object.
  TripleRange All() const;
  // Whether the graph holds the statement.
  bool Has(TermId subject, TermId predicate, TermId object) const;

 private:
  // Loading takes back what a failed load added.
  friend class GraphLoader;
  // Statements held, sealed or not, repeated ones included.
  std::size_t HeldTriples() const;
  // Drops every term from `terms` on and every statement from `triples` on
  // (as HeldTriples counted them), then seals the graph.
  void Truncate(std::size_t terms, std::size_t triples);

  struct Store;
  std::unique_ptr<Store> store_;
};

// What loading an RDF document into a graph gives besides its statements.
struct GraphLoad {
  // The prefixes the document declared, in order (name, namespace IRI).
  std::vector<std::pair<std::string, std::string>> prefixes;
  // Problems the reader went on after, one line each.
  std::vector<std::string> warnings;
};

// Reads the RDF document at `path` into `graph` with the readers that load
// ontology models (the same syntaxes, detection, bounds and messages;
// graph names of TriG and N-Quads are dropped), and seals it. Blank nodes of
// different documents loaded into one graph stay apart. Loading is bounded
// like a vocabulary's: a document whose graph would need more than about
// ten times its size is refused. The prefixes and warnings go to `loaded`.
// Fails as LoadModelFile does, one line "<source>:<line>:<column>: <what>"
// (line and column left out where the failure has no place in the text),
// with `graph` holding what it held before the call, sealed, and `loaded`
// left as it was.
QAX_API qaxoi::Status LoadGraphFile(const std::string& path, rdf::RdfSyntax syntax, Graph& graph,
                                    GraphLoad* loaded);

// The same for a document in memory; `sourceName` names it in messages and
// gives the syntax for kDetect by its extension, `baseIri` resolves relative
// IRIs (empty: there is none, and a relative IRI is an error).
QAX_API qaxoi::Status LoadGraphText(const std::string& text, rdf::RdfSyntax syntax,
                                    const std::string& sourceName, const std::string& baseIri,
                                    Graph& graph, GraphLoad* loaded);

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_GRAPH_H_
