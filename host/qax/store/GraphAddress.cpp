#include "host/qax/store/GraphAddress.h"

#include <string_view>

#include "host/qax/rdf/WritableNames.h"
#include "host/qax/store/HttpExchange.h"

namespace qaxoi::store {

namespace {

// The query parameters that name the graph: the protocol's, and the
// spelling of Virtuoso's documentation.
constexpr std::string_view kGraphParameters[] = {"graph", "graph-uri"};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

}  // namespace

std::string GraphAddress::Url() const {
  return endpoint + (endpoint.find('?') == std::string::npos ? "?" : "&") +
         "graph=" + PercentEncoded(graph);
}

qaxoi::Status ResolveGraphAddress(const std::string& storeUrl, const std::string& graph,
                                  GraphAddress* address) {
  if (qaxoi::Status checked = CheckUrl(storeUrl); !checked.ok()) return checked;
  const std::size_t fragment = storeUrl.find('#');
  const std::string url = storeUrl.substr(0, fragment);
  const std::size_t question = url.find('?');
  std::string endpoint = url.substr(0, question);
  std::string named;
  std::string kept;
  if (question != std::string::npos) {
    std::string_view query(url);
    query.remove_prefix(question + 1);
    while (!query.empty()) {
      const std::size_t amp = query.find('&');
      const std::string_view parameter = query.substr(0, amp);
      query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
      const std::size_t equals = parameter.find('=');
      const std::string_view name = parameter.substr(0, equals);
      bool isGraph = false;
      for (const std::string_view known : kGraphParameters) isGraph = isGraph || name == known;
      if (isGraph && equals != std::string_view::npos) {
        const std::string value = PercentDecoded(parameter.substr(equals + 1));
        if (!named.empty() && value != named) {
          return qaxoi::Status::InvalidArgument(storeUrl + ": the URL names two graphs");
        }
        named = value;
      } else if (!parameter.empty()) {
        kept += (kept.empty() ? "" : "&") + std::string(parameter);
      }
    }
  }
  if (!named.empty() && !graph.empty() && named != graph) {
    return qaxoi::Status::InvalidArgument("the store URL names the graph <" + named +
                                          ">, and the graph given is <" + graph + ">");
  }
  const std::string chosen = named.empty() ? graph : named;
  if (chosen.empty()) {
    return qaxoi::Status::InvalidArgument(storeUrl + ": no graph named (give one)");
  }
  if (!qaxoi::rdf::IsWritableIri(chosen)) {
    return qaxoi::Status::InvalidArgument("the graph '" + chosen + "' is no absolute IRI");
  }
  if (!kept.empty()) endpoint += "?" + kept;
  address->endpoint = endpoint;
  address->graph = chosen;
  return qaxoi::Status::Ok();
}

}  // namespace qaxoi::store
