#include "tests/qax/shacl/ShaclCases.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/shacl/Graph.h"
#include "host/qax/shacl/Validator.h"

namespace qaxoi::test::ShaclCases {
namespace {

using qaxoi::rdf::RdfSyntax;
using qaxoi::shacl::Graph;
using qaxoi::shacl::ReportPath;
using qaxoi::shacl::ReportTerm;
using qaxoi::shacl::TermKind;
using qaxoi::shacl::ValidationReport;

constexpr char kPrefixes[] =
    "@prefix ex: <http://e.org/> .\n"
    "@prefix sh: <http://www.w3.org/ns/shacl#> .\n"
    "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n";
// What a shapes text that starts with "[" follows: it is then ex:S's property
// shapes, ex:S targeting ex:a.
constexpr char kPropertyOfA[] = "ex:S sh:targetNode ex:a ; sh:property ";

std::string Iri(const std::string& iri) {
  static const std::pair<std::string, std::string> kShort[] = {
      {"ex:", "http://e.org/"},
      {"sh:", "http://www.w3.org/ns/shacl#"},
      {"xsd:", "http://www.w3.org/2001/XMLSchema#"},
      {"rdf:", "http://www.w3.org/1999/02/22-rdf-syntax-ns#"}};
  for (const auto& [prefix, ns] : kShort)
    if (iri.compare(0, ns.size(), ns) == 0) return prefix + iri.substr(ns.size());
  return "<" + iri + ">";
}

std::string Term(const ReportTerm& term) {
  switch (term.kind) {
    case TermKind::kIri:
      return Iri(term.text);
    case TermKind::kBlank:
      return "_";
    case TermKind::kLiteral:
      break;
  }
  std::string out = "\"" + term.text + "\"";
  if (!term.language.empty()) return out + "@" + term.language;
  if (term.datatype != "http://www.w3.org/2001/XMLSchema#string") out += "^^" + Iri(term.datatype);
  return out;
}

std::string Path(const ReportPath& path) {
  std::string out;
  switch (path.kind) {
    case ReportPath::Kind::kPredicate:
      return Iri(path.iri);
    case ReportPath::Kind::kSequence:
    case ReportPath::Kind::kAlternative:
      for (const ReportPath& step : path.steps)
        out += (out.empty()                                ? ""
                : path.kind == ReportPath::Kind::kSequence ? "/"
                                                           : ",") +
               Path(step);
      return path.kind == ReportPath::Kind::kSequence ? "(" + out + ")" : "alt(" + out + ")";
    case ReportPath::Kind::kInverse:
      return "^" + Path(path.steps[0]);
    case ReportPath::Kind::kZeroOrMore:
      return Path(path.steps[0]) + "*";
    case ReportPath::Kind::kOneOrMore:
      return Path(path.steps[0]) + "+";
    case ReportPath::Kind::kZeroOrOne:
      return Path(path.steps[0]) + "?";
  }
  return out;
}

std::string LocalName(const std::string& iri, const std::string& suffix) {
  std::string name = iri.substr(iri.find('#') + 1);
  if (name.size() > suffix.size() &&
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
    name.erase(name.size() - suffix.size());
  return name;
}

}  // namespace

std::vector<std::string> Lines(const ValidationReport& report, bool withMessages) {
  std::vector<std::string> lines;
  for (const auto& result : report.results) {
    std::string line = Term(result.FocusNode()) + "|" +
                       (result.ResultPath() ? Path(*result.ResultPath()) : "-") + "|" +
                       (result.HasValue() ? Term(result.Value()) : "-") + "|" +
                       LocalName(result.SourceConstraintComponent(), "ConstraintComponent") + "|" +
                       LocalName(result.ResultSeverity(), "");
    if (withMessages) {
      std::vector<std::string> messages;
      for (const ReportTerm& m : result.ResultMessages())
        messages.push_back(m.text + (m.language.empty() ? "" : "@" + m.language));
      std::sort(messages.begin(), messages.end());
      line += "|";
      for (std::size_t i = 0; i < messages.size(); ++i) line += (i > 0 ? ";" : "") + messages[i];
    }
    lines.push_back(line);
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::vector<std::string> Validate(const std::string& data, const std::string& shapes,
                                  bool withMessages) {
  Graph dataGraph;
  Graph shapesGraph;
  qaxoi::shacl::GraphLoad loaded;
  const qaxoi::Status dataLoad =
      LoadGraphText(kPrefixes + data, RdfSyntax::kTurtle, "data.ttl", "", dataGraph, &loaded);
  if (!dataLoad.ok()) return {"error: " + dataLoad.message()};
  const std::string property = shapes.compare(0, 1, "[") == 0 ? kPropertyOfA : "";
  const qaxoi::Status shapesLoad = LoadGraphText(kPrefixes + property + shapes, RdfSyntax::kTurtle,
                                                 "shapes.ttl", "", shapesGraph, &loaded);
  if (!shapesLoad.ok()) return {"error: " + shapesLoad.message()};
  std::unique_ptr<qaxoi::shacl::Shapes> read;
  const qaxoi::Status status = qaxoi::shacl::Shapes::Read(shapesGraph, &read);
  if (!status.ok()) return {"error: " + status.message()};
  const ValidationReport report = qaxoi::shacl::Validate(dataGraph, *read);
  std::vector<std::string> lines = Lines(report, withMessages);
  if (report.conforms != lines.empty()) lines.emplace_back("conforms disagrees with the results");
  return lines;
}

void RunTable(const std::vector<Case>& table, bool withMessages) {
  for (const Case& c : table) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> expected = c.expected;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Validate(c.data, c.shapes, withMessages), expected);
  }
}

}  // namespace qaxoi::test::ShaclCases
