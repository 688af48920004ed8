#include "host/qax/store/QueryResultsJson.h"

#include <nlohmann/json.hpp>

#include <unordered_map>
#include <utility>
#include <vector>

namespace qaxoi::store {

namespace {

using Json = nlohmann::json;

// Marks an array in the path of keys from the top.
constexpr const char* kInArray = "[]";
// How much of a value of the answer a message repeats.
constexpr std::size_t kMaxShownBytes = 100;

// `text` for a message of one line: control characters as '?', cut to
// kMaxShownBytes.
std::string Shown(const std::string& text) {
  std::string shown;
  for (const char c : text.substr(0, kMaxShownBytes)) {
    shown.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '?' : c);
  }
  return text.size() > kMaxShownBytes ? shown + "..." : shown;
}

// Takes the events of the parser and keeps what the format says: the
// variables, each binding's terms, or the boolean.
class ResultsHandler : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return Scalar(); }
  bool boolean(bool value) override {
    if (path_.size() == 1 && path_[0] == "boolean") {
      results_.isBoolean = true;
      results_.boolean = value;
    }
    return Scalar();
  }
  bool number_integer(number_integer_t /*value*/) override { return Scalar(); }
  bool number_unsigned(number_unsigned_t /*value*/) override { return Scalar(); }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override {
    return Scalar();
  }
  bool binary(binary_t& /*value*/) override { return Scalar(); }
  bool string(string_t& value) override {
    if (InVariables()) {
      results_.variables.push_back(std::move(value));
    } else if (InTerm() && termOpen_) {
      ResultTerm& term = row_.back().second;
      const std::string& field = path_.back();
      if (field == "type") {
        term.kind = value == "uri"                                   ? ResultTerm::Kind::kIri
                    : value == "literal" || value == "typed-literal" ? ResultTerm::Kind::kLiteral
                    : value == "bnode"                               ? ResultTerm::Kind::kBlank
                                                                     : ResultTerm::Kind::kUnbound;
        if (term.kind == ResultTerm::Kind::kUnbound)
          return Fail("the answer has a term of unknown type '" + Shown(value) + "'");
      } else if (field == "value") {
        term.value = std::move(value);
      } else if (field == "datatype") {
        term.datatype = std::move(value);
      } else if (field == "xml:lang") {
        term.language = std::move(value);
      }
    }
    return Scalar();
  }
  bool start_object(std::size_t /*elements*/) override {
    if (!Deeper()) return false;
    if (InBindings()) {
      inRow_ = true;
      row_.clear();
    } else if (InRow() && inRow_) {
      row_.emplace_back(path_.back(), ResultTerm());
      termOpen_ = true;
    }
    path_.emplace_back();
    return true;
  }
  bool key(string_t& name) override {
    path_.back() = std::move(name);
    return true;
  }
  bool end_object() override {
    path_.pop_back();
    if (InRow() && termOpen_) {
      termOpen_ = false;
      if (row_.back().second.kind == ResultTerm::Kind::kUnbound) {
        return Fail("the answer has a term without a type");
      }
    }
    if (InBindings() && inRow_) {
      rows_.push_back(std::move(row_));
      row_.clear();
      inRow_ = false;
    }
    return EndValue();
  }
  bool start_array(std::size_t /*elements*/) override {
    if (!Deeper() || !Scalar()) return false;
    if (path_.size() == 2 && path_[0] == "results" && path_[1] == "bindings") sawBindings_ = true;
    path_.emplace_back(kInArray);
    return true;
  }
  bool end_array() override {
    path_.pop_back();
    return EndValue();
  }
  bool parse_error(std::size_t position, const std::string& /*token*/,
                   const nlohmann::detail::exception& error) override {
    error_ = "the answer is not JSON at byte " + std::to_string(position) + " (" +
             Shown(error.what()) + ")";
    return false;
  }

  const std::string& error() const { return error_; }

  // The results as read, once the whole text was.
  qaxoi::Status Finish(QueryResults* results) {
    if (!results_.isBoolean && !sawBindings_) {
      return qaxoi::Status::InvalidInput(
          "the answer holds no SPARQL results (neither \"boolean\" nor \"results\")");
    }
    // Each variable's column, the first where the answer names one twice:
    // a term finds its column in one look, however many variables there are.
    std::unordered_map<std::string, std::size_t> columns;
    for (std::size_t i = 0; i < results_.variables.size(); ++i) {
      columns.emplace(results_.variables[i], i);
    }
    for (auto& row : rows_) {
      std::vector<ResultTerm> terms(results_.variables.size());
      for (auto& binding : row) {
        const auto column = columns.find(binding.first);
        if (column != columns.end()) terms[column->second] = std::move(binding.second);
      }
      results_.rows.push_back(std::move(terms));
    }
    *results = std::move(results_);
    return qaxoi::Status::Ok();
  }

 private:
  bool Deeper() {
    if (path_.size() < kMaxResultsDepth) return true;
    return Fail("the answer nests deeper than " + std::to_string(kMaxResultsDepth));
  }
  bool Fail(std::string why) {
    error_ = std::move(why);
    return false;
  }
  // Every value but an object: a variable's binding must be a term.
  bool Scalar() {
    if (InRow() && inRow_) return Fail("the answer binds a variable to no term");
    return EndValue();
  }
  bool EndValue() { return true; }
  bool InVariables() const {
    return path_.size() == 3 && path_[0] == "head" && path_[1] == "vars" && path_[2] == kInArray;
  }
  bool InBindings() const {
    return path_.size() == 3 && path_[0] == "results" && path_[1] == "bindings" &&
           path_[2] == kInArray;
  }
  bool InRow() const {
    return path_.size() == 4 && path_[0] == "results" && path_[1] == "bindings" &&
           path_[2] == kInArray;
  }
  bool InTerm() const {
    return path_.size() == 5 && path_[0] == "results" && path_[1] == "bindings" &&
           path_[2] == kInArray;
  }

  // The key of each object and kInArray for each array from the top down
  // to the value being read.
  std::vector<std::string> path_;
  QueryResults results_;
  bool sawBindings_ = false;
  bool inRow_ = false;
  // Within a term's object of the row being read.
  bool termOpen_ = false;
  std::vector<std::pair<std::string, ResultTerm>> row_;
  std::vector<std::vector<std::pair<std::string, ResultTerm>>> rows_;
  std::string error_;
};

}  // namespace

qaxoi::Status ReadQueryResultsJson(const std::string& text, const std::string& source,
                                   QueryResults* results) {
  ResultsHandler handler;
  const bool read = Json::sax_parse(text, &handler, Json::input_format_t::json, true);
  if (!read) return qaxoi::Status::InvalidInput(source + ": " + handler.error());
  qaxoi::Status finished = handler.Finish(results);
  return finished.Prefixed(source + ": ");
}

}  // namespace qaxoi::store
