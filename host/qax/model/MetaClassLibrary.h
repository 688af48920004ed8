// A named group of classes of an ontology model.
#ifndef QAX_HOST_QAX_MODEL_METACLASSLIBRARY_H_
#define QAX_HOST_QAX_MODEL_METACLASSLIBRARY_H_

#include <string>
#include <vector>

#include "host/qax/QAXExport.h"

namespace QAX {
namespace Ontology {

class MetaClass;

// A library, created and owned by an OntologyModel (OntologyModel::AddLibrary)
// and valid as long as that model lives. The model owns its classes too;
// the library lists those it holds.
class QAX_API MetaClassLibrary {
 public:
  MetaClassLibrary(const MetaClassLibrary&) = delete;
  MetaClassLibrary& operator=(const MetaClassLibrary&) = delete;
  ~MetaClassLibrary();

  // The library's name, unique within its model.
  const std::string& GetName() const { return name_; }

  // The library's classes in the order they were added, or by handle once
  // the model has sorted them (OntologyModel::SortClassesByHandle, which a
  // model loaded from RDF has done).
  const std::vector<const MetaClass*>& GetClasses() const { return classes_; }

 private:
  friend class OntologyModel;
  explicit MetaClassLibrary(std::string name);

  const std::string name_;
  std::vector<const MetaClass*> classes_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_METACLASSLIBRARY_H_
