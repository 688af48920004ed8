// How qax-host shows channels and the texts they hold, safely for a terminal.
#ifndef QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_
#define QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_

#include <string>

#include "host/sdk/HighPoly.h"

namespace qaxoi::qax_host {

// The channel's type name, e.g. "Text" or "QAXOntologyItem": a name of the
// host's type registry, never one from a file.
std::string TypeNameOf(const A3d_Channel& channel);

// The channel's name in quotes, or "(no name)".
std::string QuotedNameOf(const A3d_Channel& channel);

// The value the channel holds, as text: a float, a quoted text ("null" for
// none), a vector, a matrix, or the (escaped) class of an item channel; empty
// for channels without a value.
std::string ValueOf(A3d_Channel& channel);

// What Escaped does with line ends and tabs.
enum class Layout {
  kEscape,  // escapes them too: for a name or value shown on one line
  kKeep,    // keeps them: for a text laid out in lines (a description, a message)
};

// `text` safe to show on a terminal: every control character (bytes 0x00 to
// 0x1F and 0x7F, and U+0080 to U+009F in UTF-8) written as \xNN or \u00NN,
// so that a name holding ESC [31m can neither colour nor move the terminal.
// Everything else, invalid UTF-8 included, is kept as it is. Every
// human-readable output of qax-host passes the texts of files, vocabularies
// and the command line through it (or through Quoted).
std::string Escaped(const std::string& text, Layout layout = Layout::kEscape);

// `text` in double quotes with quotes, backslashes and control characters
// escaped (as Escaped escapes them).
std::string Quoted(const std::string& text);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_CHANNELTEXT_H_
