// The QAX ontology service: ontology models of class libraries, classes and
// attributes (built in code or loaded from RDF vocabularies), the ambassador that holds the
// process's current model, and ontology items. Including this header gives all of it.
#ifndef QAX_HOST_QAX_QAX_H_
#define QAX_HOST_QAX_QAX_H_

#include "host/qax/ItemWriter.h"
#include "host/qax/JsonLdWriter.h"
#include "host/qax/LoadResult.h"
#include "host/qax/MetaAttr.h"
#include "host/qax/MetaClass.h"
#include "host/qax/MetaClassLibrary.h"
#include "host/qax/MetaInfo.h"
#include "host/qax/OntologyItem.h"
#include "host/qax/OntologyItemInterfaces.h"
#include "host/qax/OntologyModel.h"
#include "host/qax/QAXAmbassador.h"
#include "host/qax/QAXExport.h"
#include "host/qax/RdfSyntax.h"
#include "host/qax/SingletonObject.h"

#endif  // QAX_HOST_QAX_QAX_H_
