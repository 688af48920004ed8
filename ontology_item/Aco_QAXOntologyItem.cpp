#include "ontology_item/Aco_QAXOntologyItem.h"

#include "module/Module.h"

Aco_QAXOntologyItem::Aco_QAXOntologyItem() { SetChannelName(kQAXOntologyItemTypeName); }

Aco_QAXOntologyItem::~Aco_QAXOntologyItem() = default;
