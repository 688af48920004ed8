// An attribute of an ontology class.
#ifndef QAX_HOST_QAX_METAATTR_H_
#define QAX_HOST_QAX_METAATTR_H_

#include <cstdint>

#include "host/qax/MetaInfo.h"
#include "host/qax/QAXExport.h"

namespace QAX {
namespace Ontology {

// How many values an item of a class may give one attribute: at least `min`,
// at most `max` (kUnbounded: no upper bound). The default, 0 to unbounded,
// says nothing. A vocabulary may give min above max (a class no item can
// satisfy); the record keeps what it says.
struct AttrCardinality {
  static constexpr uint32_t kUnbounded = UINT32_MAX;
  uint32_t min = 0;
  uint32_t max = kUnbounded;
};

// One attribute, owned by the class it was added to (MetaClass::AddAttribute)
// and valid as long as that class's model lives.
class QAX_API MetaAttr {
 public:
  using Cardinality = AttrCardinality;

  explicit MetaAttr(Info::MetaAttrInfo info, Cardinality cardinality = Cardinality());
  MetaAttr(const MetaAttr&) = delete;
  MetaAttr& operator=(const MetaAttr&) = delete;

  const Info::MetaAttrInfo& GetInfo() const { return info_; }

  // The counts the ontology gives the attribute on its class (for a
  // vocabulary: its OWL restrictions, docs/vocabularies.md); 0 to unbounded
  // when it gives none.
  Cardinality GetCardinality() const { return cardinality_; }

 private:
  const Info::MetaAttrInfo info_;
  const Cardinality cardinality_;
};

}  // namespace Ontology
}  // namespace QAX

#endif  // QAX_HOST_QAX_METAATTR_H_
