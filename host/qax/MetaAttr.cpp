#include "host/qax/MetaAttr.h"

#include <utility>

namespace QAX {
namespace Ontology {

MetaAttr::MetaAttr(Info::MetaAttrInfo info, Cardinality cardinality)
    : info_(std::move(info)), cardinality_(cardinality) {}

}  // namespace Ontology
}  // namespace QAX
