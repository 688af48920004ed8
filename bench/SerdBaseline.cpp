// Beside LoadModelFile.
#include <serd/serd.h>

#include <cstdio>
#include <memory>

#include "bench/Baselines.h"
#include "host/qax/rdf/Rdf.h"

namespace qaxoi::bench {
namespace {

SerdStatus IgnoreStatement(void*, SerdStatementFlags, const SerdNode*, const SerdNode*,
                           const SerdNode*, const SerdNode*, const SerdNode*, const SerdNode*) {
  return SERD_SUCCESS;
}

SerdSyntax SyntaxOf(const std::string& path) {
  const auto endsWith = [&](const char* suffix) {
    const std::string end(suffix);
    return path.size() >= end.size() &&
           path.compare(path.size() - end.size(), end.size(), end) == 0;
  };
  if (endsWith(".nq")) return SERD_NQUADS;
  if (endsWith(".nt")) return SERD_NTRIPLES;
  return SERD_TURTLE;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
struct ReaderDeleter {
  void operator()(SerdReader* reader) const { serd_reader_free(reader); }
};

}  // namespace

bool ParseVocabularyBaseline(const std::string& path) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  const std::unique_ptr<SerdReader, ReaderDeleter> reader(serd_reader_new(
      SyntaxOf(path), nullptr, nullptr, nullptr, nullptr, &IgnoreStatement, nullptr));
  serd_reader_set_strict(reader.get(), true);
  return serd_reader_read_file_handle(reader.get(), file.get(),
                                      reinterpret_cast<const uint8_t*>(path.c_str())) ==
         SERD_SUCCESS;
}

}  // namespace qaxoi::bench
