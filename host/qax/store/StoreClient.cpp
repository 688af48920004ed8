#include "host/qax/store/StoreClient.h"

#include <utility>

#include "host/qax/store/AnswerSyntax.h"
#include "host/qax/store/HttpExchange.h"
#include "host/qax/store/QueryForm.h"
#include "host/qax/store/QueryResultsJson.h"

namespace qaxoi::store {

namespace {

constexpr long kOk = 200;
constexpr long kNotFound = 404;
constexpr long kFirstFailure = 300;

constexpr const char* kTurtleContent = "Content-Type: text/turtle; charset=utf-8";
constexpr const char* kUpdateContent = "Content-Type: application/sparql-update; charset=utf-8";
constexpr const char* kFormContent = "Content-Type: application/x-www-form-urlencoded";
constexpr const char* kResultsAccept = "Accept: application/sparql-results+json";
constexpr const char* kResultsMediaType = "application/sparql-results+json";

bool Succeeded(long status) { return status >= kOk && status < kFirstFailure; }

}  // namespace

class StoreClient::Connection {
 public:
  explicit Connection(StoreOptions options) : exchange(std::move(options)) {}
  HttpExchange exchange;
};

StoreClient::StoreClient(StoreOptions options)
    : connection_(std::make_unique<Connection>(std::move(options))) {}

StoreClient::~StoreClient() = default;

qaxoi::Status StoreClient::GetDocument(const std::string& url, RemoteDocument* document) {
  HttpRequest request;
  request.url = url;
  request.headers.push_back("Accept: " + RdfAcceptHeader());
  HttpAnswer answer;
  if (qaxoi::Status sent = connection_->exchange.Send(request, &answer); !sent.ok()) return sent;
  if (!Succeeded(answer.status)) return HttpFailure(answer);
  qaxoi::rdf::RdfSyntax syntax = qaxoi::rdf::RdfSyntax::kDetect;
  if (qaxoi::Status told = AnswerSyntax(answer.url, answer.mediaType, &syntax); !told.ok()) {
    return told;
  }
  document->url = std::move(answer.url);
  document->mediaType = std::move(answer.mediaType);
  document->syntax = syntax;
  document->text = std::move(answer.body);
  return qaxoi::Status::Ok();
}

qaxoi::Status StoreClient::GetGraph(const GraphAddress& address, RemoteDocument* document) {
  return GetDocument(address.Url(), document);
}

qaxoi::Status StoreClient::PutGraph(const GraphAddress& address, const std::string& turtle) {
  HttpRequest request;
  request.method = "PUT";
  request.url = address.Url();
  request.headers.emplace_back(kTurtleContent);
  request.body = turtle;
  HttpAnswer answer;
  if (qaxoi::Status sent = connection_->exchange.Send(request, &answer); !sent.ok()) return sent;
  return Succeeded(answer.status) ? qaxoi::Status::Ok() : HttpFailure(answer);
}

qaxoi::Status StoreClient::DeleteGraph(const GraphAddress& address, bool* existed) {
  HttpRequest request;
  request.method = "DELETE";
  request.url = address.Url();
  HttpAnswer answer;
  if (qaxoi::Status sent = connection_->exchange.Send(request, &answer); !sent.ok()) return sent;
  if (answer.status != kNotFound && !Succeeded(answer.status)) return HttpFailure(answer);
  if (existed != nullptr) *existed = answer.status != kNotFound;
  return qaxoi::Status::Ok();
}

qaxoi::Status StoreClient::Query(const std::string& endpoint, const std::string& query,
                                 QueryResults* results) {
  HttpRequest request;
  request.method = "POST";
  request.url = endpoint;
  request.headers.emplace_back(kFormContent);
  request.headers.emplace_back(kResultsAccept);
  const std::string form = "query=" + PercentEncoded(query);
  request.body = form;
  HttpAnswer answer;
  if (qaxoi::Status sent = connection_->exchange.Send(request, &answer); !sent.ok()) return sent;
  if (!Succeeded(answer.status)) return HttpFailure(answer);
  if (answer.mediaType != kResultsMediaType && !answer.mediaType.empty()) {
    return qaxoi::Status::InvalidInput(answer.url + ": the answer is not SPARQL results in JSON (" +
                                       answer.mediaType + ")");
  }
  QueryResults read;
  if (qaxoi::Status parsed = ReadQueryResultsJson(answer.body, answer.url, &read); !parsed.ok()) {
    return parsed;
  }
  // A store may answer ASK as a table of one variable and at most one row
  // that holds the answer (Virtuoso 7 does): the boolean is what it says.
  if (!read.isBoolean && IsAskQuery(query) && read.variables.size() == 1 && read.rows.size() <= 1) {
    const std::string value = read.rows.empty() ? std::string() : read.rows[0][0].value;
    read.boolean = value == "1" || value == "true";
    read.isBoolean = true;
    read.variables.clear();
    read.rows.clear();
  }
  *results = std::move(read);
  return qaxoi::Status::Ok();
}

qaxoi::Status StoreClient::Update(const std::string& endpoint, const std::string& update) {
  HttpRequest request;
  request.method = "POST";
  request.url = endpoint;
  request.headers.emplace_back(kUpdateContent);
  request.body = update;
  HttpAnswer answer;
  if (qaxoi::Status sent = connection_->exchange.Send(request, &answer); !sent.ok()) return sent;
  return Succeeded(answer.status) ? qaxoi::Status::Ok() : HttpFailure(answer);
}

}  // namespace qaxoi::store
