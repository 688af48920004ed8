// Plain records that describe an ontology class and an attribute.
#ifndef QAX_HOST_QAX_MODEL_METAINFO_H_
#define QAX_HOST_QAX_MODEL_METAINFO_H_

#include <cstdint>
#include <string>

#include "host/qax/model/AttrKind.h"

namespace QAX {
namespace Ontology {
namespace Info {

// Describes one class. `handle` identifies the class within a model; the
// other texts are for display and may be empty. `parentName` and
// `parentScopeName` are descriptive only: the parent a class really has is
// the one given when the class is added to a model.
struct MetaClassInfo {
  std::string name;
  std::string scopeName;
  std::string handle;
  std::string parentName;
  std::string parentScopeName;
  bool isAbstract = false;
  std::string doc;
};

// Describes one attribute of a class. `kind` says what values it takes, as
// the number of an AttrKind (AttrKind.h; any other value is allowed and
// means "unknown kind"); `typeName` names the value type for display.
struct MetaAttrInfo {
  std::string name;
  std::string scopeName;
  int32_t kind = KindValue(AttrKind::kText);
  std::string typeName;
};

}  // namespace Info
}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_MODEL_METAINFO_H_
