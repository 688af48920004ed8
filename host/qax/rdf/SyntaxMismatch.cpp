#include "host/qax/rdf/SyntaxMismatch.h"

#include "host/qax/rdf/DocumentSyntax.h"

namespace qaxoi::rdf {

namespace {

// The keywords that make JSON JSON-LD, as JSON writes them.
constexpr std::string_view kJsonLdKeywords[] = {"\"@context\"", "\"@id\"", "\"@type\"",
                                                "\"@graph\""};

// What ContentLooksLike calls a document in UTF-16.
constexpr std::string_view kUtf16 = "UTF-16";

const char* Title(RdfSyntax syntax) {
  for (const RdfSyntaxInfo& known : kRdfSyntaxes) {
    if (known.syntax == syntax) return known.title;
  }
  return "";
}

// Whether a parser of `parser` reads every document of `content` too.
bool Reads(RdfSyntax parser, RdfSyntax content) {
  if (parser == content) return true;
  if (content == RdfSyntax::kNTriples) {
    return parser == RdfSyntax::kTurtle || parser == RdfSyntax::kTriG ||
           parser == RdfSyntax::kNQuads;
  }
  return content == RdfSyntax::kTurtle && parser == RdfSyntax::kTriG;
}

}  // namespace

std::string ContentLooksLike(std::string_view firstBytes) {
  const std::string_view head = firstBytes.substr(0, kSyntaxSniffBytes);
  const DocumentSyntax told = TellDocumentSyntax(head);
  if (told.syntax == RdfSyntax::kTurtle && told.nTriplesLine) return Title(RdfSyntax::kNTriples);
  if (told.unsure) return "";
  if (told.syntax != RdfSyntax::kDetect) return Title(told.syntax);
  if (told.other == "JSON") {
    for (const std::string_view keyword : kJsonLdKeywords) {
      if (head.find(keyword) != std::string_view::npos) return "JSON-LD";
    }
  }
  return std::string(told.other);
}

std::string SyntaxMismatch(std::string_view firstBytes, RdfSyntax parsedAs, bool syntaxFromName) {
  const std::string looks = ContentLooksLike(firstBytes);
  if (looks.empty() || parsedAs == RdfSyntax::kDetect) return "";
  for (const RdfSyntaxInfo& known : kRdfSyntaxes) {
    if (looks != known.title) continue;
    if (Reads(parsedAs, known.syntax)) return "";
    return "its content looks like " + looks +
           (syntaxFromName ? ", but its name says " : ", not ") + Title(parsedAs);
  }
  if (looks == kUtf16) {
    // The RDF/XML reader refuses UTF-16 itself, in as many words.
    if (parsedAs == RdfSyntax::kRdfXml) return "";
    return "its content looks like UTF-16, which is not read; convert it to UTF-8";
  }
  return "its content looks like " + looks + ", which is not read";
}

}  // namespace qaxoi::rdf
