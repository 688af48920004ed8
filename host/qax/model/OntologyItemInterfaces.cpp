#include "host/qax/model/OntologyItemInterfaces.h"

namespace QAX {
namespace Onto {

// Out of line so that the tables of virtual functions and type information of
// both interfaces are emitted once, in this library.
IOntologyItemCruncher::~IOntologyItemCruncher() = default;
IOntologyItemBase::~IOntologyItemBase() = default;

}  // namespace Onto
}  // namespace QAX
