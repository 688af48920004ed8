// Ontology items written as RDF instance data.
#ifndef QAX_HOST_QAX_RDF_ITEMWRITER_H_
#define QAX_HOST_QAX_RDF_ITEMWRITER_H_

#include <string>
#include <vector>

#include "host/qax/QAXExport.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/ItemSubject.h"
#include "host/qax/rdf/RdfSyntax.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

// A whole document that WriteItems or WriteItemsJsonLd wrote, never a part.
struct WrittenItems {
  // The document, complete with its prefixes.
  std::string text;
  // Values left out, repaired or written otherwise than their range says,
  // one line each: an attribute that names no attribute of the item's class
  // (or of its parents), a text that was not UTF-8 and had its bad bytes
  // replaced by U+FFFD, or a text that is no lexical form of its datatype
  // and is written as a plain string.
  std::vector<std::string> warnings;
};

// Writes `items` as one Turtle or N-Triples document (`syntax` kTurtle or
// kNTriples): each item a subject with `rdf:type` its class's IRI (the class
// handle, found in `model` by the item's FQ name), then one statement per
// value in attribute order, with the property's IRI (the attribute's scope
// namespace, OntologyModel::GetNamespace, and its name; the class's own
// attributes before its parents'). A text is written as the attribute's
// value type says (MetaAttr::GetValueType): a reference as the IRI it names
// (failing with kInvalidInput, naming the value and the allowed values, when
// it names none), a literal of the range's datatype where the text is a
// lexical form of it (a plain string with a warning where not), else a
// literal typed by the attribute's kind where the text is a lexical form of
// the type (xsd:boolean, xsd:integer, xsd:decimal, xsd:double,
// xsd:dateTime, xsd:date; booleans in their canonical form, true or false)
// and a plain string otherwise; a nested item is a blank node (or the IRI
// of its path, ItemSubject::nestedByPath) described after its parent; a list gives one statement
// per element. Turtle output declares a prefix per library of `model` (and xsd). The document goes
// to `written`, which is left as it was on failure: kInvalidArgument for another syntax,
// kInvalidInput for a null item, an IRI that is not absolute, is not UTF-8 or holds a character
// that IRIs may not, or an item (nested ones included) whose class `model` does not have.
// Whether WriteItems and WriteItemsJsonLd take `iri` as an item's subject
// (ItemSubject::iri): an absolute IRI (a scheme, then ':') of well-formed
// UTF-8 without a character that IRIs may not hold (white space, controls,
// < > " { } | ^ ` \).
QAX_API bool IsSubjectIri(const std::string& iri);

QAX_API qaxoi::Status WriteItems(const std::vector<ItemSubject>& items,
                                 const QAX::Ontology::OntologyModel& model, RdfSyntax syntax,
                                 WrittenItems* written);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_ITEMWRITER_H_
