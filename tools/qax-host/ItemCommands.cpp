// Commands that build items and move channel graphs through group files:
// build, save, load, export, and the tour that shows them all.
#include <cstdio>
#include <cstdlib>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "host/files/InputFile.h"
#include "host/qax/rdf/Rdf.h"
#include "host/sdk/GroupFile.h"
#include "host/sdk/GroupFileReader.h"
#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/Activity.h"
#include "tools/qax-host/ChannelGraph.h"
#include "tools/qax-host/ChannelText.h"
#include "tools/qax-host/ClassNames.h"
#include "tools/qax-host/Commands.h"
#include "tools/qax-host/ItemText.h"
#include "tools/qax-host/MisplacedValues.h"
#include "tools/qax-host/MissingClass.h"
#include "tools/qax-host/Output.h"
#include "tools/qax-host/Rebinding.h"
#include "tools/qax-host/Verbosity.h"

namespace qaxoi::qax_host {

namespace {

// The group name qax-host gives the groups it saves.
constexpr const char* kGroupName = "qax-host";

// The longest class handle that loading an item channel keeps whole (its
// "CID" record, docs/limits.md); a longer one is cut, and the item is lost.
constexpr std::size_t kMaxLoadedClassHandle = 255;

}  // namespace

QAX::Onto::OntologyItem* BuildItem(Aco_QAXOntologyItem& channel, const Session& session) {
  const Activity building("building the item of channel " + QuotedNameOf(channel));
  QAX::Onto::OntologyItem* item = channel.GetOntologyItem(true);
  if (item == nullptr) {
    Fail("channel " + QuotedNameOf(channel) + " builds no item: " +
         MissingClassReason(channel.GetClassHandle(), session.model(), KnownVocabularyFolder()));
  }
  return item;
}

namespace {

// Prints the item `channel` builds from its children.
int PrintItem(Aco_QAXOntologyItem& channel, const Session& session) {
  QAX::Onto::OntologyItem* item = BuildItem(channel, session);
  if (item == nullptr) return kExitFailure;
  const Activity writing("writing the item of channel " + QuotedNameOf(channel));
  std::fputs(ItemText(*item, session.model()).c_str(), stdout);
  return kExitOk;
}

// The positions of a group's channels, found in constant time however
// large the group.
class ChannelPositions {
 public:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  explicit ChannelPositions(const std::vector<A3d_Channel*>& channels) {
    for (std::size_t i = 0; i < channels.size(); ++i) positions_.emplace(channels[i], i);
  }
  // The position of `channel`; kNone for null or a channel of no position.
  std::size_t Of(const A3d_Channel* channel) const {
    const auto found = positions_.find(channel);
    return channel == nullptr || found == positions_.end() ? kNone : found->second;
  }
  // The position as JSON: a number, or null.
  Json JsonOf(const A3d_Channel* channel) const {
    const std::size_t position = Of(channel);
    return position == kNone ? Json() : Json(position);
  }

 private:
  std::unordered_map<const A3d_Channel*, std::size_t> positions_;
};

}  // namespace

std::set<const A3d_Channel*> NestedChannels(const std::vector<A3d_Channel*>& channels) {
  std::set<const A3d_Channel*> nested;
  for (A3d_Channel* parent : channels) {
    if (dynamic_cast<Aco_QAXOntologyItem*>(parent) == nullptr) continue;
    for (int link = 0; link < parent->GetChildCount(); ++link) {
      if (parent->GetChild(link) != nullptr) nested.insert(parent->GetChild(link));
    }
  }
  return nested;
}

namespace {

// load --json: the group's channels, their links and the items of the item
// channels that no other item channel links.
int PrintLoadedJson(const std::string& file, const char* groupName,
                    const std::vector<A3d_Channel*>& channels, const Session& session) {
  const std::set<const A3d_Channel*> nested = NestedChannels(channels);
  const ChannelPositions positions(channels);
  Json shown = Json::array();
  Json items = Json::array();
  int result = kExitOk;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    A3d_Channel& channel = *channels[i];
    Json links = Json::array();
    for (int link = 0; link < channel.GetChildCount(); ++link) {
      links.push_back({{"link", link},
                       {"name", FieldText(channel.GetChildCreation(link)->LinkName)},
                       {"target", positions.JsonOf(channel.GetChild(link))}});
    }
    const char* name = channel.GetChannelName();
    shown.push_back({{"index", i},
                     {"type", TypeNameOf(channel)},
                     {"name", name != nullptr ? Json(name) : Json()},
                     {"value", ValueJson(channel)},
                     {"links", std::move(links)}});
    auto* itemChannel = dynamic_cast<Aco_QAXOntologyItem*>(&channel);
    if (itemChannel == nullptr || nested.count(&channel) != 0) continue;
    QAX::Onto::OntologyItem* item = BuildItem(*itemChannel, session);
    if (item == nullptr) {
      result = kExitFailure;
      items.push_back({{"channel", i}, {"item", nullptr}});
    } else {
      items.push_back({{"channel", i}, {"item", ItemJson(*item, session.model())}});
    }
  }
  PrintJson({{"file", file},
             {"group", groupName != nullptr ? Json(groupName) : Json()},
             {"channels", std::move(shown)},
             {"items", std::move(items)}});
  return result;
}

}  // namespace

int ReadAssignments(const std::vector<std::string>& arguments, std::size_t first,
                    std::vector<Assignment>* out) {
  const qaxoi::Status parsed =
      ParseAssignments(std::vector<std::string>(
                           arguments.begin() + static_cast<std::ptrdiff_t>(first), arguments.end()),
                       out);
  if (parsed.code() == qaxoi::Status::Code::kInvalidArgument) return UsageError(parsed.message());
  if (!parsed.ok()) return Fail(parsed);
  return kExitOk;
}

std::unique_ptr<ChannelGraph> GraphFor(const Session& session, const std::string& className,
                                       const std::vector<Assignment>& assignments) {
  const QAX::Ontology::MetaClass* metaClass = nullptr;
  const qaxoi::Status found = FindClass(session.model(), className, &metaClass);
  if (!found.ok()) {
    Fail(found);
    return nullptr;
  }
  std::string error;
  const Activity building("building the channels for " + Escaped(className));
  std::unique_ptr<ChannelGraph> graph =
      ChannelGraph::Build(session, *metaClass, assignments, &error);
  if (!graph) {
    Fail(error);
    return nullptr;
  }
  PrintNotes(*graph);
  return graph;
}

std::unique_ptr<LoadedGroup> LoadInput(const std::string& path, const Session& session,
                                       BindingNotice notice) {
  const Activity loading("loading the group file '" + Escaped(InputName(path)) + "'");
  std::vector<unsigned char> bytes;
  const qaxoi::Status read = qaxoi::files::ReadInputFile(path, &bytes);
  if (!read.ok()) {
    Fail(read);
    return nullptr;
  }
  GroupFileHeader header;
  GroupFileReader peek(bytes.data(), bytes.size());
  const bool large =
      peek.ReadHeader(&header, nullptr) && header.channelCount > kProgressGroupChannels;
  Progress progress(large, "loading " + Counted(header.channelCount, "channel", "channels") +
                               " from " + InputName(path));
  // The failure's message is made again with the name the user gave.
  GroupFileError error;
  std::unique_ptr<LoadedGroup> group;
  const qaxoi::Status loaded =
      LoadGroup(bytes.data(), bytes.size(), session.registry(), &group, &error);
  progress.Done();
  if (!loaded.ok()) {
    error.file = InputName(path);
    Fail(error.Message());
    return group;
  }
  if (notice == BindingNotice::kSummary) {
    const std::string summary = BindingSummary(InputName(path), CountBindings(group->Channels()));
    if (!summary.empty()) Note(Escaped(summary));
  }
  return group;
}

const char* KnownVocabularyFolder() {
  const char* folder = std::getenv("QAX_HOST_VOCABULARIES");
  return folder != nullptr ? folder : "";
}

int RunBuild(const Invocation& invocation) {
  if (invocation.arguments.empty()) return UsageError("build needs a class name");
  std::vector<Assignment> assignments;
  if (const int failed = ReadAssignments(invocation.arguments, 1, &assignments)) return failed;
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<ChannelGraph> graph = GraphFor(*session, invocation.arguments[0], assignments);
  if (!graph) return kExitFailure;
  if (invocation.json) {
    QAX::Onto::OntologyItem* item = BuildItem(graph->root(), *session);
    if (item == nullptr) return kExitFailure;
    PrintJson(ItemJson(*item, session->model()));
    return kExitOk;
  }
  return PrintItem(graph->root(), *session);
}

int RunSave(const Invocation& invocation) {
  if (invocation.arguments.size() < 2) {
    return UsageError(invocation.arguments.empty()
                          ? std::string("save needs a class name and a file")
                          : "save needs a file after the class '" + invocation.arguments[0] + "'");
  }
  const std::string& path = invocation.arguments[1];
  if (const int failed = RefuseValueAsFile("save", "", path,
                                           "save " + invocation.arguments[0] + " FILE " + path +
                                               (invocation.arguments.size() > 2 ? " ..." : "")))
    return failed;
  std::vector<Assignment> assignments;
  if (const int failed = ReadAssignments(invocation.arguments, 2, &assignments)) return failed;
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<ChannelGraph> graph = GraphFor(*session, invocation.arguments[0], assignments);
  if (!graph) return kExitFailure;
  for (A3d_Channel* channel : graph->Channels()) {
    const auto* item = dynamic_cast<const Aco_QAXOntologyItem*>(channel);
    if (item != nullptr && item->GetClassHandle().size() > kMaxLoadedClassHandle) {
      return Fail("cannot save class <" + item->GetClassHandle() + ">: its IRI has " +
                  std::to_string(item->GetClassHandle().size()) + " bytes, and loading a group " +
                  "keeps " + std::to_string(kMaxLoadedClassHandle) +
                  " (the item would not load back); nothing was written");
    }
  }
  const Activity saving("saving the group file '" + Escaped(path) + "'");
  std::vector<unsigned char> bytes;
  const qaxoi::Status saved = SaveGroup(kGroupName, graph->Channels(), &bytes);
  if (!saved.ok()) return Fail(saved.Prefixed("cannot save '" + path + "': "));
  bool toStandardOutput = false;
  if (!WriteOutput(path, std::string(bytes.begin(), bytes.end()), &toStandardOutput)) {
    return kExitFailure;
  }
  if (toStandardOutput) return kExitOk;
  Note("saved " + Counted(graph->Channels().size(), "channel", "channels") + " to " +
       Escaped(path));
  return kExitOk;
}

int RunLoad(const Invocation& invocation) {
  if (invocation.arguments.size() != 1)
    return UsageError(OneArgumentMessage("load", "FILE", invocation.arguments));
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::unique_ptr<LoadedGroup> group = LoadInput(invocation.arguments[0], *session);
  if (!group) return kExitFailure;

  const char* groupName = group->Group()->GetGroupName();
  const std::vector<A3d_Channel*> channels = group->Channels();
  if (invocation.json)
    return PrintLoadedJson(InputName(invocation.arguments[0]), groupName, channels, *session);
  std::printf("group %s: %s\n", groupName != nullptr ? Quoted(groupName).c_str() : "(no name)",
              Counted(group->ChannelCount(), "channel", "channels").c_str());
  const std::set<const A3d_Channel*> nested = NestedChannels(channels);
  const ChannelPositions positions(channels);
  for (std::size_t i = 0; i < channels.size(); ++i) {
    A3d_Channel& channel = *channels[i];
    PrintLine("  #" + std::to_string(i) + " " + TypeNameOf(channel) + " " + QuotedNameOf(channel) +
              " " + ValueOf(channel));
    auto* itemChannel = dynamic_cast<Aco_QAXOntologyItem*>(&channel);
    std::unordered_set<std::string> namesSeen;
    for (int link = 0; link < channel.GetChildCount(); ++link) {
      const A3d_Channel* child = channel.GetChild(link);
      const ChildCreation* record = channel.GetChildCreation(link);
      const std::size_t target = positions.Of(child);
      const std::string note =
          itemChannel != nullptr ? ValueLinkNote(*itemChannel, link, namesSeen) : std::string();
      std::printf("      link %d %s -> %s%s\n", link, Escaped(FieldText(record->LinkName)).c_str(),
                  target == ChannelPositions::kNone ? "(nothing linked)"
                                                    : ("#" + std::to_string(target)).c_str(),
                  note.empty() ? "" : (" (" + note + ")").c_str());
    }
  }
  int result = kExitOk;
  for (std::size_t i = 0; i < channels.size(); ++i) {
    auto* item = dynamic_cast<Aco_QAXOntologyItem*>(channels[i]);
    if (item == nullptr || nested.count(item) != 0) continue;
    std::printf("item built by #%zu:\n", i);
    std::fflush(stdout);
    if (PrintItem(*item, *session) != kExitOk) result = kExitFailure;
  }
  return result;
}

namespace {

// The IRI that export's --subject gives, without the angle brackets it may
// be given in (as RDF writes it, and as classes are named): kExitOk, or
// kExitUsage after saying why `given` is no absolute IRI.
int ReadSubjectIri(const std::string& given, std::string* iri) {
  *iri = given;
  if (iri->size() >= 2 && iri->front() == '<' && iri->back() == '>') {
    *iri = iri->substr(1, iri->size() - 2);
  }
  if (!qaxoi::rdf::IsSubjectIri(*iri)) {
    return UsageError("--subject: '" + given +
                      "' is no absolute IRI; give a scheme and what follows it, such as "
                      "http://example.org/items/1 or urn:uuid:...");
  }
  return kExitOk;
}

// Refuses, after saying why, a subject that names a library's name as its
// scheme: "zoo:Pingu" is the IRI <zoo:Pingu>, which is seldom what was
// meant. Answers kExitOk or kExitUsage.
int CheckSubjectScheme(const std::string& iri, const QAX::Ontology::OntologyModel& model) {
  const std::string scheme = iri.substr(0, iri.find(':'));
  for (const QAX::Ontology::MetaClassLibrary* library : model.GetLibraries()) {
    if (library->GetName() != scheme) continue;
    std::string message = "--subject: '" + iri + "' would be an IRI of the scheme '";
    message.append(scheme).append("', which is the name of a library; give the whole IRI");
    const std::string ns = model.GetNamespace(scheme);
    if (!ns.empty()) message.append(", such as ").append(ns).append(iri, scheme.size() + 1);
    return UsageError(message);
  }
  return kExitOk;
}

}  // namespace

int RunExport(const Invocation& invocation) {
  qaxoi::rdf::RdfSyntax syntax = qaxoi::rdf::RdfSyntax::kTurtle;
  const bool jsonLd = invocation.format == "jsonld";
  if (invocation.format == "ntriples") {
    syntax = qaxoi::rdf::RdfSyntax::kNTriples;
  } else if (!jsonLd && !invocation.format.empty() && invocation.format != "turtle") {
    return UsageError("--format: '" + invocation.format +
                      "' is not a format of export; use turtle, ntriples or jsonld");
  }
  if (const int failed = CheckSource("export", invocation)) return failed;
  std::string subjectIri;
  if (!invocation.subject.empty()) {
    if (const int failed = ReadSubjectIri(invocation.subject, &subjectIri)) return failed;
  }
  std::vector<Assignment> assignments;
  if (invocation.file.empty()) {
    if (const int failed = RefuseValueAsFile("export", "--output", invocation.output,
                                             "export " + invocation.arguments[0] +
                                                 (invocation.arguments.size() > 1 ? " ... " : " ") +
                                                 invocation.output + " --output FILE")) {
      return failed;
    }
    if (const int failed = ReadAssignments(invocation.arguments, 1, &assignments)) return failed;
  }
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  if (!subjectIri.empty()) {
    if (const int failed = CheckSubjectScheme(subjectIri, session->model())) return failed;
  }
  // What the items come from; both outlive the writing.
  std::unique_ptr<ChannelGraph> graph;
  std::unique_ptr<LoadedGroup> group;
  std::vector<qaxoi::rdf::ItemSubject> subjects;
  if (invocation.file.empty()) {
    graph = GraphFor(*session, invocation.arguments[0], assignments);
    if (!graph) return kExitFailure;
    QAX::Onto::OntologyItem* item = BuildItem(graph->root(), *session);
    if (item == nullptr) return kExitFailure;
    subjects.push_back({item, ""});
  } else {
    group = LoadInput(invocation.file, *session);
    if (!group) return kExitFailure;
    const std::vector<A3d_Channel*> channels = group->Channels();
    const std::set<const A3d_Channel*> nested = NestedChannels(channels);
    for (A3d_Channel* channel : channels) {
      auto* itemChannel = dynamic_cast<Aco_QAXOntologyItem*>(channel);
      if (itemChannel == nullptr || nested.count(channel) != 0) continue;
      QAX::Onto::OntologyItem* item = BuildItem(*itemChannel, *session);
      if (item == nullptr) return kExitFailure;
      subjects.push_back({item, ""});
    }
  }
  if (!subjectIri.empty()) {
    // One IRI names one item: the items of a group of several would be one
    // resource with the values of all.
    if (subjects.size() != 1) {
      return Fail("--subject names one item, but " + Escaped(InputName(invocation.file)) +
                  " holds " + Counted(subjects.size(), "item", "items") +
                  "; export it without --subject, or save each item as a group of its own");
    }
    subjects.front().iri = subjectIri;
  }
  const Activity writing("writing the items as RDF");
  qaxoi::rdf::WrittenItems written;
  const qaxoi::Status status =
      jsonLd ? qaxoi::rdf::WriteItemsJsonLd(subjects, session->model(), &written)
             : qaxoi::rdf::WriteItems(subjects, session->model(), syntax, &written);
  if (!status.ok()) return Fail(status);
  for (const std::string& warning : written.warnings) {
    Warn(warning);
  }
  if (invocation.output.empty()) {
    std::fputs(written.text.c_str(), stdout);
    return kExitOk;
  }
  bool toStandardOutput = false;
  if (!WriteOutput(invocation.output, written.text, &toStandardOutput)) return kExitFailure;
  if (toStandardOutput) return kExitOk;
  Note("wrote " + Counted(subjects.size(), "item", "items") + " to " + Escaped(invocation.output));
  return kExitOk;
}

int RunTour(const Invocation& invocation) {
  std::unique_ptr<Session> session = OpenSession(invocation);
  if (!session) return kExitFailure;
  std::printf(
      "qax-host loads the QAXOntologyItem channel module as a host engine does and\n"
      "uses it on the ontology %s. A short tour (see qax-host --help):\n\n",
      Escaped(session->ontologyName()).c_str());
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

}  // namespace qaxoi::qax_host
