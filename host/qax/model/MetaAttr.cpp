#include "host/qax/model/MetaAttr.h"

#include <utility>

namespace QAX {
namespace Ontology {

MetaAttr::MetaAttr(Info::MetaAttrInfo info, Cardinality cardinality,
                   std::shared_ptr<const AttrRange> range,
                   std::shared_ptr<const AttrValueType> valueType)
    : info_(std::move(info)),
      cardinality_(cardinality),
      range_(std::move(range)),
      valueType_(std::move(valueType)) {}

const AttrValueType& MetaAttr::GetValueType() const {
  // Built once, never destroyed: attributes may be read during static
  // destruction of a host.
  static const AttrValueType* const kByKind = new AttrValueType();
  return valueType_ ? *valueType_ : *kByKind;
}

}  // namespace Ontology
}  // namespace QAX
