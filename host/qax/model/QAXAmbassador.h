// The service's entry point: which ontology model is loaded.
#ifndef QAX_HOST_QAX_MODEL_QAXAMBASSADOR_H_
#define QAX_HOST_QAX_MODEL_QAXAMBASSADOR_H_

#include "host/qax/QAXExport.h"
#include "host/qax/model/SingletonObject.h"

namespace QAX {

namespace Ontology {
class OntologyModel;
}  // namespace Ontology

// Holds the ontology model that the process currently works with. There is
// one per process, reached through SingletonObject<QAXAmbassador>::Instance().
// Not thread-safe: set and read it from one thread.
class QAX_API QAXAmbassador {
 public:
  QAXAmbassador() = default;
  QAXAmbassador(const QAXAmbassador&) = delete;
  QAXAmbassador& operator=(const QAXAmbassador&) = delete;

  // The current model; null when none is loaded.
  Ontology::OntologyModel* GetOntologyModel() const { return model_; }

  // Makes `model` the current one; null unloads. The caller keeps ownership
  // and must set another model (or null) before destroying this one.
  void SetOntologyModel(Ontology::OntologyModel* model) { model_ = model; }

 private:
  Ontology::OntologyModel* model_ = nullptr;
};

// The one ambassador of the process. Defined inside the QAX library, so every
// module and host that links QAX shares the same object.
template <>
QAX_API QAXAmbassador& Util::SingletonObject<QAXAmbassador>::Instance();

}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_QAXAMBASSADOR_H_
