// LoadGraphFile and LoadGraphText: RDF documents read into a Graph by the
// readers that load ontology models, with the same bounds.
#include <cstdint>
#include <string>
#include <vector>

#include "host/files/InputFile.h"
#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/FileSource.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/ReadDocument.h"
#include "host/qax/rdf/TripleHandler.h"
#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

namespace {

// What a graph holds, charged to the load's budget as it grows (measured
// on a 64-bit build, growth of the containers included): a new term and its
// texts besides; a statement, in both orders and its share of the run
// starts; a prefix declaration and its texts besides.
constexpr std::size_t kTermBytes = 96;
constexpr std::size_t kTripleBytes = 40;
constexpr std::size_t kPrefixBytes = 64;

// Hands a document's statements to a graph, charging what it adds.
class GraphSink final : public rdf::TripleHandler {
 public:
  // Blank node labels are prefixed with `blankPrefix`, so that those of
  // several documents stay apart.
  GraphSink(Graph& graph, rdf::LoadBudget& budget, std::string blankPrefix, GraphLoad& load)
      : graph_(graph), budget_(budget), blankPrefix_(std::move(blankPrefix)), load_(load) {}

  void Prefix(std::string_view name, std::string_view iri) override {
    budget_.Charge(kPrefixBytes + name.size() + iri.size());
    load_.prefixes.emplace_back(std::string(name), std::string(iri));
  }

  void Statement(const rdf::Term& subject, std::string_view predicate,
                 const rdf::Term& object) override {
    const TermId s = Intern(subject);
    const TermId p = Charged(predicate.size(), [&] { return graph_.Iri(predicate); });
    const TermId o = Intern(object);
    budget_.Charge(kTripleBytes);
    graph_.Add(s, p, o);
  }

  const rdf::LoadBudget& Budget() const override { return budget_; }

 private:
  // Runs `intern`, charging a term of `textBytes` when it added one.
  template <typename Intern>
  TermId Charged(std::size_t textBytes, Intern intern) {
    const std::size_t before = graph_.TermCount();
    const TermId term = intern();
    if (graph_.TermCount() != before) budget_.Charge(kTermBytes + textBytes);
    return term;
  }

  TermId Intern(const rdf::Term& term) {
    switch (term.kind) {
      case rdf::Term::Kind::kIri:
        return Charged(term.text.size(), [&] { return graph_.Iri(term.text); });
      case rdf::Term::Kind::kBlank:
        label_.assign(blankPrefix_).append(term.text);
        return Charged(label_.size(), [&] { return graph_.Blank(label_); });
      case rdf::Term::Kind::kLiteral:
        break;
    }
    return Charged(term.text.size() + term.language.size(),
                   [&] { return graph_.Literal(term.text, term.datatype, term.language); });
  }

  Graph& graph_;
  rdf::LoadBudget& budget_;
  const std::string blankPrefix_;
  GraphLoad& load_;
  std::string label_;  // reused for prefixed blank node labels
};

}  // namespace

// Reads one document into a graph, taking back what it added when it fails.
class GraphLoader {
 public:
  // What the blank node labels of a document loaded into `graph` start with:
  // nothing for the first document; for a later one "g<n>-", with the
  // smallest n from the graph's term count on that no label held so far
  // starts with, so that its nodes stay apart from those of every other
  // document and the labels stay valid in Turtle. Of the term count t + 1
  // numbers from t on, the t labels can take at most t: one pass over the
  // terms finds a free one.
  static std::string BlankPrefix(const Graph& graph) {
    const std::size_t terms = graph.TermCount();
    if (terms == 0) return std::string();
    std::vector<bool> taken(terms + 1, false);
    for (TermId term = 0; term < terms; ++term) {
      const TermView view = graph.Term(term);
      if (view.kind != TermKind::kBlank || view.text.size() < 3 || view.text[0] != 'g') continue;
      std::size_t n = 0;
      std::size_t at = 1;
      while (at < view.text.size() && view.text[at] >= '0' && view.text[at] <= '9' &&
             n <= 2 * terms) {
        n = n * 10 + static_cast<std::size_t>(view.text[at++] - '0');
      }
      if (at > 1 && at < view.text.size() && view.text[at] == '-' && n >= terms &&
          n - terms <= terms) {
        taken[n - terms] = true;
      }
    }
    std::size_t free = 0;
    while (taken[free]) ++free;
    return "g" + std::to_string(terms + free) + "-";
  }

  static qaxoi::Status Load(rdf::DocumentSource& source, const std::string* text,
                            std::uint64_t heldBytes, rdf::RdfSyntax syntax,
                            const std::string& sourceName, const std::string& baseIri, Graph& graph,
                            GraphLoad* loaded) {
    GraphLoad load;
    graph.Seal();
    const std::size_t terms = graph.TermCount();
    const std::size_t triples = graph.HeldTriples();
    std::string blankPrefix = BlankPrefix(graph);
    rdf::LoadBudget budget(source.Size());
    GraphSink sink(graph, budget, std::move(blankPrefix), load);
    qaxoi::Status read;
    try {
      read = rdf::ReadDocument(source, text, heldBytes, syntax, sourceName, baseIri, sink, budget,
                               load.warnings);
    } catch (const std::bad_alloc&) {
      graph.Truncate(terms, triples);
      throw;
    }
    if (!read.ok()) {
      graph.Truncate(terms, triples);
      return read;
    }
    graph.Seal();
    *loaded = std::move(load);
    return read;
  }
};

qaxoi::Status LoadGraphFile(const std::string& path, rdf::RdfSyntax syntax, Graph& graph,
                            GraphLoad* loaded) {
  qaxoi::files::InputFile file;
  qaxoi::Status opened = file.Open(path);
  if (!opened.ok()) return opened;
  rdf::FileSource source(file);
  return GraphLoader::Load(source, nullptr, source.HeldBytes(), syntax, path, rdf::FileIri(path),
                           graph, loaded);
}

qaxoi::Status LoadGraphText(const std::string& text, rdf::RdfSyntax syntax,
                            const std::string& sourceName, const std::string& baseIri, Graph& graph,
                            GraphLoad* loaded) {
  rdf::TextSource source(text);
  return GraphLoader::Load(source, &text, text.size(), syntax, sourceName, baseIri, graph, loaded);
}

}  // namespace qaxoi::shacl
