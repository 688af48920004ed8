// The validation report for people: a line per result, then a summary.
#include <ostream>
#include <sstream>
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

void WriteReportText(std::ostream& out, const ValidationReport& report,
                     const ReportPrefixList& prefixes) {
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes known = ReportSyntax::ReportPrefixes(prefixes);
  // One line at a time: its terms are cut, so only a path can make it long,
  // as long as the shapes graph states it.
  std::string line;
  for (const ValidationResult& result : report.results) {
    if (!out) return;
    line = Severity(result.ResultSeverity(), known) + ": " +
           ReportSyntax::Term(result.FocusNode(), known, Form::kText);
    if (const ReportPath* path = result.ResultPath()) {
      line += " " + ReportSyntax::Path(*path, known, Form::kText);
    }
    if (result.HasValue()) line += " " + ReportSyntax::Term(result.Value(), known, Form::kText);
    line += ":";
    out << line;
    // One line per result: several messages (one per language, say) are
    // joined on it, each written as it is cut.
    const char* separator = " ";
    for (const ReportTerm& message : result.ResultMessages()) {
      out << separator
          << ReportSyntax::Shown(message.text, ReportSyntax::kMaxShownMessageCharacters);
      separator = " / ";
    }
    out << '\n';
  }
  const std::size_t found = report.results.size() + report.resultsLeftOut;
  if (report.conforms) {
    out << "conforms\n";
    return;
  }
  out << "does not conform: " << Thousands(found) << (found == 1 ? " result" : " results");
  if (report.resultsLeftOut != 0) {
    out << ", the first " << Thousands(report.results.size()) << " shown";
  }
  out << '\n';
  if (!report.stopped.empty()) out << report.stopped << '\n';
}

std::string ReportAsText(const ValidationReport& report, const ReportPrefixList& prefixes) {
  std::ostringstream out;
  WriteReportText(out, report, prefixes);
  return out.str();
}

}  // namespace qaxoi::shacl
