// qax-host migrate: what a group saved against one release of a vocabulary
// becomes under another, and the group saved again against the new one.
#include <cstdio>
#include <memory>
#include <string>

#include "host/sdk/GroupFile.h"
#include "host/sdk/LoadedGroup.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/Failure.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Rebinding.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace {

// The name the group file is saved under (the group's own name is kept when
// it has one).
constexpr const char* kUnnamedGroup = "qax-host";

}  // namespace

int RunMigrate(const Invocation& invocation) {
  const std::vector<std::string>& arguments = invocation.arguments;
  if (arguments.empty() || arguments.size() > 2) {
    return UsageError(arguments.empty()
                          ? std::string("migrate needs a group FILE (and OUT to write)")
                          : "migrate takes a FILE and an OUT, not also '" + arguments[2] + "'");
  }
  if (arguments.size() == 2 && arguments[1] == "-")
    return UsageError("migrate prints its report on standard output; OUT cannot be -");
  if (invocation.session.ontologyPath.empty())
    return UsageError("migrate needs --ontology NEW, the vocabulary to migrate to");
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<LoadedGroup> group = LoadInput(arguments[0], *session, BindingNotice::kQuiet);
  if (!group) return kExitFailure;

  const std::vector<A3d_Channel*> channels = group->Channels();
  const BindingCounts counts = CountBindings(channels);
  const bool complete = counts.withoutAttribute == 0;
  if (invocation.json) {
    Json document;
    document["file"] = InputName(arguments[0]);
    document["ontology"] = session->ontologyName();
    document["output"] = arguments.size() == 2 ? Json(arguments[1]) : Json();
    document["values"] = {{"unchanged", counts.unchanged},
                          {"moved", counts.moved},
                          {"migrated", counts.migrated},
                          {"withoutAttribute", counts.withoutAttribute}};
    document["channels"] = MigrationJson(channels);
    PrintJson(document);
  } else {
    PrintMigrationText(channels);
    const std::string summary = BindingSummary(InputName(arguments[0]), counts);
    PrintLine(summary.empty() ? InputName(arguments[0]) +
                                    " binds every value to its attribute "
                                    "unchanged under " +
                                    session->ontologyName()
                              : summary.substr(0, summary.rfind(" (see:")));
  }
  if (arguments.size() == 2) {
    const std::string& path = arguments[1];
    const Activity saving("saving the group file '" + Escaped(path) + "'");
    // Saved as a group made against the new vocabulary would be.
    for (A3d_Channel* channel : channels) {
      if (auto* item = dynamic_cast<Aco_QAXOntologyItem*>(channel)) item->NormalizeLinks();
    }
    const char* name = group->Group()->GetGroupName();
    std::vector<unsigned char> bytes;
    const qaxoi::Status saved = SaveGroup(name != nullptr ? name : kUnnamedGroup, channels, &bytes);
    if (!saved.ok()) return Fail(saved.Prefixed("cannot save '" + path + "': "));
    bool toStandardOutput = false;
    if (!WriteOutput(path, std::string(bytes.begin(), bytes.end()), &toStandardOutput))
      return kExitFailure;
    if (!toStandardOutput) {
      Note("saved " + Counted(channels.size(), "channel", "channels") + " to " + Escaped(path) +
           ", bound to " + Escaped(session->ontologyName()));
    }
  }
  return complete ? kExitOk : kExitFailure;
}

}  // namespace qaxoi::qax_host
