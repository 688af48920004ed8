// The validation report for people: a line per result, then a summary.
#include <string>

#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

namespace {

// "1,234,567": a count with thousands separated, as qax-host writes counts.
std::string Thousands(std::size_t count) {
  std::string digits = std::to_string(count);
  constexpr std::size_t kGroup = 3;
  for (std::size_t at = digits.size(); at > kGroup;) {
    at -= kGroup;
    digits.insert(at, ",");
  }
  return digits;
}

// A severity by its local name where SHACL defines it ("Violation").
std::string Severity(const std::string& iri, const ReportSyntax::Prefixes& prefixes) {
  const std::string shacl = ReportSyntax::kShacl;
  if (iri.compare(0, shacl.size(), shacl) == 0) {
    std::string local = iri.substr(shacl.size());
    if (local == "Violation" || local == "Warning" || local == "Info") return local;
  }
  return ReportSyntax::Iri(iri, prefixes, ReportSyntax::Form::kText);
}

}  // namespace

std::string ReportAsText(const ValidationReport& report,
                         const std::vector<std::pair<std::string, std::string>>& prefixes) {
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes known = ReportSyntax::ReportPrefixes(prefixes);
  std::string out;
  for (const ValidationResult& result : report.results) {
    out += Severity(result.resultSeverity, known) + ": " +
           ReportSyntax::Term(result.focusNode, known, Form::kText);
    if (result.resultPath) out += " " + ReportSyntax::Path(*result.resultPath, known, Form::kText);
    if (result.hasValue) out += " " + ReportSyntax::Term(result.value, known, Form::kText);
    out += ":";
    // One line per result: several messages (one per language, say) are
    // joined on it.
    const char* separator = " ";
    for (const ReportTerm& message : result.resultMessages) {
      out +=
          separator + ReportSyntax::Shown(message.text, ReportSyntax::kMaxShownMessageCharacters);
      separator = " / ";
    }
    out += "\n";
  }
  const std::size_t found = report.results.size() + report.resultsLeftOut;
  if (report.conforms) {
    out += "conforms\n";
  } else {
    out += "does not conform: " + Thousands(found) + (found == 1 ? " result" : " results");
    if (report.resultsLeftOut != 0) {
      out += ", the first " + Thousands(report.results.size()) + " shown";
    }
    out += "\n";
  }
  return out;
}

}  // namespace qaxoi::shacl
