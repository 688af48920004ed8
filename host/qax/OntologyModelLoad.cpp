// OntologyModel::LoadFile and LoadText: read the document whole, parse it,
// and only then build the model, so that a failure never leaves a part of a
// model behind. A file's bytes are let go once parsed, before the model is
// built.
#include <serd/serd.h>

#include <unistd.h>

#include <memory>

#include "host/files/InputFile.h"
#include "host/qax/OntologyModel.h"
#include "host/qax/rdf/ClassExpressions.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/RdfXmlReader.h"
#include "host/qax/rdf/VocabularyMapper.h"

namespace QAX {
namespace Ontology {
namespace {

// The "file:" IRI of `path`, made absolute first so that relative IRIs in
// the document resolve to the file's own folder.
std::string FileIri(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[4096];
    if (getcwd(cwd, sizeof(cwd)) != nullptr) absolute = std::string(cwd) + "/" + path;
  }
  SerdNode node = serd_node_new_file_uri(reinterpret_cast<const uint8_t*>(absolute.c_str()),
                                         nullptr, nullptr, true);
  std::string iri = node.buf == nullptr
                        ? std::string()
                        : std::string(reinterpret_cast<const char*>(node.buf), node.n_bytes);
  serd_node_free(&node);
  return iri;
}

// Parses `document` and builds the model from it. `release`, when not null,
// is the caller's document itself, emptied once parsed so that its bytes are
// not held while the model is built.
LoadResult Load(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
                const std::string& baseIri, std::string* release) {
  LoadResult result;
  if (syntax == RdfSyntax::kDetect) syntax = RdfSyntaxFromPath(sourceName);
  if (syntax == RdfSyntax::kDetect) {
    std::string refusal;
    syntax = DetectRdfSyntax(document, &refusal);
    if (syntax == RdfSyntax::kDetect) {
      result.error = sourceName + ": " + refusal;
      return result;
    }
  }
  // The document counts while it is parsed; a file's bytes are let go after
  // that, and a text held in memory is the caller's.
  Rdf::LoadBudget budget(document.size());
  budget.Charge(document.size());
  Rdf::RdfStatements statements(budget);
  const bool read =
      syntax == RdfSyntax::kRdfXml
          ? Rdf::ReadRdfXml(document, sourceName, baseIri, statements, result.error,
                            result.warnings)
          : Rdf::ReadRdf(document, syntax, sourceName, baseIri, statements, result.error);
  if (!read) {
    result.warnings.clear();
    return result;
  }
  budget.Release(document.size());
  if (release != nullptr) std::string().swap(*release);
  Rdf::ResolveClassExpressions(statements, sourceName, result.warnings);
  statements.Group();
  auto model = std::make_unique<OntologyModel>();
  if (budget.Exhausted() ||
      !Rdf::BuildModel(statements, sourceName, *model, result.warnings, budget)) {
    result.error = budget.Refusal(sourceName);
    result.warnings.clear();
    return result;
  }
  result.model = std::move(model);
  return result;
}

}  // namespace

LoadResult OntologyModel::LoadFile(const std::string& path, RdfSyntax syntax) {
  LoadResult result;
  std::string document;
  if (!qax_files::ReadInputFile(path, &document, &result.error)) return result;
  return Load(document, syntax, path, FileIri(path), &document);
}

LoadResult OntologyModel::LoadText(const std::string& text, RdfSyntax syntax,
                                   const std::string& sourceName, const std::string& baseIri) {
  return Load(text, syntax, sourceName, baseIri, nullptr);
}

}  // namespace Ontology
}  // namespace QAX
