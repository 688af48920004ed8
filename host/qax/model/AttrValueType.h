// How the values of an attribute are written: as literals of a datatype, or
// as references to resources, perhaps among a fixed set of individuals.
#ifndef QAX_HOST_QAX_MODEL_ATTRVALUETYPE_H_
#define QAX_HOST_QAX_MODEL_ATTRVALUETYPE_H_

#include <string>
#include <vector>

namespace QAX {
namespace Ontology {

// What a value of an attribute stands for.
enum class AttrValueForm {
  kLiteral,    // a literal: the text, with a datatype (AttrValueType::datatype)
  kReference,  // a resource: the text names an IRI, written as an IRI
};

// One resource an attribute's reference may name: its IRI and how it is
// shown, "library:Local" where its namespace has a library name, else
// "<IRI>".
struct AttrIndividual {
  std::string iri;
  std::string name;
};

// How the values of one attribute are written. The default, a literal with
// no datatype of its own, leaves every decision to the attribute's kind,
// which is what a model built in code gets. A vocabulary's loader derives it
// from the attribute's ranges (docs/vocabularies.md); one record may be
// shared by all attributes of one property.
struct AttrValueType {
  AttrValueForm form = AttrValueForm::kLiteral;
  // kLiteral: the datatype IRI a value is written with when the text is a
  // lexical form of it; a text that is not is written as a plain string,
  // with a warning. An unknown datatype (none that the writer checks) is
  // written as given. Empty: the kind decides.
  std::string datatype;
  // kLiteral, a range of several datatypes (schema:Number or schema:Text):
  // the datatypes tried in order before `datatype` and the kind; the first
  // the text is a lexical form of is written. `textAllowed` says that one of
  // the range's datatypes is text, so a value of none of them is a plain
  // string without a warning.
  std::vector<std::string> orDatatypes;
  bool textAllowed = false;
  // kReference: the resources a value may name, in IRI order; empty when
  // any IRI is allowed.
  std::vector<AttrIndividual> individuals;

  bool IsReference() const { return form == AttrValueForm::kReference; }
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_ATTRVALUETYPE_H_
