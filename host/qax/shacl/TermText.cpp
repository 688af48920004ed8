#include "host/qax/shacl/TermText.h"

#include <array>
#include <string_view>
#include <utility>

#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ShaclTerms.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kPrefixes{{
    {"xsd:", QAX_XSD_NS},
    {"rdf:", QAX_RDF_NS},
    {"rdfs:", QAX_RDFS_NS},
    {"sh:", QAX_SHACL_NS},
}};

void AppendCut(std::string& out, std::string_view text) {
  // Cut on a UTF-8 sequence's first byte so that the message stays UTF-8.
  std::size_t end = text.size();
  if (end > kMaxTermTextBytes) {
    end = kMaxTermTextBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0U) == 0x80U) --end;
  }
  for (std::size_t i = 0; i < end; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    out += c < 0x20U || c == 0x7FU ? ' ' : text[i];
  }
  if (end < text.size()) out += "...";
}

std::string IriText(std::string_view iri) {
  std::string out;
  for (const auto& [prefix, ns] : kPrefixes) {
    if (iri.size() <= ns.size() || iri.substr(0, ns.size()) != ns) continue;
    const std::string_view local = iri.substr(ns.size());
    if (local.find_first_of("/#") == std::string_view::npos) {
      out = prefix;
      AppendCut(out, local);
      return out;
    }
  }
  out = "<";
  AppendCut(out, iri);
  out += '>';
  return out;
}

}  // namespace

std::string ShapesTermText(const TermView& term) {
  if (term.kind != TermKind::kBlank) return TermText(term);
  ReportTerm blank;
  blank.kind = TermKind::kBlank;
  blank.text = std::string(term.text.substr(0, kMaxTermTextBytes));
  namespace syntax = ReportSyntax;
  std::string out =
      syntax::Term(blank, syntax::Prefixes(), syntax::Form::kText, syntax::Origin::kShapes);
  if (blank.text.size() < term.text.size()) out += "...";
  return out;
}

std::string TermText(const TermView& term) {
  std::string out;
  switch (term.kind) {
    case TermKind::kIri:
      return IriText(term.text);
    case TermKind::kBlank:
      out = "_:";
      AppendCut(out, term.text);
      return out;
    case TermKind::kLiteral:
      break;
  }
  out = "\"";
  AppendCut(out, term.text);
  out += '"';
  if (!term.language.empty()) {
    out += '@';
    AppendCut(out, term.language);
  } else if (term.datatype != QAX_XSD_NS "string") {
    out += "^^" + IriText(term.datatype);
  }
  return out;
}

}  // namespace qaxoi::shacl
