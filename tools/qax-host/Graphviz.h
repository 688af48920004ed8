// Drawing DOT graphs with Graphviz's dot program.
#ifndef QAX_TOOLS_QAX_HOST_GRAPHVIZ_H_
#define QAX_TOOLS_QAX_HOST_GRAPHVIZ_H_

#include <string>

#include "host/status/Status.h"

namespace qaxoi::qax_host {

// Runs Graphviz's dot (found on PATH) with "-T`format`", handing it `dot` on
// its standard input and taking the drawing from its standard output into
// `drawing`: no file is written, so nothing is left behind or overwritten. A
// drawing of more than qaxoi::files::kMaxInputBytes is refused
// (kResourceExhausted). Fails, leaving `drawing` as it was, when dot is not
// installed (kNotSupported), fails (kInvalidInput), or its output cannot be
// read (kIoError).
qaxoi::Status RenderWithDot(const std::string& format, const std::string& dot,
                            std::string* drawing);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_GRAPHVIZ_H_
