// Commands that build items and move channel graphs through group files:
// build, save, load, and the tour that shows them all.
#include <cstdio>
#include <set>

#include "host/sdk/GroupFile.h"
#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/ChannelGraph.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"

namespace qax_host {

namespace {

// The group name qax-host gives the groups it saves.
constexpr const char* kGroupName = "qax-host";

// Builds the graph that `arguments` (CLASS [attr=value ...], from `first` on
// the class name) describe; null after printing the reason.
std::unique_ptr<ChannelGraph> GraphFromArguments(const Session& session,
                                                 const std::vector<std::string>& arguments,
                                                 std::size_t first) {
  std::string error;
  const QAX::Ontology::MetaClass* metaClass = FindClass(session.model(), arguments[first], &error);
  if (metaClass == nullptr) {
    Fail(error);
    return nullptr;
  }
  std::vector<Assignment> assignments;
  if (!ParseAssignments(
          std::vector<std::string>(arguments.begin() + static_cast<std::ptrdiff_t>(first) + 1,
                                   arguments.end()),
          &assignments, &error)) {
    Fail(error);
    return nullptr;
  }
  std::unique_ptr<ChannelGraph> graph =
      ChannelGraph::Build(session, *metaClass, assignments, &error);
  if (!graph) Fail(error);
  return graph;
}

// Prints the item `channel` builds from its children.
int PrintItem(Aco_QAXOntologyItem& channel) {
  QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
  if (item == nullptr) {
    return Fail("channel " + QuotedNameOf(channel) +
                " builds no item: the ontology has no class <" + channel.GetClassHandle() + ">");
  }
  std::fputs(item->ToText().c_str(), stdout);
  return kExitOk;
}

}  // namespace

int RunBuild(const Invocation& invocation) {
  if (invocation.arguments.empty()) return UsageError("build needs a class name");
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<ChannelGraph> graph = GraphFromArguments(*session, invocation.arguments, 0);
  if (!graph) return kExitFailure;
  return PrintItem(graph->root());
}

int RunSave(const Invocation& invocation) {
  if (invocation.arguments.size() < 2) return UsageError("save needs a class name and a file");
  std::vector<std::string> arguments = invocation.arguments;
  const std::string path = arguments[1];
  arguments.erase(arguments.begin() + 1);
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<ChannelGraph> graph = GraphFromArguments(*session, arguments, 0);
  if (!graph) return kExitFailure;
  std::string error;
  if (!SaveGroupToFile(path, kGroupName, graph->Channels(), &error)) return Fail(error);
  std::printf("saved %zu channels to %s\n", graph->Channels().size(), path.c_str());
  return kExitOk;
}

int RunLoad(const Invocation& invocation) {
  if (invocation.arguments.size() != 1) return UsageError("load takes one file");
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  GroupFileError error;
  std::unique_ptr<LoadedGroup> group =
      LoadGroupFromFile(invocation.arguments[0], session->registry(), &error);
  if (!group) return Fail(error.Message());

  const char* groupName = group->Group()->GetGroupName();
  std::printf("group %s: %zu channels\n",
              groupName != nullptr ? Quoted(groupName).c_str() : "(no name)",
              group->ChannelCount());
  const std::vector<A3d_Channel*> channels = group->Channels();
  std::set<const A3d_Channel*> nested;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    A3d_Channel& channel = *channels[i];
    std::printf("  #%zu %s %s %s\n", i, TypeNameOf(channel).c_str(), QuotedNameOf(channel).c_str(),
                ValueOf(channel).c_str());
    const bool isItem = dynamic_cast<Aco_QAXOntologyItem*>(&channel) != nullptr;
    for (int link = 0; link < channel.GetChildCount(); ++link) {
      const A3d_Channel* child = channel.GetChild(link);
      const ChildCreation* record = channel.GetChildCreation(link);
      std::string target = "(nothing linked)";
      for (std::size_t j = 0; j < channels.size() && child != nullptr; ++j) {
        if (channels[j] == child) target = "#" + std::to_string(j);
      }
      std::printf("      link %d %s -> %s\n", link, record->LinkName, target.c_str());
      if (isItem && child != nullptr) nested.insert(child);
    }
  }
  int result = kExitOk;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    auto* item = dynamic_cast<Aco_QAXOntologyItem*>(channels[i]);
    if (item == nullptr || nested.count(item) != 0) continue;
    std::printf("item built by #%zu:\n", i);
    std::fflush(stdout);
    if (PrintItem(*item) != kExitOk) result = kExitFailure;
  }
  return result;
}

int RunTour(const Invocation& invocation) {
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::printf(
      "qax-host loads the QAXOntologyItem channel module as a host engine does and\n"
      "uses it on the ontology %s. A short tour (see qax-host --help):\n\n",
      session->ontologyName().c_str());
  std::fflush(stdout);
  Invocation step = invocation;
  step.arguments.clear();
  std::printf("$ qax-host classes\n");
  std::fflush(stdout);
  int result = RunClasses(step);
  if (invocation.session.ontologyPath.empty()) {
    step.arguments = {"zoo:Penguin"};
    std::printf("\n$ qax-host links zoo:Penguin\n");
    std::fflush(stdout);
    if (result == kExitOk) result = RunLinks(step);
    step.arguments = {"zoo:Penguin",
                      "name=Pingu",
                      "alive=true",
                      "legs=2",
                      "weight=4.5",
                      "born=2019-11-02",
                      "habitat.placeName=Ross Sea"};
    std::printf(
        "\n$ qax-host build zoo:Penguin name=Pingu alive=true legs=2 weight=4.5 "
        "born=2019-11-02 'habitat.placeName=Ross Sea'\n");
    std::fflush(stdout);
    if (result == kExitOk) result = RunBuild(step);
  }
  return result;
}

}  // namespace qax_host
