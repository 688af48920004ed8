// An attribute of an ontology class.
#ifndef QAX_HOST_QAX_METAATTR_H_
#define QAX_HOST_QAX_METAATTR_H_

#include "host/qax/MetaInfo.h"
#include "host/qax/QAXExport.h"

namespace QAX {
namespace Ontology {

// One attribute, owned by the class it was added to (MetaClass::AddAttribute)
// and valid as long as that class's model lives.
class QAX_API MetaAttr {
 public:
  explicit MetaAttr(Info::MetaAttrInfo info);
  MetaAttr(const MetaAttr&) = delete;
  MetaAttr& operator=(const MetaAttr&) = delete;

  const Info::MetaAttrInfo& GetInfo() const { return info_; }

 private:
  const Info::MetaAttrInfo info_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_METAATTR_H_
