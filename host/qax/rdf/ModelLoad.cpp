// LoadModelFile and LoadModelText: parse the document, and only then
// build the model, so that a failure never leaves a part of a model behind.
// A regular file is parsed as it is read, a page at a time, and never held
// whole; a stream (standard input, a pipe) is held whole until it is parsed,
// since placing an error reads the document again. An RDF/XML document is
// held whole while it is parsed.
#include <cstdint>
#include <memory>

#include "host/files/InputFile.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/rdf/ClassExpressions.h"
#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/FileSource.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/ModelLoad.h"
#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/ReadDocument.h"
#include "host/qax/rdf/ShapeCounts.h"
#include "host/qax/rdf/StatementSink.h"
#include "host/qax/rdf/VocabularyMapper.h"

namespace qaxoi::rdf {
namespace {

// Parses the document `source` gives and builds the model from it; `text`
// is the same document when the caller holds it in memory, else null. While
// it is parsed the load holds `heldBytes` for it (the document when it is in
// memory, else a page); `release`, when given, is called once it is parsed,
// to let go of what the caller holds for it before the model is built.
template <typename Release>
qaxoi::Status Load(DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                   RdfSyntax syntax, const std::string& sourceName, const std::string& baseIri,
                   Release release, LoadedModel* loaded) {
  LoadedModel result;
  LoadBudget budget(source.Size());
  RdfStatements statements(budget);
  StatementSink sink(statements);
  qaxoi::Status read = ReadDocument(source, text, heldBytes, syntax, sourceName, baseIri, sink,
                                    budget, result.warnings);
  if (!read.ok()) return read;
  release();
  ResolveClassExpressions(statements, sourceName, result.warnings);
  ResolveShapeCounts(statements);
  statements.Group();
  result.model = std::make_unique<QAX::Ontology::OntologyModel>();
  if (budget.Exhausted() ||
      !BuildModel(statements, sourceName, *result.model, result.warnings, budget)) {
    return qaxoi::Status::ResourceExhausted(budget.Refusal(sourceName));
  }
  *loaded = std::move(result);
  return qaxoi::Status::Ok();
}

}  // namespace

qaxoi::Status LoadModelFile(const std::string& path, RdfSyntax syntax, LoadedModel* loaded) {
  qaxoi::files::InputFile file;
  qaxoi::Status opened = file.Open(path);
  if (!opened.ok()) return opened;
  FileSource source(file);
  return Load(
      source, nullptr, source.HeldBytes(), syntax, path, FileIri(path), [&file] { file.Close(); },
      loaded);
}

qaxoi::Status LoadModelText(const std::string& text, RdfSyntax syntax,
                            const std::string& sourceName, const std::string& baseIri,
                            LoadedModel* loaded) {
  TextSource source(text);
  return Load(
      source, &text, text.size(), syntax, sourceName, baseIri, [] {}, loaded);
}

}  // namespace qaxoi::rdf
