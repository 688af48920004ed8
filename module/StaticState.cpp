// The module's static objects, defined in one translation unit so that they
// are built in this order when the library is loaded and destroyed in the
// reverse order when it is unloaded: the diagnostic message text, the type
// descriptor. (The multi-mode registry lives in its class template.)
#include "module/Diagnostics.h"
#include "module/StaticState.h"

char DebugMessageBuffer[kDebugMessageBufferSize];
std::string DebugMessageText;

namespace qax_module {

ChannelType TypeDescriptor;

}  // namespace qax_module
