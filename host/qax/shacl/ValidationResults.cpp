// A report's results and the tables they share.
#include <utility>

#include "host/qax/shacl/ValidationReport.h"

namespace qaxoi::shacl {

const ReportTerm& ValidationResult::FocusNode() const { return results_->terms_[record_->focus]; }

const ReportPath* ValidationResult::ResultPath() const {
  return record_->path == ResultRecord::kNone ? nullptr : results_->paths_[record_->path].get();
}

bool ValidationResult::HasValue() const { return record_->value != ResultRecord::kNone; }

const ReportTerm& ValidationResult::Value() const { return results_->terms_[record_->value]; }

const ReportTerm& ValidationResult::SourceShape() const {
  return results_->terms_[results_->shapes_[record_->shape].node];
}

const std::string& ValidationResult::SourceConstraintComponent() const {
  return results_->iris_[record_->component];
}

const std::string& ValidationResult::ResultSeverity() const {
  return results_->iris_[results_->shapes_[record_->shape].severity];
}

ReportTermList ValidationResult::ResultMessages() const {
  const std::vector<uint32_t>& shared = results_->shapes_[record_->shape].messages;
  // The validator's own message is the one term the record names itself.
  if (shared.empty()) return {&results_->terms_, &record_->message, &record_->message + 1};
  return {&results_->terms_, shared.data(), shared.data() + shared.size()};
}

ValidationResults::Index ValidationResults::AddTerm(ReportTerm term) {
  terms_.push_back(std::move(term));
  return static_cast<Index>(terms_.size() - 1);
}

ValidationResults::Index ValidationResults::AddPath(std::shared_ptr<const ReportPath> path) {
  paths_.push_back(std::move(path));
  return static_cast<Index>(paths_.size() - 1);
}

ValidationResults::Index ValidationResults::AddIri(std::string iri) {
  iris_.push_back(std::move(iri));
  return static_cast<Index>(iris_.size() - 1);
}

ValidationResults::Index ValidationResults::AddShape(ShapeTexts shape) {
  shapes_.push_back(std::move(shape));
  return static_cast<Index>(shapes_.size() - 1);
}

void ValidationResults::Add(const ResultTexts& texts) {
  ShapeTexts shape;
  shape.node = AddTerm(texts.sourceShape);
  shape.severity = AddIri(texts.resultSeverity);
  ResultRecord record;
  // Several messages are the shape's; one is the result's own, as the
  // validator keeps its messages. None breaks the contract: an empty one
  // stands for it, so that a result never lacks a message.
  if (texts.resultMessages.size() <= 1) {
    record.message =
        AddTerm(texts.resultMessages.empty() ? ReportTerm{TermKind::kLiteral, {}, {}, {}}
                                             : texts.resultMessages.front());
  } else {
    for (const ReportTerm& message : texts.resultMessages)
      shape.messages.push_back(AddTerm(message));
  }
  record.shape = AddShape(std::move(shape));
  record.component = AddIri(texts.sourceConstraintComponent);
  record.focus = AddTerm(texts.focusNode);
  if (texts.hasValue) record.value = AddTerm(texts.value);
  if (texts.resultPath) record.path = AddPath(texts.resultPath);
  AddRecord(record);
}

}  // namespace qaxoi::shacl
