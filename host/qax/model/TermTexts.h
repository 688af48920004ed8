// The labels and documentation texts of a class or attribute, in every
// language the ontology gives them.
#ifndef QAX_HOST_QAX_MODEL_TERMTEXTS_H_
#define QAX_HOST_QAX_MODEL_TERMTEXTS_H_

#include <string>
#include <vector>

namespace QAX {
namespace Ontology {

// One text and its language: a BCP 47 tag in lower case ("en", "pt-br"),
// empty for a text without one.
struct LangText {
  std::string text;
  std::string language;
};

// What the ontology says a term is called (`labels`: rdfs:label,
// skos:prefLabel) and what it is (`docs`: rdfs:comment, skos:definition,
// dcterms:description), at most one text per language in each list, ordered
// by language, then text, in byte order. LanguagePreference.h chooses one.
struct TermTexts {
  std::vector<LangText> labels;
  std::vector<LangText> docs;

  bool Empty() const { return labels.empty() && docs.empty(); }
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_TERMTEXTS_H_
