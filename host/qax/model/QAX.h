// The QAX ontology service's model: ontology models of class libraries,
// classes and attributes, the ambassador that holds the process's current
// model, and ontology items. Including this header gives all of it; loading
// models from RDF and writing items as RDF are in host/qax/rdf/Rdf.h.
#ifndef QAX_HOST_QAX_MODEL_QAX_H_
#define QAX_HOST_QAX_MODEL_QAX_H_

#include "host/qax/QAXExport.h"
#include "host/qax/model/AttrValueType.h"
#include "host/qax/model/LanguagePreference.h"
#include "host/qax/model/MetaAttr.h"
#include "host/qax/model/MetaClass.h"
#include "host/qax/model/MetaClassLibrary.h"
#include "host/qax/model/MetaInfo.h"
#include "host/qax/model/OntologyItem.h"
#include "host/qax/model/OntologyItemInterfaces.h"
#include "host/qax/model/OntologyModel.h"
#include "host/qax/model/QAXAmbassador.h"
#include "host/qax/model/SingletonObject.h"
#include "host/qax/model/TermTexts.h"

#endif  // QAX_HOST_QAX_MODEL_QAX_H_
