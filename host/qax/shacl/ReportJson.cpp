// The validation report as one JSON document, for scripts.
#include <string>

#include <nlohmann/json.hpp>

#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

namespace {

// The JSON library writes a document by recursion, one call per level: a
// report is three levels deep whatever it holds, paths being strings.
constexpr int kIndent = 2;

}  // namespace

std::string ReportAsJson(const ValidationReport& report,
                         const std::vector<std::pair<std::string, std::string>>& prefixes) {
  using Json = nlohmann::ordered_json;
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes declared = ReportSyntax::ReportPrefixes(prefixes);
  const auto term = [](const ReportTerm& value) {
    return ReportSyntax::Term(value, {}, Form::kNTriples);
  };
  const auto iri = [](const std::string& text) {
    return ReportSyntax::Iri(text, {}, Form::kNTriples);
  };
  Json results = Json::array();
  for (const ValidationResult& result : report.results) {
    Json messages = Json::array();
    // Messages are texts for people: their lexical forms, not terms.
    for (const ReportTerm& message : result.resultMessages) {
      messages.push_back(ReportSyntax::ValidUtf8(message.text));
    }
    results.push_back(
        {{"focusNode", term(result.focusNode)},
         {"resultPath", result.resultPath
                            ? Json(ReportSyntax::Path(*result.resultPath, declared, Form::kTurtle))
                            : Json()},
         {"value", result.hasValue ? Json(term(result.value)) : Json()},
         {"sourceShape", ReportSyntax::Term(result.sourceShape, {}, Form::kNTriples,
                                            ReportSyntax::Origin::kShapes)},
         {"sourceConstraintComponent", iri(result.sourceConstraintComponent)},
         {"resultSeverity", iri(result.resultSeverity)},
         {"resultMessage", std::move(messages)}});
  }
  const Json document = {{"conforms", report.conforms},
                         {"results", std::move(results)},
                         {"resultsLeftOut", report.resultsLeftOut}};
  return document.dump(kIndent, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace qaxoi::shacl
