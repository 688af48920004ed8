#include "host/qax/MetaAttr.h"

#include <utility>

namespace QAX {
namespace Ontology {

MetaAttr::MetaAttr(Info::MetaAttrInfo info) : info_(std::move(info)) {}

}  // namespace Ontology
}  // namespace QAX
