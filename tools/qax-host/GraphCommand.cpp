// The graph command: draws a channel graph as Graphviz DOT, SVG or PNG.
#include <cstdio>
#include <map>

#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/ChannelGraph.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Graphviz.h"
#include "tools/qax-host/MisplacedValues.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace {

// `text` as a DOT string literal.
std::string DotString(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

// The channels as a DOT digraph: one node per channel, one edge per linked
// child labelled with the link's name. Unlinked links are counted in their
// channel's node.
std::string Dot(const std::string& title, const std::vector<A3d_Channel*>& channels) {
  std::map<const A3d_Channel*, std::size_t> index;
  for (std::size_t i = 0; i < channels.size(); ++i) index[channels[i]] = i;
  std::string dot = "digraph " + DotString(Escaped(title)) + " {\n";
  dot += "  rankdir=LR;\n  node [shape=box, style=rounded, fontname=\"Helvetica\"];\n";
  dot += "  edge [fontname=\"Helvetica\", fontsize=10];\n";
  std::string edges;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    A3d_Channel& channel = *channels[i];
    int unlinked = 0;
    for (int link = 0; link < channel.GetChildCount(); ++link) {
      const A3d_Channel* child = channel.GetChild(link);
      const auto found = index.find(child);
      if (child == nullptr || found == index.end()) {
        ++unlinked;
        continue;
      }
      edges += "  c" + std::to_string(i) + " -> c" + std::to_string(found->second) + " [label=" +
               DotString(Escaped(FieldText(channel.GetChildCreation(link)->LinkName))) + "];\n";
    }
    std::string label = QuotedNameOf(channel) + "\n" + TypeNameOf(channel);
    const std::string value = ValueOf(channel);
    if (!value.empty()) label += "\n" + value;
    if (unlinked > 0) {
      label +=
          "\n(" + std::to_string(unlinked) + (unlinked == 1 ? " link" : " links") + " unlinked)";
    }
    dot += "  c" + std::to_string(i) + " [label=" + DotString(label) + "];\n";
  }
  return dot + edges + "}\n";
}

int Draw(const Invocation& invocation, const std::string& title,
         const std::vector<A3d_Channel*>& channels) {
  std::string drawing = Dot(title, channels);
  const std::string format = invocation.format.empty() ? "dot" : invocation.format;
  if (format != "dot") {
    std::string rendered;
    const qaxoi::Status rendering = RenderWithDot(format, drawing, &rendered);
    if (!rendering.ok()) return Fail(rendering);
    drawing.swap(rendered);
  }
  if (invocation.output.empty()) {
    std::fputs(drawing.c_str(), stdout);
    return kExitOk;
  }
  bool toStandardOutput = false;
  if (!WriteOutput(invocation.output, drawing, &toStandardOutput)) return kExitFailure;
  if (!toStandardOutput) Note("wrote " + Escaped(invocation.output));
  return kExitOk;
}

}  // namespace

int RunGraph(const Invocation& invocation) {
  const std::string& format = invocation.format;
  if (!format.empty() && format != "dot" && format != "svg" && format != "png") {
    return UsageError("--format: '" + format + "' is not a format of graph; use dot, svg or png");
  }
  if ((format == "svg" || format == "png") && invocation.output.empty()) {
    return UsageError("--format " + format +
                      " needs --output FILE (--output - for standard output)");
  }
  if (const int failed = CheckSource("graph", invocation)) return failed;
  std::vector<Assignment> assignments;
  if (invocation.file.empty()) {
    if (const int failed = RefuseValueAsFile("graph", "--output", invocation.output,
                                             "graph " + invocation.arguments[0] +
                                                 (invocation.arguments.size() > 1 ? " ... " : " ") +
                                                 invocation.output + " --output FILE")) {
      return failed;
    }
    if (const int failed = ReadAssignments(invocation.arguments, 1, &assignments)) return failed;
  }
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  if (!invocation.file.empty()) {
    std::unique_ptr<LoadedGroup> group = LoadInput(invocation.file, *session);
    if (!group) return kExitFailure;
    return Draw(invocation, InputName(invocation.file), group->Channels());
  }
  std::unique_ptr<ChannelGraph> graph = GraphFor(*session, invocation.arguments[0], assignments);
  if (!graph) return kExitFailure;
  const QAX::Ontology::MetaClass* metaClass =
      session->model().GetMetaClass(graph->root().GetClassHandle());
  return Draw(invocation, metaClass != nullptr ? ShownName(*metaClass) : invocation.arguments[0],
              graph->Channels());
}

}  // namespace qaxoi::qax_host
