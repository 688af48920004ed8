// The module's one channel type: a float channel that stands for one class of
// the QAX ontology service.
#ifndef QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_
#define QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_

#include "host/sdk/HighPoly.h"
#include "module/Export.h"

class QAXOI_API Aco_QAXOntologyItem : public Aco_FloatChannel {
 public:
  // A channel named "QAXOntologyItem".
  Aco_QAXOntologyItem();
  ~Aco_QAXOntologyItem() override;
};

#endif  // QAX_ONTOLOGY_ITEM_ACO_QAXONTOLOGYITEM_H_
