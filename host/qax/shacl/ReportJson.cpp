// The validation report as one JSON document, for scripts, written result
// by result: the bytes are those of the JSON library's indented dump of the
// same document, without the document ever being held whole.
#include <sstream>
#include <string>

#include "host/qax/shacl/ReportOutput.h"
#include "host/qax/shacl/ReportSyntax.h"
#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

namespace {

// The indentation of the members of the document, of a result, and of a
// result's messages: two spaces per level.
constexpr const char* kDocumentMember = "\n  ";
constexpr const char* kResult = "\n    ";
constexpr const char* kResultMember = "\n      ";
constexpr const char* kMessage = "\n        ";

// Starts the member `name` of an object, its value to follow.
void Key(ReportOutput& out, const char* indent, const char* name, bool first = false) {
  if (!first) out.Put(',');
  out.Put(indent);
  out.Put('"');
  out.Put(name);
  out.Put("\": ");
}

}  // namespace

void WriteReportJson(std::ostream& stream, const ValidationReport& report,
                     const ReportPrefixList& prefixes) {
  using ReportSyntax::Form;
  const ReportSyntax::Prefixes declared = ReportSyntax::ReportPrefixes(prefixes);
  ReportOutput out(stream);
  // Terms in N-Triples form, inside a JSON string.
  const auto term = [&](const ReportTerm& value, ReportSyntax::Origin origin) {
    out.OpenJsonString();
    ReportSyntax::PutTerm(out, value, {}, Form::kNTriples, origin);
    out.CloseJsonString();
  };
  const auto iri = [&](const std::string& text) {
    out.OpenJsonString();
    ReportSyntax::PutIri(out, text, {}, Form::kNTriples);
    out.CloseJsonString();
  };
  out.Put('{');
  Key(out, kDocumentMember, "conforms", true);
  out.Put(report.conforms ? "true" : "false");
  Key(out, kDocumentMember, "results");
  out.Put('[');
  bool firstResult = true;
  for (const ValidationResult& result : report.results) {
    if (!out.Good()) return;
    if (!firstResult) out.Put(',');
    firstResult = false;
    out.Put(kResult);
    out.Put('{');
    Key(out, kResultMember, "focusNode", true);
    term(result.FocusNode(), ReportSyntax::Origin::kData);
    Key(out, kResultMember, "resultPath");
    if (const ReportPath* path = result.ResultPath()) {
      out.OpenJsonString();
      out.Put(ReportSyntax::Path(*path, declared, Form::kTurtle));
      out.CloseJsonString();
    } else {
      out.Put("null");
    }
    Key(out, kResultMember, "value");
    if (result.HasValue()) {
      term(result.Value(), ReportSyntax::Origin::kData);
    } else {
      out.Put("null");
    }
    Key(out, kResultMember, "sourceShape");
    term(result.SourceShape(), ReportSyntax::Origin::kShapes);
    Key(out, kResultMember, "sourceConstraintComponent");
    iri(result.SourceConstraintComponent());
    Key(out, kResultMember, "resultSeverity");
    iri(result.ResultSeverity());
    Key(out, kResultMember, "resultMessage");
    // Messages are texts for people: their lexical forms, not terms.
    const ReportTermList messages = result.ResultMessages();
    if (messages.empty()) {
      out.Put("[]");
    } else {
      out.Put('[');
      const char* separator = "";
      for (const ReportTerm& message : messages) {
        out.Put(separator);
        separator = ",";
        out.Put(kMessage);
        out.OpenJsonString();
        ReportSyntax::PutValidUtf8(out, message.text);
        out.CloseJsonString();
      }
      // The list closes at the indentation of its member.
      out.Put(kResultMember);
      out.Put(']');
    }
    out.Put(kResult);
    out.Put('}');
  }
  // An empty list is written "[]", as the JSON library writes it.
  if (!report.results.empty()) out.Put(kDocumentMember);
  out.Put(']');
  Key(out, kDocumentMember, "resultsLeftOut");
  out.Put(std::to_string(report.resultsLeftOut));
  // Only a validation that stopped at its work budget has this member, so
  // that the reports of finished ones keep their bytes.
  if (!report.stopped.empty()) {
    Key(out, kDocumentMember, "stopped");
    out.OpenJsonString();
    ReportSyntax::PutValidUtf8(out, report.stopped);
    out.CloseJsonString();
  }
  out.Put("\n}\n");
}

std::string ReportAsJson(const ValidationReport& report, const ReportPrefixList& prefixes) {
  std::ostringstream out;
  WriteReportJson(out, report, prefixes);
  return out.str();
}

}  // namespace qaxoi::shacl
