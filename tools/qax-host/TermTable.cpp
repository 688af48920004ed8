#include "tools/qax-host/TermTable.h"

#include <algorithm>
#include <cstdio>

namespace qaxoi::qax_host {

namespace store = qaxoi::store;

namespace {

constexpr const char* kColumnGap = "  ";

// `text` in N-Triples' string escapes: quotes, backslashes and control
// characters.
std::string Escape(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '"':
        escaped += "\\\"";
        break;
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      case '\t':
        escaped += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
          escaped += code;
        } else {
          escaped.push_back(c);
        }
    }
  }
  return escaped;
}

// The columns a text takes on a terminal: one per character of UTF-8.
std::size_t Columns(const std::string& text) {
  std::size_t columns = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xc0u) != 0x80u) ++columns;
  }
  return columns;
}

const char* TypeName(store::ResultTerm::Kind kind) {
  switch (kind) {
    case store::ResultTerm::Kind::kIri:
      return "uri";
    case store::ResultTerm::Kind::kLiteral:
      return "literal";
    case store::ResultTerm::Kind::kBlank:
      return "bnode";
    case store::ResultTerm::Kind::kUnbound:
      break;
  }
  return "";
}

}  // namespace

std::string TermText(const store::ResultTerm& term) {
  switch (term.kind) {
    case store::ResultTerm::Kind::kIri:
      return "<" + Escape(term.value) + ">";
    case store::ResultTerm::Kind::kBlank:
      return "_:" + Escape(term.value);
    case store::ResultTerm::Kind::kLiteral: {
      std::string text = "\"" + Escape(term.value) + "\"";
      if (!term.language.empty()) return text + "@" + Escape(term.language);
      if (!term.datatype.empty()) return text + "^^<" + Escape(term.datatype) + ">";
      return text;
    }
    case store::ResultTerm::Kind::kUnbound:
      break;
  }
  return "";
}

std::string ResultsTable(const store::QueryResults& results) {
  if (results.isBoolean) return results.boolean ? "true\n" : "false\n";
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> header;
  for (const std::string& variable : results.variables) header.push_back("?" + variable);
  cells.push_back(std::move(header));
  for (const std::vector<store::ResultTerm>& row : results.rows) {
    std::vector<std::string> line;
    line.reserve(row.size());
    for (const store::ResultTerm& term : row) line.push_back(TermText(term));
    cells.push_back(std::move(line));
  }
  std::vector<std::size_t> widths(results.variables.size(), 0);
  for (const auto& line : cells) {
    for (std::size_t i = 0; i < line.size() && i < widths.size(); ++i) {
      widths[i] = std::max(widths[i], Columns(line[i]));
    }
  }
  std::string table;
  for (const auto& line : cells) {
    std::string text;
    for (std::size_t i = 0; i < line.size(); ++i) {
      text += line[i];
      if (i + 1 < line.size()) text += std::string(widths[i] - Columns(line[i]), ' ') + kColumnGap;
    }
    table += text + "\n";
  }
  return table;
}

Json ResultsJson(const store::QueryResults& results) {
  if (results.isBoolean) return {{"head", Json::object()}, {"boolean", results.boolean}};
  Json bindings = Json::array();
  for (const std::vector<store::ResultTerm>& row : results.rows) {
    Json binding = Json::object();
    for (std::size_t i = 0; i < row.size() && i < results.variables.size(); ++i) {
      const store::ResultTerm& term = row[i];
      if (term.kind == store::ResultTerm::Kind::kUnbound) continue;
      Json value = {{"type", TypeName(term.kind)}, {"value", term.value}};
      if (!term.language.empty()) value["xml:lang"] = term.language;
      if (!term.datatype.empty()) value["datatype"] = term.datatype;
      binding[results.variables[i]] = std::move(value);
    }
    bindings.push_back(std::move(binding));
  }
  return {{"head", {{"vars", results.variables}}},
          {"results", {{"bindings", std::move(bindings)}}}};
}

}  // namespace qaxoi::qax_host
