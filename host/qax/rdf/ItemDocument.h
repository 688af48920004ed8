// What an RDF document of ontology items says, decided once for every syntax
// it is written in: the prefixes, each item's node, and each value as a typed
// literal or a nested node. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_ITEMDOCUMENT_H_
#define QAX_HOST_QAX_RDF_ITEMDOCUMENT_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/ItemSubject.h"
#include "host/qax/rdf/WritableNames.h"
#include "host/status/Status.h"

namespace qaxoi::rdf {

inline constexpr char kRdfType[] = "http://www.w3.org/1999/02/22-rdf-syntax-ns#type";
inline constexpr char kXsdNamespace[] = "http://www.w3.org/2001/XMLSchema#";

// One value of an item: a literal, or the node of a nested item.
struct ItemValue {
  std::string property;  // the property's IRI
  // The literal's lexical form, or a reference's IRI; empty for a nested
  // item.
  std::string text;
  // The literal's datatype IRI; empty for a plain string, a reference or a
  // nested item.
  std::string datatype;
  // The index of the nested item's node in ItemDocument::nodes, always
  // greater than the index of the node that holds it; kNoNode for a literal.
  std::size_t nested;
  // True for a reference: `text` is an IRI, written as one.
  bool iri = false;
};

inline constexpr std::size_t kNoNode = static_cast<std::size_t>(-1);

// One item: its subject and class, then its values in attribute order.
struct ItemNode {
  // The subject's IRI, or for a blank node its label ("b1", "b2", ... in
  // node order, unique within the document).
  std::string subject;
  bool blank = true;
  std::string classIri;
  std::vector<ItemValue> values;
  // Nesting level: 1 for an item given to the writer, its parent's plus one
  // for a nested item.
  std::size_t depth = 1;
};

struct ItemDocument {
  // The prefixes a document declares, as (name, namespace) in declaration
  // order: one per library of the model whose name is a Turtle prefix name
  // and whose namespace a writable IRI, then xsd unless a library took it.
  std::vector<std::pair<std::string, std::string>> prefixes;
  // Every item of the document, breadth first from each item given, so that
  // a nested item's node comes after its parent's.
  std::vector<ItemNode> nodes;
  // Values left out or repaired, one line each, each said once.
  std::vector<std::string> warnings;
};

// Describes `items` in `document`, which must be empty. Fails with
// kInvalidInput (the document then holds a part only) for a null item, an
// IRI that IsWritableIri refuses, or an item (nested ones included) whose
// class `model` does not have or has under an IRI that cannot be written, or
// a value whose property IRI (its library's namespace and its name) cannot be
// written: the message names the item's class, the value (cut to 80 bytes)
// and the attribute. A value whose attribute is not of the item's class is
// left out with a warning; a text that is not UTF-8 has its bad
// bytes replaced by U+FFFD with a warning; a boolean is written in its
// canonical form. A literal takes the datatype its attribute's value type
// gives (MetaAttr::GetValueType) where the text is a lexical form of it, and
// is a plain string with a warning where it is not. A reference's text must
// name an IRI (ResolveReference); one that names none fails with
// kInvalidInput, naming the class, the attribute, the value and the allowed
// values. Walks items breadth first, without recursion; the document
// keeps no pointer into the items.
qaxoi::Status DescribeItems(const std::vector<ItemSubject>& items,
                            const QAX::Ontology::OntologyModel& model, ItemDocument& document);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_ITEMDOCUMENT_H_
