// RDF documents named by an http or https URL where a file is expected
// (--ontology, validate's DATA and --shapes): fetched through the store
// client, content-negotiated to a syntax the readers know.
#ifndef QAX_TOOLS_QAX_HOST_WEBDOCUMENTS_H_
#define QAX_TOOLS_QAX_HOST_WEBDOCUMENTS_H_

#include <string>

#include "host/qax/store/StoreClient.h"
#include "host/status/Status.h"

namespace qaxoi::qax_host {

// Whether `path` is an http:// or https:// URL (the scheme in any case)
// rather than a file; a file of such a name is given as ./http:...
bool IsWebUrl(const std::string& path);

// Fetches the document at `url` with `network`'s bounds and credentials;
// fails as StoreClient::GetDocument says.
qaxoi::Status FetchWebDocument(const std::string& url, const qaxoi::store::StoreOptions& network,
                               qaxoi::store::RemoteDocument* document);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_WEBDOCUMENTS_H_
