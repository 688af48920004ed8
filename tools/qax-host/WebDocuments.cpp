#include "tools/qax-host/WebDocuments.h"

#include <cctype>

namespace qaxoi::qax_host {

namespace {

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i] != '\0'; ++i) {
    if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) !=
                                static_cast<unsigned char>(prefix[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool IsWebUrl(const std::string& path) {
  return StartsWithIgnoringCase(path, "http://") || StartsWithIgnoringCase(path, "https://");
}

qaxoi::Status FetchWebDocument(const std::string& url, const qaxoi::store::StoreOptions& network,
                               qaxoi::store::RemoteDocument* document) {
  qaxoi::store::StoreClient client(network);
  return client.GetDocument(url, document);
}

}  // namespace qaxoi::qax_host
