// The languages a user reads, in order, and the one choice of a text by them
// that everything showing labels or documentation makes.
#ifndef QAX_HOST_QAX_MODEL_LANGUAGEPREFERENCE_H_
#define QAX_HOST_QAX_MODEL_LANGUAGEPREFERENCE_H_

#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/TermTexts.h"

namespace QAX {
namespace Ontology {

// BCP 47 language tags, most wanted first ("pt-br", "en"). Tags are
// compared in lower case; an empty list wants nothing in particular.
struct LanguagePreference {
  std::vector<std::string> tags;
};

// The text of `texts` (any order) that a reader with `preference` gets:
//   1. for each tag in order, a text of exactly that language, else one of a
//      language the tag is a prefix of up to a '-' (basic filtering: "en"
//      takes "en-gb"), else one of exactly the tag cut at its last '-',
//      then at the one before ("pt-br" falls back to "pt", not to "pt-pt");
//   2. else a text without a language;
//   3. else an English one ("en", then "en-..." by tag);
//   4. else any: the least language tag.
// Within one step, the least tag, then the least text, in byte order.
// Null only when `texts` is empty. For texts "Colour"@en-gb, "Cor"@pt,
// "Farbe"@de: preference de,pt gives "Farbe", pt-br,de gives "Cor" (pt-br
// falls back to pt before de is tried), fr gives "Colour" (English), and
// with an untagged "Color" added fr gives "Color". Linear in the number of
// tags times their length times the texts; allocates nothing.
QAX_API const LangText* ChooseText(const std::vector<LangText>& texts,
                                   const LanguagePreference& preference);

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_LANGUAGEPREFERENCE_H_
