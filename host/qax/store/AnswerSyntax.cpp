#include "host/qax/store/AnswerSyntax.h"

#include <cstdio>
#include <string_view>

namespace qaxoi::store {

namespace {

// Media types that say nothing of the syntax: the bytes decide.
constexpr std::string_view kUntellingTypes[] = {
    "",         "text/plain",           "application/octet-stream", "application/xml",
    "text/xml", "application/x-turtle", "application/owl+xml"};

// The quality the Accept header gives the first syntax, how much less each
// next one gets, and what anything else gets.
constexpr double kBestQuality = 1.0;
constexpr double kQualityStep = 0.1;
constexpr const char* kAnyTypeQuality = "0.1";

// The syntaxes asked for, most wanted first: N-Triples before Turtle,
// because a store that writes Turtle may write a double as a bare decimal
// number (Virtuoso 7 does), which reads back as an xsd:decimal, while
// N-Triples keeps every literal's datatype.
constexpr qaxoi::rdf::RdfSyntax kPreferred[] = {
    qaxoi::rdf::RdfSyntax::kNTriples, qaxoi::rdf::RdfSyntax::kTurtle,
    qaxoi::rdf::RdfSyntax::kNQuads, qaxoi::rdf::RdfSyntax::kTriG, qaxoi::rdf::RdfSyntax::kRdfXml};

const char* MediaTypeOf(qaxoi::rdf::RdfSyntax syntax) {
  for (const qaxoi::rdf::RdfSyntaxInfo& known : qaxoi::rdf::kRdfSyntaxes) {
    if (known.syntax == syntax) return known.mediaType;
  }
  return "";
}

}  // namespace

std::string RdfAcceptHeader() {
  std::string accept;
  double quality = kBestQuality;
  for (const qaxoi::rdf::RdfSyntax syntax : kPreferred) {
    if (!accept.empty()) accept += ", ";
    accept += MediaTypeOf(syntax);
    if (quality < kBestQuality) {
      char text[16];
      std::snprintf(text, sizeof text, ";q=%.1f", quality);
      accept += text;
    }
    quality -= kQualityStep;
  }
  return accept + ", */*;q=" + kAnyTypeQuality;
}

qaxoi::Status AnswerSyntax(const std::string& url, const std::string& mediaType,
                           qaxoi::rdf::RdfSyntax* syntax) {
  for (const qaxoi::rdf::RdfSyntaxInfo& known : qaxoi::rdf::kRdfSyntaxes) {
    if (mediaType == known.mediaType) {
      *syntax = known.syntax;
      return qaxoi::Status::Ok();
    }
  }
  for (const std::string_view untelling : kUntellingTypes) {
    if (mediaType == untelling) {
      *syntax = qaxoi::rdf::RdfSyntax::kDetect;
      return qaxoi::Status::Ok();
    }
  }
  return qaxoi::Status::InvalidInput(url + ": the answer is not RDF in a syntax that is read (" +
                                     mediaType + ")");
}

}  // namespace qaxoi::store
