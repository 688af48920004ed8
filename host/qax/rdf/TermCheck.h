// What every reader refuses in a term once the parser has decoded it: text
// that is not a sequence of characters, and language tags that RDF does not
// allow. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_TERMCHECK_H_
#define QAX_HOST_QAX_RDF_TERMCHECK_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "host/qax/rdf/Term.h"

namespace qaxoi::rdf {

// The most bytes of a language tag quoted in a refusal; a longer tag is cut
// and marked "...".
inline constexpr std::size_t kMaxQuotedTagBytes = 64;

// True when `tag` is a language tag as RDF allows it (BCP 47's syntax):
// one or more ASCII letters, then any number of '-' and one or more ASCII
// letters or digits.
bool IsLanguageTagSyntax(std::string_view tag);

// What is wrong with `term` as a parser decoded it, or empty when nothing is:
// an IRI, blank node label, lexical form, language tag or datatype that is not
// well-formed UTF-8 (escapes such as "\uD800" or "&#xD800;" decode to a
// surrogate, which is no character, and a writer could not write it), or a
// language tag of another syntax than IsLanguageTagSyntax's. One pass over
// the term's bytes.
std::string TermFault(const Term& term);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_TERMCHECK_H_
