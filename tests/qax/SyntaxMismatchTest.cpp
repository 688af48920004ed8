// What a document that failed to parse looks like: the hint its message
// ends in when the content is in another syntax than the one it was read
// as, and none where the content is in that syntax or one it reads.
#include <string>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"

namespace qaxoi::test {

namespace {

using qaxoi::rdf::ContentLooksLike;
using qaxoi::rdf::RdfSyntax;
using qaxoi::rdf::SyntaxMismatch;

constexpr char kRdfXml[] =
    "<?xml version=\"1.0\"?>\n<rdf:RDF "
    "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">\n"
    "<rdf:Description rdf:about=\"http://e.org/A\"/>\n</rdf:RDF>\n";
constexpr char kTurtle[] = "@prefix e: <http://e.org/> .\ne:A a e:B .\n";
constexpr char kNTriples[] = "<http://e.org/A> <http://e.org/p> \"x\"@en .\n";
constexpr char kNQuads[] =
    "<http://e.org/A> <http://e.org/p> <http://e.org/o> <http://e.org/g> .\n";
constexpr char kTriG[] = "<http://e.org/g> { <http://e.org/A> <http://e.org/p> 1 . }\n";
constexpr char kJsonLd[] =
    "{\n  \"@context\": {\"e\": \"http://e.org/\"},\n  \"@id\": \"e:A\"\n}\n";

TEST(SyntaxMismatch, NamesWhatTheContentLooksLike) {
  const struct {
    std::string content;
    std::string looks;
  } cases[] = {
      {kRdfXml, "RDF/XML"},
      {kTurtle, "Turtle"},
      {"e:A e:p e:o .\n", "Turtle"},
      // Three terms and a '.' on the first line are N-Triples, and Turtle.
      {kNTriples, "N-Triples"},
      {"# header\n_:b <http://e.org/p> <http://e.org/o>.\n", "N-Triples"},
      // After a directive, a line of three terms is Turtle's.
      {"@base <http://e.org/> .\n<A> <p> <o> .\n", "Turtle"},
      {kNQuads, "N-Quads"},
      {kTriG, "TriG"},
      {kJsonLd, "JSON-LD"},
      {"[{\"name\": \"no keyword\"}]", "JSON"},
      {"<?xml version=\"1.0\"?>\n<Ontology xmlns=\"http://www.w3.org/2002/07/owl#\"/>", "OWL/XML"},
      {"<!DOCTYPE html>\n<HTML><body>Not found</body></HTML>\n", "HTML"},
      {"<?xml version=\"1.0\"?>\n<feed/>", "XML"},
      {"Prefix(:=<http://e.org/>)\nOntology(<http://e.org/o>)", "the OWL functional syntax"},
      {"Class: Pizza", "the OWL Manchester syntax"},
      {std::string("\xFF\xFE<\0?\0", 6), "UTF-16"},
      {"%PDF-1.4", ""},
      // A line that starts as Turtle's, N-Triples' and N-Quads' do, and is
      // none of them whole, looks like none.
      {"<http://e.org/A> <http://e.org/p> .\n", ""},
      {"<http://e.org/A> a <http://e.org/B> .\n", ""},
      // Only the start is looked at: past it, an XML prolog is all there is.
      {"<?xml version=\"1.0\"?>\n<!--" + std::string(rdf::kSyntaxSniffBytes, '-') + "-->" +
           (kRdfXml + 22),
       "XML"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.looks, ContentLooksLike(c.content)) << c.content.substr(0, 80);
  }
}

TEST(SyntaxMismatch, SaysSoOnlyWhereTheSyntaxReadCannotReadTheContent) {
  const struct {
    std::string content;
    RdfSyntax parsedAs;
    bool fromName;
    std::string hint;
  } cases[] = {
      {kRdfXml, RdfSyntax::kTurtle, true,
       "its content looks like RDF/XML, but its name says Turtle"},
      {kRdfXml, RdfSyntax::kTurtle, false, "its content looks like RDF/XML, not Turtle"},
      {kTurtle, RdfSyntax::kNTriples, true,
       "its content looks like Turtle, but its name says N-Triples"},
      {kTurtle, RdfSyntax::kRdfXml, false, "its content looks like Turtle, not RDF/XML"},
      {kNQuads, RdfSyntax::kNTriples, true,
       "its content looks like N-Quads, but its name says N-Triples"},
      {kNQuads, RdfSyntax::kTriG, true, "its content looks like N-Quads, but its name says TriG"},
      {kTriG, RdfSyntax::kTurtle, true, "its content looks like TriG, but its name says Turtle"},
      {kJsonLd, RdfSyntax::kTurtle, true, "its content looks like JSON-LD, which is not read"},
      {std::string("\xFF\xFE@\0p\0", 6), RdfSyntax::kTurtle, true,
       "its content looks like UTF-16, which is not read; convert it to UTF-8"},
      {std::string("\xFF\xFE<\0r\0", 6), RdfSyntax::kRdfXml, false, ""},
      {"<!DOCTYPE html><html/>", RdfSyntax::kTurtle, false,
       "its content looks like HTML, which is not read"},
      // The content is in the syntax read, or in one it reads too: the
      // failure lies in the content, and the parser's message says where.
      {kTurtle, RdfSyntax::kTurtle, true, ""},
      {kRdfXml, RdfSyntax::kRdfXml, false, ""},
      {kNTriples, RdfSyntax::kTurtle, true, ""},
      {kNTriples, RdfSyntax::kNQuads, true, ""},
      {kNTriples, RdfSyntax::kTriG, true, ""},
      {kTurtle, RdfSyntax::kTriG, true, ""},
      {"%PDF-1.4", RdfSyntax::kTurtle, true, ""},
      {"<http://e.org/x> <http://e.org/p> . <http://e.org/g> .\n", RdfSyntax::kNQuads, true, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.hint, SyntaxMismatch(c.content, c.parsedAs, c.fromName))
        << c.content.substr(0, 80) << " as " << rdf::RdfSyntaxName(c.parsedAs);
  }
}

// The loader ends a parse failure in the hint, and reads the document in
// no other syntax; a document whose syntax the content told has none.
TEST(SyntaxMismatch, EndsTheLoadersFailureWithoutReadingAnotherSyntax) {
  const struct {
    std::string content;
    RdfSyntax syntax;
    std::string name;
    std::string message;
  } cases[] = {
      {kRdfXml, RdfSyntax::kDetect, "v.ttl",
       "v.ttl:1:7: invalid IRI character (escape %20); its content looks like RDF/XML, but its "
       "name says Turtle"},
      {kTurtle, RdfSyntax::kNTriples, "v.owl",
       "v.owl:1:1: syntax does not support directives; its content looks like Turtle, not "
       "N-Triples"},
      {kJsonLd, RdfSyntax::kDetect, "v.ttl",
       "v.ttl:1:1: syntax does not support graphs; its content looks like JSON-LD, which is not "
       "read"},
      {"@prefix e: <http://e.org/> .\ne:A e:p .\n", RdfSyntax::kDetect, "v.ttl",
       "v.ttl:2:10: expected digit"},
      {kJsonLd, RdfSyntax::kDetect, "v.json",
       "v.json: the document is JSON (JSON-LD?), which is not read; the syntaxes read are Turtle, "
       "N-Triples, N-Quads, TriG and RDF/XML"},
  };
  for (const auto& c : cases) {
    rdf::LoadedModel loaded;
    const qaxoi::Status status = rdf::LoadModelText(c.content, c.syntax, c.name, "", &loaded);
    EXPECT_EQ(c.message, status.message()) << c.name;
  }
}

}  // namespace

}  // namespace qaxoi::test
