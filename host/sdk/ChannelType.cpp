#include "host/sdk/ChannelType.h"

#include <cstring>

ChannelType::ChannelType() { std::memset(static_cast<void*>(this), 0, sizeof(*this)); }
