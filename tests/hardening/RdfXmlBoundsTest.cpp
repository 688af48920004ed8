// RDF/XML that would cost the XML parser time or memory out of proportion to
// its size is refused before the parser sees it, each refusal placed in the
// document; and what the parser reports stays one line.
#include <string>

#include <gtest/gtest.h>

#include "host/qax/rdf/Rdf.h"
#include "tests/support/AllocationFailure.h"

namespace {

using qaxoi::rdf::RdfSyntax;

constexpr std::size_t kBytesPerDocumentByte = 10;
constexpr std::size_t kBaseBytes = std::size_t{256} << 10;

const std::string kHead =
    "<rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\" "
    "xmlns:e=\"http://e.org/\">\n";

// `count` attributes " <prefix><n>=\"<value>\"", numbered from 0.
std::string Attributes(const std::string& prefix, int count, const std::string& value = "x") {
  std::string text;
  for (int i = 0; i < count; ++i) text += " " + prefix + std::to_string(i) + "=\"" + value + "\"";
  return text;
}

// A document of one node element whose attributes follow rdf:about.
std::string Node(const std::string& attributes, const std::string& content = "") {
  return kHead + "<rdf:Description rdf:about=\"http://e.org/a\"" + attributes +
         (content.empty() ? "/>" : ">" + content + "</rdf:Description>") + "\n</rdf:RDF>\n";
}

// Each row is loaded as RDF/XML under the memory the load promises (10 times
// the document's size plus 256 kB, of the C++ heap); the message is asserted
// whole, "" for a document that loads.
TEST(RdfXml, RefusalsBeforeTheParserAndItsMessages) {
  const std::string literal = "<e:p rdf:parseType=\"Literal\">";
  const struct {
    const char* what;
    std::string text;
    std::string error;
    RdfSyntax syntax = RdfSyntax::kRdfXml;
  } cases[] = {
      {"1,024 attributes", Node(Attributes("e:p", 1023)), ""},
      {"1,025 attributes", Node(Attributes("e:p", 1024)),
       "b.rdf:2:11211: an element has more than 1024 attributes"},
      {"1,024 namespaces in scope, 2 on the root",
       Node(Attributes("xmlns:n", 1022, "http://e.org/n#")), ""},
      {"1,025 namespaces in scope", Node(Attributes("xmlns:n", 1023, "http://e.org/n#")),
       "b.rdf:2:29595: the open elements declare more than 1024 namespaces"},
      {"closed elements take their declarations with them",
       kHead + "<e:n" + Attributes("xmlns:n", 1000, "http://e.org/n#") + "/><e:m" +
           Attributes("xmlns:m", 1000, "http://e.org/m#") + "></e:m>\n</rdf:RDF>\n",
       ""},
      {"a tag past the XML parser's lookup limit",
       Node(" e:p=\"" + std::string(10'000'000, 'x') + "\""),
       "b.rdf:2:1: markup longer than 10000000 bytes, the most the XML parser reads in one tag, "
       "comment or section"},
      {"an XML literal that is most of the document",
       Node("", literal + "<b>" + std::string(100'000, 'x') + "</b></e:p>"), ""},
      {"an XML literal past its bound", Node("", literal + std::string(300'000, 'x') + "</e:p>"),
       "b.rdf:2:45: an XML literal (rdf:parseType=\"Literal\") of 300000 bytes, more than 262144, "
       "the most read: the XML parser holds about 128 bytes per byte of it"},
      {"an XML literal of entity references",
       "<!DOCTYPE rdf:RDF [<!ENTITY t \"" + std::string(30'000, 't') + "\">]>\n" +
           Node("", literal + "&t;&t;&t;&t;&t;&t;&t;&t;&t;&t;</e:p>"),
       "b.rdf:3:45: an XML literal (rdf:parseType=\"Literal\") of 300030 bytes, more than 262144, "
       "the most read: the XML parser holds about 128 bytes per byte of it"},
      {"UTF-16, syntax given", std::string("\xFF\xFE<\0r\0", 6),
       "b.rdf:1:1: the document is in UTF-16, which is not read; convert it to UTF-8"},
      {"UTF-16 without a byte order mark, syntax detected", std::string("<\0?\0x\0", 6),
       "b.rdf: the document is in UTF-16, which is not read; convert it to UTF-8",
       RdfSyntax::kDetect},
      {"a parser message of two lines", Node("", "<e:p>caf\xE9 ok</e:p>"),
       "b.rdf:2:57: Input is not proper UTF-8, indicate encoding ! Bytes: 0xE9 0x20 0x6F 0x6B"},
      {"xml:lang with a space", Node("", "<e:p xml:lang=\"en US\">x</e:p>"),
       "b.rdf:2:73: invalid language tag \"en US\" (a tag is ASCII letters, then '-' and letters "
       "or digits)"},
      {"xml:lang not ASCII", Node("", "<e:p xml:lang=\"\xCE\xAD\xCE\xBE\">x</e:p>"),
       "b.rdf:2:72: invalid language tag \"\xCE\xAD\xCE\xBE\" (a tag is ASCII letters, then '-' "
       "and letters or digits)"},
      {"a character reference to a surrogate", Node("", "<e:p>a&#xD800;b</e:p>"),
       "b.rdf:2:60: xmlParseCharRef: invalid xmlChar value 55296"},
  };
  for (const auto& c : cases) {
    qaxoi::rdf::LoadedModel loaded;
    std::string message;
    {
      const qaxoi::test::ScopedHeapCeiling ceiling(kBytesPerDocumentByte * c.text.size() +
                                                   kBaseBytes);
      message = qaxoi::rdf::LoadModelText(c.text, c.syntax, "b.rdf", "", &loaded).message();
    }
    EXPECT_EQ(c.error, message) << c.what;
  }
}

}  // namespace
