#include "tools/qax-host/DisplayTexts.h"

namespace qaxoi::qax_host {

std::string DisplayLabel(const QAX::Ontology::TermTexts* texts,
                         const QAX::Ontology::LanguagePreference& languages) {
  if (texts == nullptr) return std::string();
  const QAX::Ontology::LangText* label = QAX::Ontology::ChooseText(texts->labels, languages);
  return label != nullptr ? label->text : std::string();
}

Json TextsByLanguage(const std::vector<QAX::Ontology::LangText>& texts) {
  Json byLanguage = Json::object();
  for (const QAX::Ontology::LangText& text : texts) byLanguage[text.language] = text.text;
  return byLanguage;
}

void AddTexts(const QAX::Ontology::TermTexts* texts, Json& json) {
  static const std::vector<QAX::Ontology::LangText> kNone;
  json["labels"] = TextsByLanguage(texts != nullptr ? texts->labels : kNone);
  json["docs"] = TextsByLanguage(texts != nullptr ? texts->docs : kNone);
}

}  // namespace qaxoi::qax_host
