// How qax-host shows channels.
#ifndef QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_
#define QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_

#include <string>

#include "host/sdk/HighPoly.h"

namespace qax_host {

// The channel's type name, e.g. "Text" or "QAXOntologyItem".
std::string TypeNameOf(const A3d_Channel& channel);

// The channel's name in quotes, or "(no name)".
std::string QuotedNameOf(const A3d_Channel& channel);

// The value the channel holds, as text: a float, a quoted text ("null" for
// none), a vector, a matrix, or the class of an item channel; empty for
// channels without a value.
std::string ValueOf(A3d_Channel& channel);

// `text` in double quotes with quotes, backslashes and control characters
// escaped.
std::string Quoted(const std::string& text);

}  // namespace qax_host

#endif  // QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_
