#include "host/qax/rdf/ItemWriter.h"

#include <serd/serd.h>

#include <cstdint>
#include <memory>

#include "host/qax/rdf/ItemDocument.h"

namespace qaxoi::rdf {

namespace {

SerdNode Node(SerdType type, const std::string& text) {
  return serd_node_from_substring(type, reinterpret_cast<const std::uint8_t*>(text.data()),
                                  text.size());
}

std::size_t AppendToString(const void* bytes, std::size_t length, void* stream) {
  static_cast<std::string*>(stream)->append(static_cast<const char*>(bytes), length);
  return length;
}

struct FreeWriter {
  void operator()(SerdWriter* writer) const { serd_writer_free(writer); }
};
struct FreeEnv {
  void operator()(SerdEnv* env) const { serd_env_free(env); }
};

void SetPrefix(SerdWriter* writer, const std::string& name, const std::string& ns) {
  const SerdNode nameNode = Node(SERD_LITERAL, name);
  const SerdNode nsNode = Node(SERD_URI, ns);
  serd_writer_set_prefix(writer, &nameNode, &nsNode);
}

// Writes `document` as `syntax` into `text`.
qaxoi::Status Write(const ItemDocument& document, RdfSyntax syntax, std::string& text) {
  const bool turtle = syntax == RdfSyntax::kTurtle;
  std::unique_ptr<SerdEnv, FreeEnv> env(serd_env_new(nullptr));
  std::unique_ptr<SerdWriter, FreeWriter> writer(
      serd_writer_new(turtle ? SERD_TURTLE : SERD_NTRIPLES,
                      turtle ? static_cast<SerdStyle>(SERD_STYLE_ABBREVIATED | SERD_STYLE_CURIED)
                             : static_cast<SerdStyle>(0),
                      env.get(), nullptr, &AppendToString, &text));
  if (!env || !writer) return qaxoi::Status::InvalidInput("the RDF writer could not be made");
  if (turtle) {
    for (const auto& [name, ns] : document.prefixes) SetPrefix(writer.get(), name, ns);
  }
  const std::string typeIri = kRdfType;  // the node points into it
  const SerdNode type = Node(SERD_URI, typeIri);
  for (const ItemNode& node : document.nodes) {
    const SerdNode subject = Node(node.blank ? SERD_BLANK : SERD_URI, node.subject);
    const SerdNode classIri = Node(SERD_URI, node.classIri);
    bool written = serd_writer_write_statement(writer.get(), 0, nullptr, &subject, &type, &classIri,
                                               nullptr, nullptr) == SERD_SUCCESS;
    for (const ItemValue& value : node.values) {
      if (!written) break;
      const SerdNode predicate = Node(SERD_URI, value.property);
      const SerdNode object = value.nested != kNoNode
                                  ? Node(document.nodes[value.nested].blank ? SERD_BLANK : SERD_URI,
                                         document.nodes[value.nested].subject)
                                  : Node(value.iri ? SERD_URI : SERD_LITERAL, value.text);
      const SerdNode datatype = Node(SERD_URI, value.datatype);
      written = serd_writer_write_statement(writer.get(), 0, nullptr, &subject, &predicate, &object,
                                            value.datatype.empty() ? nullptr : &datatype,
                                            nullptr) == SERD_SUCCESS;
    }
    if (!written) {
      return qaxoi::Status::InvalidInput("the RDF writer refused a statement about " +
                                         node.subject);
    }
  }
  serd_writer_finish(writer.get());
  return qaxoi::Status::Ok();
}

}  // namespace

bool IsSubjectIri(const std::string& iri) { return IsWritableIri(iri); }

qaxoi::Status WriteItems(const std::vector<ItemSubject>& items,
                         const QAX::Ontology::OntologyModel& model, RdfSyntax syntax,
                         WrittenItems* written) {
  if (syntax != RdfSyntax::kTurtle && syntax != RdfSyntax::kNTriples) {
    return qaxoi::Status::InvalidArgument("items are written as Turtle or N-Triples only");
  }
  ItemDocument document;
  WrittenItems result;
  qaxoi::Status status = DescribeItems(items, model, document);
  if (status.ok()) status = Write(document, syntax, result.text);
  if (!status.ok()) return status;
  result.warnings = std::move(document.warnings);
  *written = std::move(result);
  return status;
}

}  // namespace qaxoi::rdf
