// The indexed graph that validation reads: terms interned by RDF identity,
// statements found by subject or predicate, documents loaded whole or not
// at all.
#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "tests/support/RdfVariants.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using qaxoi::rdf::RdfSyntax;
using qaxoi::shacl::Graph;
using qaxoi::shacl::GraphLoad;
using qaxoi::shacl::kNoTerm;
using qaxoi::shacl::LoadGraphFile;
using qaxoi::shacl::LoadGraphText;
using qaxoi::shacl::TermId;
using qaxoi::shacl::TermKind;
using qaxoi::shacl::TripleRange;

constexpr char kEx[] = "http://e.org/";

std::string Ex(const std::string& local) { return kEx + local; }

// A term as "<iri>", "_:label" or "\"text\"^^<datatype>@language".
std::string Show(const Graph& graph, TermId term) {
  const auto view = graph.Term(term);
  switch (view.kind) {
    case TermKind::kIri:
      return "<" + std::string(view.text) + ">";
    case TermKind::kBlank:
      return "_:" + std::string(view.text);
    case TermKind::kLiteral:
      break;
  }
  std::string shown = "\"" + std::string(view.text) + "\"^^<" + std::string(view.datatype) + ">";
  if (!view.language.empty()) shown += "@" + std::string(view.language);
  return shown;
}

// The objects (or, with `subjects`, the subjects) of a range, shown.
std::vector<std::string> Shown(const Graph& graph, TripleRange range, bool subjects = false) {
  std::vector<std::string> shown;
  for (const auto& triple : range) {
    shown.push_back(Show(graph, subjects ? triple.subject : triple.object));
  }
  return shown;
}

// Loads `turtle` after the ex: prefix; answers the failure's message, or ""
// when it loaded. What it gave besides the statements goes to `loaded`.
std::string Load(Graph& graph, const std::string& turtle, const std::string& name = "d.ttl",
                 GraphLoad* loaded = nullptr) {
  GraphLoad ignored;
  return LoadGraphText("@prefix ex: <http://e.org/> .\n" + turtle, RdfSyntax::kTurtle, name, "",
                       graph, loaded != nullptr ? loaded : &ignored)
      .message();
}

TEST(ShaclGraph, TermsAreInternedByTheirRdfIdentity) {
  Graph graph;
  const TermId iri = graph.Iri(Ex("a"));
  EXPECT_EQ(graph.Iri(Ex("a")), iri);
  EXPECT_NE(graph.Blank(Ex("a")), iri);
  EXPECT_EQ(graph.Literal("x"), graph.Literal("x", "http://www.w3.org/2001/XMLSchema#string"));
  EXPECT_NE(graph.Literal("x"), graph.Literal("x", "", "en"));
  EXPECT_NE(graph.Literal("1", Ex("t")), graph.Literal("1", Ex("u")));
  // Language tags are compared without regard to case and kept as written.
  const TermId tagged = graph.Literal("x", "", "en-US");
  EXPECT_EQ(graph.Literal("x", "", "EN-us"), tagged);
  EXPECT_EQ(Show(graph, tagged),
            "\"x\"^^<http://www.w3.org/1999/02/22-rdf-syntax-ns#langString>@en-US");
  EXPECT_EQ(Show(graph, graph.Literal("x")), "\"x\"^^<http://www.w3.org/2001/XMLSchema#string>");
  EXPECT_EQ(graph.FindIri(Ex("a")), iri);
  const std::size_t terms = graph.TermCount();
  EXPECT_EQ(graph.FindIri(Ex("none")), kNoTerm);
  EXPECT_EQ(graph.TermCount(), terms);
}

TEST(ShaclGraph, LookupsFindEachStatementOnceInOrder) {
  Graph graph;
  ASSERT_EQ(Load(graph,
                 "ex:a ex:p ex:c , ex:b , \"1\" ; ex:q ex:b .\n"
                 "ex:b ex:p ex:c .\n"
                 "ex:a ex:p ex:b .\n"),
            "");
  const TermId a = graph.FindIri(Ex("a"));
  const TermId b = graph.FindIri(Ex("b"));
  const TermId c = graph.FindIri(Ex("c"));
  const TermId p = graph.FindIri(Ex("p"));
  const TermId q = graph.FindIri(Ex("q"));
  EXPECT_EQ(graph.TripleCount(), 5u);  // the repeated statement once
  EXPECT_EQ(graph.Objects(a, p).size(), 3u);
  EXPECT_EQ(Shown(graph, graph.Objects(b, p)), std::vector<std::string>{"<http://e.org/c>"});
  EXPECT_EQ(Shown(graph, graph.Subjects(p, c), true),
            (std::vector<std::string>{"<http://e.org/a>", "<http://e.org/b>"}));
  EXPECT_EQ(graph.About(a).size(), 4u);
  EXPECT_EQ(graph.WithPredicate(p).size(), 4u);
  EXPECT_TRUE(graph.Has(a, q, b));
  EXPECT_FALSE(graph.Has(b, q, a));
  EXPECT_TRUE(graph.Objects(kNoTerm, p).empty());
  // Adding unseals the graph until it is sealed again.
  graph.Add(c, p, a);
  EXPECT_FALSE(graph.Sealed());
  EXPECT_TRUE(graph.Objects(c, p).empty());
  graph.Seal();
  EXPECT_EQ(Shown(graph, graph.Objects(c, p)), std::vector<std::string>{"<http://e.org/a>"});
}

TEST(ShaclGraph, DocumentsLoadWholeKeepTheirBlankNodesApartOrLeaveTheGraphAsItWas) {
  Graph graph;
  GraphLoad first;
  ASSERT_EQ(
      Load(graph,
           "@prefix z: <http://z.org/> .\nex:a ex:p _:x .\n_:x ex:q 1 .\nex:a ex:q _:g7-y .\n",
           "d.ttl", &first),
      "");
  EXPECT_EQ(first.prefixes, (std::vector<std::pair<std::string, std::string>>{
                                {"ex", kEx}, {"z", "http://z.org/"}}));
  // A later document's labels start with "g<n>-", n from the term count (7)
  // on and not the start of a label held ("g7-y").
  ASSERT_EQ(graph.TermCount(), 7u);
  ASSERT_EQ(Load(graph, "ex:b ex:p _:x .\n"), "");
  const TermId p = graph.FindIri(Ex("p"));
  const auto firstBlank = graph.Objects(graph.FindIri(Ex("a")), p);
  const auto secondBlank = graph.Objects(graph.FindIri(Ex("b")), p);
  ASSERT_EQ(firstBlank.size(), 1u);
  ASSERT_EQ(secondBlank.size(), 1u);
  EXPECT_EQ(Show(graph, firstBlank.first->object), "_:x");
  EXPECT_EQ(Show(graph, secondBlank.first->object), "_:g8-x");
  EXPECT_NE(firstBlank.first->object, secondBlank.first->object);

  const std::size_t terms = graph.TermCount();
  const std::size_t triples = graph.TripleCount();
  GraphLoad bad;
  bad.prefixes = {{"kept", "http://kept.org/"}};
  const std::string badError = Load(graph, "ex:c ex:p ex:d .\nex:c ex:p .\n", "bad.ttl", &bad);
  EXPECT_EQ(badError.rfind("bad.ttl:3:", 0), 0u) << badError;
  EXPECT_EQ(bad.prefixes.size(), 1u);  // left as it was
  EXPECT_EQ(graph.TermCount(), terms);
  EXPECT_EQ(graph.TripleCount(), triples);
  EXPECT_EQ(graph.FindIri(Ex("c")), kNoTerm);
  EXPECT_TRUE(graph.Sealed());

  GraphLoad loaded;
  EXPECT_NE(LoadGraphFile("/nonexistent/data.ttl", RdfSyntax::kDetect, graph, &loaded)
                .message()
                .find("/nonexistent/data.ttl"),
            std::string::npos);
  const qaxoi::Status xml = LoadGraphText(
      "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#' xmlns:ex='http://e.org/'>"
      "<rdf:Description rdf:about='http://e.org/x'><ex:p>v</ex:p></rdf:Description></rdf:RDF>",
      RdfSyntax::kDetect, "x.rdf", "", graph, &loaded);
  ASSERT_EQ(xml.message(), "");
  EXPECT_EQ(Shown(graph, graph.Objects(graph.FindIri(Ex("x")), p)),
            std::vector<std::string>{"\"v\"^^<http://www.w3.org/2001/XMLSchema#string>"});
}

// Every statement of `graph` as "subject predicate object", blank nodes as
// "_" (their labels differ between syntaxes), sorted.
std::vector<std::string> Statements(const Graph& graph) {
  std::vector<std::string> lines;
  const auto shown = [&](TermId term) {
    return graph.Term(term).kind == TermKind::kBlank ? std::string("_") : Show(graph, term);
  };
  for (TermId subject = 0; subject < graph.TermCount(); ++subject) {
    for (const auto& t : graph.About(subject)) {
      lines.push_back(shown(t.subject) + " " + shown(t.predicate) + " " + shown(t.object));
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

// One graph in each syntax, with typed, tagged and plain literals and a list
// of literals (as sh:in holds), gives the graph loader (data and shapes
// graphs alike) the same terms. The model's loader keeps literals only in
// enumerations and documentation; ModelInvarianceTest compares those.
TEST(ShaclGraph, EverySyntaxGivesTheSameLiterals) {
  const std::string x = "http://www.w3.org/2001/XMLSchema#";
  const std::string turtle =
      "ex:a ex:int 42 ; ex:date \"2020-02-29\"^^xsd:date ; ex:lang \"chat\"@fr-CA ;\n"
      " ex:plain \"plain\" ; ex:custom \"x\"^^ex:T ; ex:in ( 1 \"b\"@en ) .\n";
  const std::string prefixes = "@prefix ex: <http://e.org/> .\n@prefix xsd: <" + x + "> .\n";
  Graph expected;
  GraphLoad loaded;
  ASSERT_EQ(
      "",
      LoadGraphText(prefixes + turtle, RdfSyntax::kTurtle, "d", "", expected, &loaded).message());
  const std::vector<std::string> lines = Statements(expected);
  ASSERT_EQ(10U, lines.size());
  // The other syntaxes as serd and raptor write the Turtle's statements.
  qaxoi::test::Statements statements;
  std::string xml;
  std::string error;
  ASSERT_TRUE(
      qaxoi::test::ReadStatements(prefixes + turtle, RdfSyntax::kTurtle, "", &statements, &error))
      << error;
  ASSERT_TRUE(qaxoi::test::Serialized(statements, "rdfxml", {{"ex", kEx}}, &xml, &error)) << error;
  for (const auto& [syntax, text] :
       {std::pair{RdfSyntax::kNTriples, qaxoi::test::Written(statements, RdfSyntax::kNTriples)},
        std::pair{RdfSyntax::kNQuads, qaxoi::test::Written(statements, RdfSyntax::kNQuads)},
        std::pair{RdfSyntax::kTriG, prefixes + "ex:g {\n" + turtle + "}\n"},
        std::pair{RdfSyntax::kRdfXml, xml}}) {
    Graph graph;
    ASSERT_EQ("", LoadGraphText(text, syntax, "d", "", graph, &loaded).message()) << text;
    EXPECT_EQ(lines, Statements(graph)) << static_cast<int>(syntax);
  }
}

// What the parsers decode and RDF does not allow is refused by every reader,
// placed where the parser stood after the statement (escapes decode to a
// surrogate, U+D800 to U+DFFF, which no UTF-8 text may hold).
TEST(ShaclGraph, EveryReaderRefusesSurrogates) {
  const struct {
    RdfSyntax syntax;
    std::string text;
    std::string error;
  } cases[] = {
      {RdfSyntax::kTurtle, "<http://e.org/a> <http://e.org/p> \"ab\\uD800cd\" .\n",
       "d:1:47: a surrogate code point (U+D800 to U+DFFF) in a literal; it is no character"},
      {RdfSyntax::kNTriples, "<http://e.org/a\\U0000D800> <http://e.org/p> \"x\" .\n",
       "d:1:48: a surrogate code point (U+D800 to U+DFFF) in an IRI; it is no character"},
      {RdfSyntax::kNQuads, "<http://e.org/a> <http://e.org/p> \"\\uDFFF\"@en <http://e.org/g> .\n",
       "d:1:65: a surrogate code point (U+D800 to U+DFFF) in a literal; it is no character"},
      {RdfSyntax::kTriG, "{ <http://e.org/a> <http://e.org/p\\uDC00> \"x\" }\n",
       "d:1:46: a surrogate code point (U+D800 to U+DFFF) in an IRI; it is no character"},
      {RdfSyntax::kTurtle, "<http://e.org/a> <http://e.org/p> \"a\xED\xA0\x80\" .\n",
       "d:1:37: invalid UTF-8 at byte 0xED"},
      {RdfSyntax::kTurtle, "<http://e.org/a> <http://e.org/p> \"\\U0001F600\"@en-GB-x1 .\n", ""},
  };
  for (const auto& c : cases) {
    Graph graph;
    GraphLoad loaded;
    EXPECT_EQ(c.error, LoadGraphText(c.text, c.syntax, "d", "", graph, &loaded).message())
        << c.text;
  }
}

}  // namespace
