// The module's private static state (not exported).
#ifndef QAX_ENTRY_STATICSTATE_H_
#define QAX_ENTRY_STATICSTATE_H_

#include "host/sdk/ChannelType.h"

namespace qaxoi::module {

// The type descriptor that GetType fills and hands out.
extern ChannelType TypeDescriptor;

}  // namespace qaxoi::module

#endif  // QAX_ENTRY_STATICSTATE_H_
