// One term of an RDF statement as a parser hands it over. Internal to the QAX
// library.
#ifndef QAX_HOST_QAX_RDF_TERM_H_
#define QAX_HOST_QAX_RDF_TERM_H_

#include <cstdint>
#include <string_view>

namespace qaxoi::rdf {

// One term of a statement as a parser hands it over. The views are the
// parser's and need to stay valid only during the call.
struct Term {
  enum class Kind : uint8_t { kIri, kBlank, kLiteral };
  Kind kind = Kind::kIri;
  // An absolute IRI (kIri), a blank node's label, unique within the document
  // (kBlank), or a literal's lexical form (kLiteral).
  std::string_view text;
  // A literal's language tag; empty when it has none.
  std::string_view language;
  // A literal's datatype IRI; empty for a plain or language-tagged literal.
  std::string_view datatype;

  static Term Iri(std::string_view iri) { return Term{Kind::kIri, iri, {}, {}}; }
  static Term Blank(std::string_view label) { return Term{Kind::kBlank, label, {}, {}}; }
  static Term Literal(std::string_view text, std::string_view language,
                      std::string_view datatype = {}) {
    return Term{Kind::kLiteral, text, language, datatype};
  }
};

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_TERM_H_
