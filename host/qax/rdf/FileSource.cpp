#include "host/qax/rdf/FileSource.h"

#include <serd/serd.h>
#include <unistd.h>

#include <algorithm>

namespace qaxoi::rdf {

namespace {
// Longer working folders than this leave relative paths as they are.
constexpr std::size_t kMaxFolderBytes = 4096;
}  // namespace

std::uint64_t FileSource::HeldBytes() const {
  return file_.HeldWhole() ? file_.Size() : std::min<std::uint64_t>(file_.Size(), kFilePageBytes);
}

std::string FileIri(const std::string& path) {
  std::string absolute = path;
  if (absolute.empty() || absolute[0] != '/') {
    char cwd[kMaxFolderBytes];
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

}  // namespace qaxoi::rdf
