// OntologyModel::LoadFile and LoadText: read the document whole, parse it,
// and only then build the model, so that a failure never leaves a part of a
// model behind.
#include <serd/serd.h>

#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "host/qax/OntologyModel.h"
#include "host/qax/rdf/ClassExpressions.h"
#include "host/qax/rdf/RdfReader.h"
#include "host/qax/rdf/RdfStatements.h"
#include "host/qax/rdf/VocabularyMapper.h"

namespace QAX {
namespace Ontology {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Reads the whole file at `path` into `bytes`; on failure answers false and
// sets `error`.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  // The size is only a hint (the file may change while it is read).
  if (std::fseek(file.get(), 0, SEEK_END) == 0) {
    const long size = std::ftell(file.get());
    if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
    std::rewind(file.get());
  }
  char buffer[1 << 16];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof(buffer), file.get())) > 0) bytes.append(buffer, got);
  if (std::ferror(file.get()) != 0) {
    error = path + ": cannot read: " + std::strerror(errno);
    return false;
  }
  return true;
}

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

LoadResult Load(const std::string& document, RdfSyntax syntax, const std::string& sourceName,
                const std::string& baseIri) {
  LoadResult result;
  if (syntax == RdfSyntax::kFromExtension) syntax = RdfSyntaxFromPath(sourceName);
  if (syntax == RdfSyntax::kFromExtension) {
    result.error = sourceName +
                   ": cannot tell the RDF syntax from the name; use .ttl, .nt or .nq, or "
                   "give the syntax";
    return result;
  }
  Rdf::RdfStatements statements;
  if (!Rdf::ReadRdf(document, syntax, sourceName, baseIri, statements, result.error)) {
    return result;
  }
  Rdf::ResolveClassExpressions(statements, sourceName, result.warnings);
  auto model = std::make_unique<OntologyModel>();
  Rdf::BuildModel(statements, sourceName, *model, result.warnings);
  result.model = std::move(model);
  return result;
}

}  // namespace

LoadResult OntologyModel::LoadFile(const std::string& path, RdfSyntax syntax) {
  LoadResult result;
  std::string document;
  if (!ReadWholeFile(path, document, result.error)) return result;
  return Load(document, syntax, path, FileIri(path));
}

LoadResult OntologyModel::LoadText(const std::string& text, RdfSyntax syntax,
                                   const std::string& sourceName, const std::string& baseIri) {
  return Load(text, syntax, sourceName, baseIri);
}

}  // namespace Ontology
}  // namespace QAX
