#include "tools/qax-host/Session.h"

#include <sys/stat.h>

#include <cstdio>

#include "examples/sample/SampleOntology.h"
#include "host/qax/rdf/Rdf.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Verbosity.h"
#include "tools/qax-host/WebDocuments.h"

namespace qaxoi::qax_host {

qaxoi::Status Session::Open(const Options& options, std::unique_ptr<Session>* opened) {
  std::unique_ptr<Session> session(new Session());
  qaxoi::Status status = ChannelModule::Open(options.modulePath, &session->module_);
  if (!status.ok()) return status;

  struct stat info = {};
  const bool large = !options.ontologyPath.empty() &&
                     ::stat(options.ontologyPath.c_str(), &info) == 0 &&
                     static_cast<std::size_t>(info.st_size) > kProgressVocabularyBytes;
  char size[32];
  std::snprintf(size, sizeof(size), "%.1f MB", static_cast<double>(info.st_size) / 1e6);
  Progress progress(large, "loading vocabulary " + options.ontologyPath + " (" + size + ")");
  const Activity loading(options.ontologyPath.empty()
                             ? std::string("loading the sample ontology")
                             : "loading the vocabulary '" + Escaped(options.ontologyPath) + "'");
  qaxoi::rdf::LoadedModel loaded;
  if (options.ontologyPath.empty()) {
    status =
        qaxoi::rdf::LoadModelText(sample::SampleOntologyTurtle(), qaxoi::rdf::RdfSyntax::kTurtle,
                                  sample::kSampleOntologyName, "", &loaded);
  } else if (IsWebUrl(options.ontologyPath)) {
    // Relative IRIs resolve against the URL the document came from.
    qaxoi::store::RemoteDocument document;
    status = FetchWebDocument(options.ontologyPath, options.network, &document);
    if (status.ok()) {
      const qaxoi::rdf::RdfSyntax syntax =
          options.syntax != qaxoi::rdf::RdfSyntax::kDetect ? options.syntax : document.syntax;
      status =
          qaxoi::rdf::LoadModelText(document.text, syntax, document.url, document.url, &loaded);
    }
  } else {
    status = qaxoi::rdf::LoadModelFile(options.ontologyPath, options.syntax, &loaded);
  }
  progress.Done();
  if (!status.ok()) return status;
  LoadWarnings(options.ontologyPath.empty() ? std::string(sample::kSampleOntologyName)
                                            : options.ontologyPath,
               loaded.warnings);
  session->model_ = std::move(loaded.model);
  session->model_->SetLanguages(QAX::Ontology::LanguagePreference{options.languages});
  session->ontologyName_ = options.ontologyPath.empty() ? std::string(sample::kSampleOntologyName)
                                                        : options.ontologyPath;

  session->registry_.RegisterBuiltIns();
  if (!session->registry_.RegisterModule(*session->module_)) {
    return qaxoi::Status::InvalidInput("channel module '" + options.modulePath +
                                       "' gives no usable channel type");
  }
  QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance().SetOntologyModel(
      session->model_.get());
  *opened = std::move(session);
  return qaxoi::Status::Ok();
}

Session::~Session() {
  QAX::QAXAmbassador& ambassador = QAX::Util::SingletonObject<QAX::QAXAmbassador>::Instance();
  if (ambassador.GetOntologyModel() == model_.get()) ambassador.SetOntologyModel(nullptr);
}

std::unique_ptr<Aco_QAXOntologyItem> Session::NewItemChannel() const {
  std::unique_ptr<A3d_Channel> channel = module_->NewChannel();
  if (dynamic_cast<Aco_QAXOntologyItem*>(channel.get()) == nullptr) return nullptr;
  return std::unique_ptr<Aco_QAXOntologyItem>(static_cast<Aco_QAXOntologyItem*>(channel.release()));
}

}  // namespace qaxoi::qax_host
