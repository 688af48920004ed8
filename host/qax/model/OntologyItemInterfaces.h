// The two abstract interfaces that an ontology item implements.
//
// Their virtual operations are declared in a fixed order, which fixes the
// layout of their tables of virtual functions for every module that calls
// through them; add new operations only at the end.
#ifndef QAX_HOST_QAX_MODEL_ONTOLOGYITEMINTERFACES_H_
#define QAX_HOST_QAX_MODEL_ONTOLOGYITEMINTERFACES_H_

#include <string>
#include <vector>

#include "host/qax/QAXExport.h"

namespace QAX {

namespace Ontology {
class OntologyModel;
}  // namespace Ontology

namespace Onto {

class OntologyItem;

// Builds an item step by step: declare its class, put values, construct.
class QAX_API IOntologyItemCruncher {
 public:
  virtual ~IOntologyItemCruncher();

  // Starts the item over as an item of the class with FQ name `fqName`: all
  // attribute values are dropped.
  virtual void DeclareConcept(const std::string& fqName) = 0;
  // Sets attribute `name` to a text.
  virtual void PutBaseTypeAttribute(const std::string& name, const std::string& value) = 0;
  // Sets attribute `name` to a nested item and takes ownership of it; null is
  // ignored.
  virtual void PutComplexTypeAttribute(const std::string& name, OntologyItem* value) = 0;
  // Sets attribute `name` to a list of texts.
  virtual void PutBaseTypeListAttribute(const std::string& name,
                                        const std::vector<std::string>& values) = 0;
  // Sets attribute `name` to a list of nested items and takes ownership of
  // every element; null elements are skipped.
  virtual void PutComplexTypeListAttribute(const std::string& name,
                                           const std::vector<OntologyItem*>& values) = 0;
  // Finishes the item; true when its class is known to the current model.
  virtual bool ConstructConcept() = 0;
};

// Reads and writes an item's class and attribute values.
class QAX_API IOntologyItemBase {
 public:
  virtual ~IOntologyItemBase();

  // The FQ name the item was made from.
  virtual std::string _GetType() const = 0;
  // The model currently set on the ambassador; null when none.
  virtual const Ontology::OntologyModel* _GetOntology() const = 0;
  // True and the text when attribute `name` holds a text.
  virtual bool _Get(const std::string& name, std::string& value) const = 0;
  // Same contracts as the Put... operations of IOntologyItemCruncher.
  virtual void _SetAttributeBaseType(const std::string& name, const std::string& value) = 0;
  virtual void _SetAttributeComplexType(const std::string& name, OntologyItem* value) = 0;
  virtual void _SetAttributeBaseTypeList(const std::string& name,
                                         const std::vector<std::string>& values) = 0;
  virtual void _SetAttributeComplexTypeList(const std::string& name,
                                            const std::vector<OntologyItem*>& values) = 0;
};

}  // namespace Onto
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_ONTOLOGYITEMINTERFACES_H_
