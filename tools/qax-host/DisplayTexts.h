// What qax-host shows of the labels and documentation texts of classes and
// attributes: the one chosen for the user's languages, or all of them for
// scripts.
#ifndef QAX_TOOLS_QAX_HOST_DISPLAYTEXTS_H_
#define QAX_TOOLS_QAX_HOST_DISPLAYTEXTS_H_

#include <string>
#include <vector>

#include "host/qax/model/QAX.h"
#include "tools/qax-host/Output.h"

namespace qaxoi::qax_host {

// The label of `texts` (null: none) that QAX::Ontology::ChooseText picks for
// `languages`; empty when there is none.
std::string DisplayLabel(const QAX::Ontology::TermTexts* texts,
                         const QAX::Ontology::LanguagePreference& languages);

// Every text of `texts` by its language, {"en": "American", "pt":
// "Americana"}, a text without one under ""; {} for none.
Json TextsByLanguage(const std::vector<QAX::Ontology::LangText>& texts);

// {"labels": ..., "docs": ...} of `texts` (null: both empty), as
// TextsByLanguage writes them, added to the object `json`.
void AddTexts(const QAX::Ontology::TermTexts* texts, Json& json);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_DISPLAYTEXTS_H_
