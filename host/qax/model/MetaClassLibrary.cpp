#include "host/qax/model/MetaClassLibrary.h"

#include <utility>

namespace QAX {
namespace Ontology {

MetaClassLibrary::MetaClassLibrary(std::string name) : name_(std::move(name)) {}

MetaClassLibrary::~MetaClassLibrary() = default;

}  // namespace Ontology
}  // namespace QAX
