// OntologyModel::LoadFile and LoadText: parse the document, and only then
// build the model, so that a failure never leaves a part of a model behind.
// A regular file is parsed as it is read, a page at a time, and never held
// whole; a stream (standard input, a pipe) is held whole until it is parsed,
// since placing an error reads the document again. An RDF/XML document is
// held whole while it is parsed.
#include <serd/serd.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "host/files/InputFile.h"
#include "host/qax/OntologyModel.h"
#include "host/qax/rdf/ClassExpressions.h"
#include "host/qax/rdf/DocumentSource.h"
#include "host/qax/rdf/LoadBudget.h"
#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/RdfXmlReader.h"
#include "host/qax/rdf/VocabularyMapper.h"

namespace QAX {
namespace Ontology {
namespace {

// How much of a document the syntax is told from when its name does not
// tell it: enough for a DOCTYPE of entities or a header of comments.
constexpr std::size_t kDetectBytes = std::size_t{64} << 10;

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

// A file opened for reading, as the parser reads documents.
class FileSource : public Rdf::DocumentSource {
 public:
  explicit FileSource(qax_files::InputFile& file) : file_(file) {}
  std::uint64_t Size() const override { return file_.Size(); }
  bool Read(std::uint64_t offset, char* buffer, std::size_t count, std::size_t& got,
            std::string& error) override {
    return file_.ReadAt(offset, buffer, count, &got, &error);
  }

 private:
  qax_files::InputFile& file_;
};

// Reads all of `source` into `document`; false, with `error` set, when it
// cannot be read. The source's size is at most the reading cap (1 GiB).
bool ReadWhole(Rdf::DocumentSource& source, std::string& document, std::string& error) {
  document.resize(static_cast<std::size_t>(source.Size()));
  std::size_t got = 0;
  if (!source.Read(0, document.data(), document.size(), got, error)) return false;
  document.resize(got);
  return true;
}

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
  if (syntax == RdfSyntax::kDetect) syntax = RdfSyntaxFromPath(sourceName);
  if (syntax == RdfSyntax::kDetect) {
    std::string head(kDetectBytes, '\0');
    std::size_t got = 0;
    if (!source.Read(0, head.data(), head.size(), got, result.error)) return result;
    head.resize(got);
    std::string refusal;
    syntax = DetectRdfSyntax(head, &refusal);
    if (syntax == RdfSyntax::kDetect) {
      result.error = sourceName + ": " + refusal;
      return result;
    }
  }
  // raptor parses a document held whole (its bounds are checked over the
  // whole of it first), so an RDF/XML file is read into memory, and counts
  // whole while it is parsed.
  std::string xml;
  if (syntax == RdfSyntax::kRdfXml && text == nullptr) {
    if (!ReadWhole(source, xml, result.error)) return result;
    text = &xml;
    heldBytes = xml.size();
  }
  Rdf::LoadBudget budget(source.Size());
  budget.Charge(heldBytes);
  Rdf::RdfStatements statements(budget);
  const bool read =
      syntax == RdfSyntax::kRdfXml
          ? Rdf::ReadRdfXml(*text, sourceName, baseIri, statements, result.error, result.warnings)
          : Rdf::ReadRdf(source, syntax, sourceName, baseIri, statements, result.error);
  if (!read) {
    result.warnings.clear();
    return result;
  }
  std::string().swap(xml);
  budget.Release(heldBytes);
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

LoadResult OntologyModel::LoadFile(const std::string& path, RdfSyntax syntax) {
  qax_files::InputFile file;
  std::string error;
  if (!file.Open(path, &error)) {
    LoadResult result;
    result.error = error;
    return result;
  }
  FileSource source(file);
  // serd keeps one page of a file that is read as it is parsed.
  constexpr std::uint64_t kPageBytes = std::uint64_t{64} << 10;
  const std::uint64_t held =
      file.HeldWhole() ? file.Size() : std::min<std::uint64_t>(file.Size(), kPageBytes);
  return Load(source, nullptr, held, syntax, path, FileIri(path), [&file] { file.Close(); });
}

LoadResult OntologyModel::LoadText(const std::string& text, RdfSyntax syntax,
                                   const std::string& sourceName, const std::string& baseIri) {
  Rdf::TextSource source(text);
  return Load(source, &text, text.size(), syntax, sourceName, baseIri, [] {});
}

}  // namespace Ontology
}  // namespace QAX
