// Validation reports as Turtle (read back by a strict parser), as JSON and
// as lines of text, for results whose terms and paths a user's data and
// shapes may hold.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "host/qax/shacl/ValidationReport.h"
#include "tests/support/ParsedRdf.h"

namespace {

using qaxoi::shacl::ReportAsJson;
using qaxoi::shacl::ReportAsText;
using qaxoi::shacl::ReportAsTurtle;
using qaxoi::shacl::ReportPath;
using qaxoi::shacl::ReportTerm;
using qaxoi::shacl::ResultTexts;
using qaxoi::shacl::TermKind;
using qaxoi::shacl::ValidationReport;
using Texts = std::vector<std::string>;

const std::string kEx = "http://e.org/ns#";
const std::string kSh = "http://www.w3.org/ns/shacl#";
const std::string kXsd = "http://www.w3.org/2001/XMLSchema#";
const std::vector<std::pair<std::string, std::string>> kPrefixes = {{"ex", kEx}};

ReportTerm Iri(const std::string& iri) { return {TermKind::kIri, iri, "", ""}; }
ReportTerm Blank(const std::string& label) { return {TermKind::kBlank, label, "", ""}; }
ReportTerm Literal(const std::string& text, const std::string& datatype = kXsd + "string",
                   const std::string& language = "") {
  return {TermKind::kLiteral, text, datatype, language};
}

ReportPath Predicate(const std::string& iri) { return {ReportPath::Kind::kPredicate, iri, {}}; }
ReportPath Of(ReportPath::Kind kind, std::vector<ReportPath> steps) {
  return {kind, "", std::move(steps)};
}

// A datatype violation of ex:age by ex:bob, changed by each case.
ResultTexts Result(ReportTerm focus, std::shared_ptr<const ReportPath> path, bool hasValue,
                   ReportTerm value, std::vector<ReportTerm> messages = {}) {
  ResultTexts result;
  result.focusNode = std::move(focus);
  result.resultPath = std::move(path);
  result.hasValue = hasValue;
  result.value = std::move(value);
  result.sourceShape = Iri(kEx + "PersonShape");
  result.sourceConstraintComponent = kSh + "DatatypeConstraintComponent";
  result.resultSeverity = kSh + "Violation";
  result.resultMessages =
      messages.empty() ? std::vector<ReportTerm>{Literal("not an integer")} : std::move(messages);
  return result;
}

ValidationReport Failing(const std::vector<ResultTexts>& results, std::size_t leftOut = 0) {
  ValidationReport report;
  report.conforms = false;
  for (const ResultTexts& result : results) report.results.Add(result);
  report.resultsLeftOut = leftOut;
  return report;
}

std::shared_ptr<const ReportPath> Shared(ReportPath path) {
  return std::make_shared<const ReportPath>(std::move(path));
}

struct ResultCase {
  const char* behaviour;
  ResultTexts result;
  std::string textLine;  // ReportAsText's line for it
  Texts statements;      // the Turtle read back, past the report's first two
};

const std::string kAge = "<http://e.org/ns#age>";
const std::string kStart = "_:1 <http://www.w3.org/ns/shacl#result> _:2";
const std::string kShacl = "<http://www.w3.org/ns/shacl#";

// The statements every result's Turtle ends with.
Texts Tail(const std::string& message = "\"not an integer\"") {
  return {"_:2 " + kShacl + "sourceShape> <http://e.org/ns#PersonShape>",
          "_:2 " + kShacl + "sourceConstraintComponent> " + kShacl + "DatatypeConstraintComponent>",
          "_:2 " + kShacl + "resultSeverity> " + kShacl + "Violation>",
          "_:2 " + kShacl + "resultMessage> " + message};
}

Texts Statements(Texts middle, const std::string& message = "\"not an integer\"") {
  Texts all = {kStart, "_:2 <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> " + kShacl +
                           "ValidationResult>"};
  all.insert(all.end(), middle.begin(), middle.end());
  for (std::string& line : Tail(message)) all.push_back(std::move(line));
  return all;
}

std::vector<ResultCase> Cases() {
  const std::string longValue(300, 'x');
  std::vector<ResultCase> cases;
  cases.push_back({"an IRI focus and a typed value use the prefixes",
                   Result(Iri(kEx + "bob"), Shared(Predicate(kEx + "age")), true,
                          Literal("12.5", kXsd + "decimal")),
                   "Violation: ex:bob ex:age \"12.5\"^^xsd:decimal: not an integer",
                   Statements({"_:2 " + kShacl + "focusNode> <http://e.org/ns#bob>",
                               "_:2 " + kShacl + "resultPath> " + kAge,
                               "_:2 " + kShacl + "value> \"12.5\"^^<" + kXsd + "decimal>"})});
  cases.push_back(
      {"control characters, quotes and newlines are escaped; a long value is cut",
       Result(Iri("http://other.org/a b"), Shared(Predicate(kEx + "age")), true,
              Literal("say \"hi\"\n\x1B[31m\\" + longValue)),
       "Violation: <http://other.org/a b> ex:age \"say \\\"hi\\\"\\x0A\\x1B[31m\\\\" +
           longValue.substr(0, 182) + "\xE2\x80\xA6\": not an integer",
       Statements({"_:2 " + kShacl + "focusNode> <http://other.org/a%20b>",
                   "_:2 " + kShacl + "resultPath> " + kAge,
                   "_:2 " + kShacl + "value> \"say \"hi\"\n\x1B[31m\\" + longValue + "\""})});
  cases.push_back({"a blank node label Turtle does not allow is written with its bytes escaped",
                   Result(Blank("a.b"), nullptr, false, {},
                          {Literal("Kein Wert", kXsd + "langString", "de"), Literal("no value")}),
                   "Violation: _:x_a_2Eb: Kein Wert / no value",
                   Statements({"_:2 " + kShacl + "focusNode> _:3"}, "\"Kein Wert\"")});
  cases.push_back(
      {"paths of every form are written back as SHACL paths",
       Result(Iri(kEx + "bob"),
              Shared(Of(ReportPath::Kind::kSequence,
                        {Of(ReportPath::Kind::kInverse, {Predicate(kEx + "parent")}),
                         Of(ReportPath::Kind::kAlternative,
                            {Predicate(kEx + "a"),
                             Of(ReportPath::Kind::kZeroOrMore, {Predicate(kEx + "b")})}),
                         Of(ReportPath::Kind::kOneOrMore, {Predicate(kEx + "c")}),
                         Of(ReportPath::Kind::kZeroOrOne, {Predicate("http://x.org/d")})})),
              false, {}),
       "Violation: ex:bob ( [ sh:inversePath ex:parent ] [ sh:alternativePath ( ex:a [ "
       "sh:zeroOrMorePath ex:b ] ) ] [ sh:oneOrMorePath ex:c ] [ sh:zeroOrOnePath "
       "<http://x.org/d> ] ): not an integer",
       {}});
  // Far more characters than the text form shows (200), each of two bytes.
  constexpr int kLongCharacters = 3000;
  constexpr int kShownCharacters = 200;
  std::string longText;
  std::string shownText;
  for (int i = 0; i < kLongCharacters; ++i) longText += "\xC3\xA9";  // é
  for (int i = 0; i < kShownCharacters; ++i) shownText += "\xC3\xA9";
  cases.push_back(
      {"a literal of thousands of two-byte characters shows its first 200",
       Result(Iri(kEx + "bob"), Shared(Predicate(kEx + "age")), true, Literal(longText)),
       "Violation: ex:bob ex:age \"" + shownText + "\xE2\x80\xA6\": not an integer",
       {}});
  return cases;
}

TEST(ShaclReportText, ShowsOneEscapedLinePerResultAndASummary) {
  for (const ResultCase& c : Cases()) {
    EXPECT_EQ(c.textLine + "\ndoes not conform: 1 result\n",
              ReportAsText(Failing({c.result}), kPrefixes))
        << c.behaviour;
  }
  EXPECT_EQ("conforms\n", ReportAsText(ValidationReport{}));
  const ResultCase one = Cases()[0];
  EXPECT_EQ(
      one.textLine + "\n" + one.textLine + "\ndoes not conform: 1,002 results, the first 2 shown\n",
      ReportAsText(Failing({one.result, one.result}, 1000), kPrefixes));
}

TEST(ShaclReportTurtle, ReadsBackAsTheResultsStatements) {
  for (const ResultCase& c : Cases()) {
    if (c.statements.empty()) continue;
    const std::string turtle = ReportAsTurtle(Failing({c.result}), kPrefixes);
    Texts expected = {
        "_:1 <http://www.w3.org/1999/02/22-rdf-syntax-ns#type> " + kShacl + "ValidationReport>",
        "_:1 " + kShacl + "conforms> \"false\"^^<" + kXsd + "boolean>"};
    expected.insert(expected.end(), c.statements.begin(), c.statements.end());
    if (c.result.resultMessages.size() > 1) {
      expected.push_back("_:2 " + kShacl + "resultMessage> \"no value\"");
    }
    EXPECT_EQ(expected, qaxoi::test::ParsedStatements(turtle)) << c.behaviour << "\n" << turtle;
  }
}

TEST(ShaclReportTurtle, WritesThePathsAndTermsAsTheRecommendationShows) {
  EXPECT_EQ(
      "@prefix sh: <http://www.w3.org/ns/shacl#> .\n"
      "@prefix xsd: <http://www.w3.org/2001/XMLSchema#> .\n"
      "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
      "@prefix ex: <http://e.org/ns#> .\n"
      "\n"
      "# 3 more results were found and left out; a report keeps at most 1000000\n"
      "[\n"
      "  a sh:ValidationReport ;\n"
      "  sh:conforms false ;\n"
      "  sh:result [\n"
      "    a sh:ValidationResult ;\n"
      "    sh:focusNode ex:bob ;\n"
      "    sh:resultPath ( [ sh:inversePath ex:parent ] [ sh:alternativePath ( ex:a [ "
      "sh:zeroOrMorePath ex:b ] ) ] [ sh:oneOrMorePath ex:c ] [ sh:zeroOrOnePath "
      "<http://x.org/d> ] ) ;\n"
      "    sh:sourceShape ex:PersonShape ;\n"
      "    sh:sourceConstraintComponent sh:DatatypeConstraintComponent ;\n"
      "    sh:resultSeverity sh:Violation ;\n"
      "    sh:resultMessage \"not an integer\"\n"
      "  ]\n"
      "] .\n",
      ReportAsTurtle(Failing({Cases()[3].result}, 3), {{"ex", kEx}, {"sh", "http://bad/"}}));
  // The path's statements are SHACL's: a list whose first element is an
  // inverse path, read back by a strict parser.
  const Texts read = qaxoi::test::ParsedStatements(ReportAsTurtle(Failing({Cases()[3].result})));
  ASSERT_FALSE(read.empty());
  EXPECT_NE(read.front().rfind("error", 0), 0u) << read.front();
  EXPECT_EQ(1, std::count(read.begin(), read.end(),
                          "_:4 " + kShacl + "inversePath> <http://e.org/ns#parent>"));
}

TEST(ShaclReportJson, GivesTermsInNTriplesFormAndPathsInTurtleForm) {
  const ValidationReport report = Failing({Cases()[0].result, Cases()[2].result}, 7);
  const nlohmann::json expected = {
      {"conforms", false},
      {"results",
       {{{"focusNode", "<http://e.org/ns#bob>"},
         {"resultPath", "ex:age"},
         {"value", "\"12.5\"^^<http://www.w3.org/2001/XMLSchema#decimal>"},
         {"sourceShape", "<http://e.org/ns#PersonShape>"},
         {"sourceConstraintComponent", "<" + kSh + "DatatypeConstraintComponent>"},
         {"resultSeverity", "<" + kSh + "Violation>"},
         {"resultMessage", {"not an integer"}}},
        {{"focusNode", "_:x_a_2Eb"},
         {"resultPath", nullptr},
         {"value", nullptr},
         {"sourceShape", "<http://e.org/ns#PersonShape>"},
         {"sourceConstraintComponent", "<" + kSh + "DatatypeConstraintComponent>"},
         {"resultSeverity", "<" + kSh + "Violation>"},
         {"resultMessage", {"Kein Wert", "no value"}}}}},
      {"resultsLeftOut", 7}};
  EXPECT_EQ(expected, nlohmann::json::parse(ReportAsJson(report, kPrefixes)));
  // Blank nodes of the data and of the shapes graph never share a label.
  ResultTexts blanks = Result(Blank("b1"), nullptr, true, Blank("s_1"));
  blanks.sourceShape = Blank("b1");
  const nlohmann::json apart = nlohmann::json::parse(ReportAsJson(Failing({blanks})));
  EXPECT_EQ("_:b1", apart["results"][0]["focusNode"]);
  EXPECT_EQ("_:x_s_5F1", apart["results"][0]["value"]);
  EXPECT_EQ("_:s_b1", apart["results"][0]["sourceShape"]);
  // Bytes that are not UTF-8 become U+FFFD rather than an exception.
  const std::string bad =
      ReportAsJson(Failing({Result(Iri(kEx + "x"), nullptr, true, Literal("caf\xE9"))}));
  EXPECT_NE(std::string::npos, bad.find("\"\\\"caf\xEF\xBF\xBD\\\"\"")) << bad;
  // Written result by result, the bytes are still the JSON library's own
  // indented dump of the document: escapes, empty lists, nesting.
  const ResultTexts controls =
      Result(Iri(kEx + "x"), Shared(Predicate(kEx + "age")), true, Literal("tab\there\x01"),
             {Literal("line\nbreak \"q\" \\ \b\f\r\x7F\x1F"), Literal("caf\xC3\xA9")});
  for (const ValidationReport& written : {report, Failing({controls}), ValidationReport{}}) {
    const std::string bytes = ReportAsJson(written, kPrefixes);
    EXPECT_EQ(nlohmann::ordered_json::parse(bytes).dump(2, ' ', false,
                                                        nlohmann::json::error_handler_t::replace) +
                  "\n",
              bytes);
  }
}

}  // namespace
