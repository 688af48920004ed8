// What the first bytes of a document are written in, as syntax detection
// tells it, with a name for what is not read. Internal to the QAX library.
#ifndef QAX_HOST_QAX_RDF_DOCUMENTSYNTAX_H_
#define QAX_HOST_QAX_RDF_DOCUMENTSYNTAX_H_

#include <string>
#include <string_view>

#include "host/qax/rdf/RdfSyntax.h"

namespace qaxoi::rdf {

struct DocumentSyntax {
  // The syntax read that the bytes are in; kDetect when they are in none.
  RdfSyntax syntax = RdfSyntax::kDetect;
  // For kTurtle: no directive comes first, and the first statement is one
  // line of three terms and a '.', as in N-Triples (which is read as
  // Turtle).
  bool nTriplesLine = false;
  // For kTurtle: told only because the first statement starts with an IRI
  // or a blank node, as Turtle's may, without a directive before it and
  // without a line of three or four terms: a broken N-Triples or N-Quads
  // line looks the same.
  bool unsure = false;
  // For kDetect, what the document is, as a message names it: "OWL/XML",
  // "HTML", "XML", "JSON", "UTF-16", "the OWL functional syntax", "the OWL
  // Manchester syntax"; empty when the bytes are in no syntax known.
  std::string_view other;
  // For kDetect, the sentence DetectRdfSyntax refuses the document with.
  std::string refusal;
};

// Tells the syntax of `firstBytes` as DetectRdfSyntax describes it. Reads no
// further than the first statement or element.
DocumentSyntax TellDocumentSyntax(std::string_view firstBytes);

}  // namespace qaxoi::rdf

#endif  // QAX_HOST_QAX_RDF_DOCUMENTSYNTAX_H_
