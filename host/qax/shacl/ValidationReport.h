// What validating a data graph against a shapes graph finds: the SHACL
// validation report, held as plain values that outlive both graphs, and its
// writers.
//
// A report keeps each distinct text once: its results refer to the terms,
// paths, shapes and component IRIs of its tables by number, and the results
// of one shape share that shape's node, severity and sh:message values. A
// result costs a small constant however long its texts are (docs/limits.md,
// "Reports").
#ifndef QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_
#define QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <limits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/shacl/Graph.h"

namespace qaxoi::shacl {

// An RDF term copied out of a graph.
struct ReportTerm {
  TermKind kind = TermKind::kIri;
  std::string text;      // IRI, blank node label or lexical form
  std::string datatype;  // literals only: xsd:string, rdf:langString, ...
  std::string language;  // literals only, may be empty

  bool operator==(const ReportTerm& other) const {
    return kind == other.kind && text == other.text && datatype == other.datatype &&
           language == other.language;
  }
};

// A SHACL property path as the shapes graph states it, so that a report
// can give it back as RDF.
struct ReportPath {
  enum class Kind : uint8_t {
    kPredicate,    // `iri`
    kSequence,     // `steps`, two or more, in order
    kAlternative,  // sh:alternativePath over `steps`, two or more
    kInverse,      // sh:inversePath of steps[0]
    kZeroOrMore,   // sh:zeroOrMorePath of steps[0]
    kOneOrMore,    // sh:oneOrMorePath of steps[0]
    kZeroOrOne,    // sh:zeroOrOnePath of steps[0]
  };
  Kind kind = Kind::kPredicate;
  std::string iri;
  std::vector<ReportPath> steps;
};

// One result with its own copy of every text, for a report built by hand
// (ValidationResults::Add): the fields of sh:ValidationResult.
struct ResultTexts {
  ReportTerm focusNode;
  // The property shape's path; null for a node shape's result.
  std::shared_ptr<const ReportPath> resultPath;
  bool hasValue = false;
  ReportTerm value;  // read only when hasValue
  ReportTerm sourceShape;
  std::string sourceConstraintComponent;  // a full IRI
  std::string resultSeverity;             // a full IRI
  // Must not be empty.
  std::vector<ReportTerm> resultMessages;
};

class ValidationResults;

// How a report holds one result: numbers of entries of its tables
// (ValidationResults), 24 bytes whatever the texts. Read through
// ValidationResult.
struct ResultRecord {
  static constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();
  uint32_t shape = kNone;      // the source shape's texts
  uint32_t component = kNone;  // the component's IRI
  uint32_t focus = kNone;      // a term
  uint32_t value = kNone;      // a term; kNone: no value
  uint32_t path = kNone;       // a path; kNone: none
  uint32_t message = kNone;    // a term: the validator's message, when the shape has no sh:message
};

// The messages of one result: a view of terms its report holds, valid
// while the report lives and is not moved (adding results keeps it valid).
class ReportTermList {
 public:
  class Iterator {
   public:
    const ReportTerm& operator*() const { return (*terms_)[*at_]; }
    const ReportTerm* operator->() const { return &**this; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    friend class ReportTermList;
    Iterator(const std::deque<ReportTerm>* terms, const uint32_t* at) : terms_(terms), at_(at) {}
    const std::deque<ReportTerm>* terms_;
    const uint32_t* at_;
  };

  Iterator begin() const { return {terms_, first_}; }
  Iterator end() const { return {terms_, last_}; }
  std::size_t size() const { return static_cast<std::size_t>(last_ - first_); }
  bool empty() const { return first_ == last_; }
  // `index` below size().
  const ReportTerm& operator[](std::size_t index) const { return (*terms_)[first_[index]]; }

 private:
  friend class ValidationResult;
  ReportTermList(const std::deque<ReportTerm>* terms, const uint32_t* first, const uint32_t* last)
      : terms_(terms), first_(first), last_(last) {}
  const std::deque<ReportTerm>* terms_;
  const uint32_t* first_;
  const uint32_t* last_;
};

// One sh:result, read from its report: a view, valid while the report
// lives and is not moved (adding results keeps it valid). The IRIs are full IRIs (for example
// "http://www.w3.org/ns/shacl#MinCountConstraintComponent").
class QAX_API ValidationResult {
 public:
  const ReportTerm& FocusNode() const;
  // The property shape's path; null for a node shape's result.
  const ReportPath* ResultPath() const;
  // Whether the result names the value node that failed; not where the
  // component names none, as sh:minCount does.
  bool HasValue() const;
  // The value node; only when HasValue().
  const ReportTerm& Value() const;
  const ReportTerm& SourceShape() const;
  const std::string& SourceConstraintComponent() const;
  // sh:Violation unless the shape's sh:severity says otherwise.
  const std::string& ResultSeverity() const;
  // The shape's sh:message literals, else one message this validator
  // writes; never empty.
  ReportTermList ResultMessages() const;

 private:
  friend class ValidationResults;
  ValidationResult(const ValidationResults* results, const ResultRecord* record)
      : results_(results), record_(record) {}
  const ValidationResults* results_;
  const ResultRecord* record_;
};

// The results of a report in the order found, with the tables they refer
// to. Every table only grows, and nothing a view refers to moves once
// added, so the views handed out stay valid while results are added.
class QAX_API ValidationResults {
 public:
  // A number of an entry of one of the tables.
  using Index = uint32_t;
  static constexpr Index kNone = ResultRecord::kNone;

  class Iterator {
   public:
    ValidationResult operator*() const { return (*results_)[at_]; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return at_ == other.at_; }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    friend class ValidationResults;
    Iterator(const ValidationResults* results, std::size_t at) : results_(results), at_(at) {}
    const ValidationResults* results_;
    std::size_t at_;
  };

  std::size_t size() const { return records_.size(); }
  bool empty() const { return records_.empty(); }
  // `index` below size().
  ValidationResult operator[](std::size_t index) const { return {this, &records_[index]}; }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, records_.size()}; }

  // Adds a result with its own copy of every text of `texts`, shared with
  // no other result: for the few results of a report built by hand.
  // `texts.resultMessages` must not be empty.
  void Add(const ResultTexts& texts);

 private:
  friend class ValidationResult;
  // The validator adds results through the tables, sharing every text.
  friend class Validation;

  // What the results of one shape share.
  struct ShapeTexts {
    Index node = kNone;           // in terms_
    Index severity = kNone;       // in iris_
    std::vector<Index> messages;  // sh:message values, in terms_; may be empty
  };

  // Each appends one entry and answers its number; the caller keeps the
  // number to share the entry. At most kNone entries per table.
  Index AddTerm(ReportTerm term);
  Index AddPath(std::shared_ptr<const ReportPath> path);
  Index AddIri(std::string iri);
  Index AddShape(ShapeTexts shape);
  // Every number of `record` must be one its table answered (or kNone
  // where the field allows it); `message` must be a term unless the
  // record's shape has messages.
  void AddRecord(const ResultRecord& record) { records_.push_back(record); }

  // Deques: entries never move, so views and the validator's keys into
  // them stay valid, and growing never copies a table.
  std::deque<ReportTerm> terms_;
  std::vector<std::shared_ptr<const ReportPath>> paths_;
  std::deque<std::string> iris_;
  std::deque<ShapeTexts> shapes_;
  std::deque<ResultRecord> records_;
};

// The sh:ValidationReport.
struct ValidationReport {
  // True when there are no results (of any severity).
  bool conforms = true;
  ValidationResults results;
  // Results found beyond kMaxReportResults and not kept. `conforms` counts
  // them.
  std::size_t resultsLeftOut = 0;
  // Why validation stopped before checking every focus node, in one
  // sentence; empty when it checked them all. A report that stopped does
  // not conform, and holds the results found before.
  std::string stopped;
  // The units of work validation spent (docs/limits.md, "Validation"): at
  // most ValidationWorkBudget, plus the last charge that passed it.
  uint64_t work = 0;
};

// At most this many results are kept in a report; a data graph that breaks
// more shapes than this is reported with the first ones and a count.
inline constexpr std::size_t kMaxReportResults = 1000000;

// Prefix name, namespace pairs that reports shorten IRIs with.
using ReportPrefixList = std::vector<std::pair<std::string, std::string>>;

// The writers put the report on `out` result by result, holding no more
// than one result's texts at a time: a report of any size is written in
// bounded memory. They stop at the first result after `out` fails (a full
// disk, a closed pipe): the caller checks `out`.

// The report as Turtle: prefixes sh:, xsd:, rdf: and those of `prefixes`
// (name, namespace pairs), one sh:ValidationResult per result in order,
// the paths as the shapes graph states them.
QAX_API void WriteReportTurtle(std::ostream& out, const ValidationReport& report,
                               const ReportPrefixList& prefixes = {});

// The report as one JSON object, indented by two spaces, with a final
// newline: {"conforms": bool, "results": [{"focusNode": ..., "resultPath":
// ..., "value": ..., "sourceShape": ..., "sourceConstraintComponent": ...,
// "resultSeverity": ..., "resultMessage": [...]}], "resultsLeftOut": n};
// terms as strings in N-Triples form, paths as SHACL path text in Turtle
// form, bytes that are not UTF-8 as U+FFFD.
QAX_API void WriteReportJson(std::ostream& out, const ValidationReport& report,
                             const ReportPrefixList& prefixes = {});

// The report for people: one line per result, "<severity>: <focus> <path>
// <value>: <message>", IRIs shortened with `prefixes` where one matches,
// then a last line saying whether the data conforms and how many results
// there are.
QAX_API void WriteReportText(std::ostream& out, const ValidationReport& report,
                             const ReportPrefixList& prefixes = {});

// The same as one string, for reports small enough to hold whole.
QAX_API std::string ReportAsTurtle(const ValidationReport& report,
                                   const ReportPrefixList& prefixes = {});
QAX_API std::string ReportAsJson(const ValidationReport& report,
                                 const ReportPrefixList& prefixes = {});
QAX_API std::string ReportAsText(const ValidationReport& report,
                                 const ReportPrefixList& prefixes = {});

}  // namespace qaxoi::shacl

#endif  // QAX_HOST_QAX_SHACL_VALIDATIONREPORT_H_
