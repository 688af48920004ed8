// The subcommands of qax-host.
#ifndef QAX_TOOLS_QAX_HOST_COMMANDS_H_
#define QAX_TOOLS_QAX_HOST_COMMANDS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "tools/qax-host/Failure.h"
#include "tools/qax-host/Session.h"

class LoadedGroup;

namespace qaxoi::qax_host {

class ChannelGraph;
struct Assignment;

// A parsed command line.
struct Invocation {
  Session::Options session;
  std::vector<std::string> arguments;      // the command's own positional arguments
  std::string format;                      // --format, "" when not given
  std::string output;                      // --output, "" when not given
  std::string file;                        // --file, "" when not given
  std::string shapes;                      // --shapes, "" when not given
  bool json = false;                       // --json: one JSON document on standard output
  std::string store;                       // --store, "" when not given
  std::string graph;                       // --graph, "" when not given
  std::string sparql;                      // --sparql, "" when not given
  std::string subject;                     // --subject, "" when not given
  std::optional<std::uint64_t> ifVersion;  // --if-version
};

// The usage message for a command that takes one file or class, and was
// given `arguments`: "load needs a FILE", or "load takes one FILE, not also
// 'extra'". `what` names the argument ("FILE", "CLASS").
std::string OneArgumentMessage(const char* command, const char* what,
                               const std::vector<std::string>& arguments);

// For export and graph, which take a class with values or --file FILE,
// exactly one of them: kExitOk, or kExitUsage after printing what was given.
int CheckSource(const char* command, const Invocation& invocation);

// Prints each of `graph`'s notes as "qax-host: <note>" to standard error.
void PrintNotes(const ChannelGraph& graph);

// Opens the session the invocation names; null after printing the reason.
std::unique_ptr<Session> OpenSession(const Invocation& invocation);

// Reads `arguments` from `first` on as ATTRIBUTE=VALUE into `out`, before
// any session is opened. Answers kExitOk, or after printing why: kExitUsage
// for an argument that is not ATTRIBUTE=VALUE, kExitFailure for an
// attribute given twice (a value that would be lost).
int ReadAssignments(const std::vector<std::string>& arguments, std::size_t first,
                    std::vector<Assignment>* out);

// Builds the channels for the class `className` names with `assignments`
// and prints what the values became (PrintNotes); null after printing the
// reason.
std::unique_ptr<ChannelGraph> GraphFor(const Session& session, const std::string& className,
                                       const std::vector<Assignment>& assignments);

// Whether LoadInput says, when the group was saved against another
// vocabulary, what its values became (BindingSummary, one line on standard
// error).
enum class BindingNotice { kSummary, kQuiet };

// Loads the group file `path` ("-": standard input) through the session's
// channel types, showing progress for a large group; null after printing the
// reason.
std::unique_ptr<LoadedGroup> LoadInput(const std::string& path, const Session& session,
                                       BindingNotice notice = BindingNotice::kSummary);

// The item `channel` builds from its children; null after printing why it
// builds none and which vocabulary would help.
QAX::Onto::OntologyItem* BuildItem(Aco_QAXOntologyItem& channel, const Session& session);

// The channels linked as children of item channels among `channels`: their
// items are part of those channels' items, so they are not shown alone.
std::set<const A3d_Channel*> NestedChannels(const std::vector<A3d_Channel*>& channels);

// The directory whose index names the vocabularies that a class missing
// from the ontology may come from (MissingClass.h): the environment's
// QAX_HOST_VOCABULARIES, else "" (none). No default is compiled in, so that
// an installed program names no folder of the tree it was built in.
const char* KnownVocabularyFolder();

int RunType(const Invocation& invocation);
int RunClasses(const Invocation& invocation);
int RunDescribe(const Invocation& invocation);
int RunLinks(const Invocation& invocation);
int RunBuild(const Invocation& invocation);
int RunSave(const Invocation& invocation);
int RunLoad(const Invocation& invocation);
int RunDump(const Invocation& invocation);
int RunGraph(const Invocation& invocation);
int RunExport(const Invocation& invocation);
int RunTour(const Invocation& invocation);
int RunValidate(const Invocation& invocation);
int RunCheck(const Invocation& invocation);
int RunPublish(const Invocation& invocation);
int RunUnpublish(const Invocation& invocation);
int RunQuery(const Invocation& invocation);
int RunShapes(const Invocation& invocation);
int RunMigrate(const Invocation& invocation);

// How `links` and `load` mark a value link of an item channel: "value N of
// link L" (N from 1 for the attribute's own link L); empty for any other
// link. `namesSeen` holds the link names met so far on the channel, from
// link 0 on: a value link has an earlier link's name, so only such a link
// asks the channel.
std::string ValueLinkNote(Aco_QAXOntologyItem& channel, int link,
                          std::unordered_set<std::string>& namesSeen);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_COMMANDS_H_
