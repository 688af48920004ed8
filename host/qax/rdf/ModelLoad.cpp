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
#include "host/qax/rdf/StatementSink.h"
#include "host/qax/rdf/VocabularyMapper.h"

namespace QAX {
namespace Ontology {
namespace {

// Parses the document `source` gives and builds the model from it; `text`
// is the same document when the caller holds it in memory, else null. While
// it is parsed the load holds `heldBytes` for it (the document when it is in
// memory, else a page); `release`, when given, is called once it is parsed,
// to let go of what the caller holds for it before the model is built.
template <typename Release>
LoadResult Load(Rdf::DocumentSource& source, const std::string* text, std::uint64_t heldBytes,
                RdfSyntax syntax, const std::string& sourceName, const std::string& baseIri,
                Release release) {
  LoadResult result;
  Rdf::LoadBudget budget(source.Size());
  Rdf::RdfStatements statements(budget);
  Rdf::StatementSink sink(statements);
  if (!Rdf::ReadDocument(source, text, heldBytes, syntax, sourceName, baseIri, sink, budget,
                         result.error, result.warnings)) {
    return result;
  }
  release();
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

LoadResult LoadModelFile(const std::string& path, RdfSyntax syntax) {
  qax_files::InputFile file;
  std::string error;
  if (!file.Open(path, &error)) {
    LoadResult result;
    result.error = error;
    return result;
  }
  Rdf::FileSource source(file);
  return Load(source, nullptr, source.HeldBytes(), syntax, path, Rdf::FileIri(path),
              [&file] { file.Close(); });
}

LoadResult LoadModelText(const std::string& text, RdfSyntax syntax, const std::string& sourceName,
                         const std::string& baseIri) {
  Rdf::TextSource source(text);
  return Load(source, &text, text.size(), syntax, sourceName, baseIri, [] {});
}

}  // namespace Ontology
}  // namespace QAX
