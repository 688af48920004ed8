// What every qax-host command works with: the channel module loaded by path,
// the ontology the service has loaded, and the host's channel types.
#ifndef QAX_TOOLS_QAX_HOST_SESSION_H_
#define QAX_TOOLS_QAX_HOST_SESSION_H_

#include <memory>
#include <string>
#include <vector>

#include "host/qax/rdf/Rdf.h"
#include "host/qax/store/StoreOptions.h"
#include "host/sdk/ChannelTypeRegistry.h"
#include "host/sdk/ModuleLoader.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::qax_host {

class Session {
 public:
  struct Options {
    std::string modulePath;  // the channel module's file
    // A vocabulary file or http(s) URL; empty: the built-in sample.
    std::string ontologyPath;
    // The vocabulary's syntax; kDetect: from its name, else its first bytes.
    qaxoi::rdf::RdfSyntax syntax = qaxoi::rdf::RdfSyntax::kDetect;
    // The languages labels and documentation are shown in, most wanted
    // first (the model's LanguagePreference); empty: no preference.
    std::vector<std::string> languages;
    // How documents and stores on the web are reached.
    qaxoi::store::StoreOptions network;
  };

  // Loads the module and the ontology, sets the ontology on the service and
  // hands the session to `session`. Fails, leaving `session` as it was, when
  // either cannot be loaded. Repairs the ontology loader made are printed to
  // standard error as warnings.
  static qaxoi::Status Open(const Options& options, std::unique_ptr<Session>* session);

  // Takes the ontology off the service, then closes the module. Every channel
  // made through the session must be destroyed first.
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const ChannelModule& module() const { return *module_; }
  const QAX::Ontology::OntologyModel& model() const { return *model_; }
  // The host's built-in channel types and the module's.
  const ChannelTypeRegistry& registry() const { return registry_; }
  // The name of the ontology: the file given, or the sample's name.
  const std::string& ontologyName() const { return ontologyName_; }

  // A new ontology item channel made by the module's InitDLL; null when the
  // module made none or made a channel of another class.
  std::unique_ptr<Aco_QAXOntologyItem> NewItemChannel() const;

 private:
  Session() = default;

  std::unique_ptr<ChannelModule> module_;
  std::unique_ptr<QAX::Ontology::OntologyModel> model_;
  ChannelTypeRegistry registry_;
  std::string ontologyName_;
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_SESSION_H_
