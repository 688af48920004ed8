#include "host/qax/model/MetaAttr.h"

#include <utility>

namespace QAX {
namespace Ontology {

MetaAttr::MetaAttr(Info::MetaAttrInfo info, Cardinality cardinality,
                   std::shared_ptr<const AttrRange> range)
    : info_(std::move(info)), cardinality_(cardinality), range_(std::move(range)) {}

}  // namespace Ontology
}  // namespace QAX
