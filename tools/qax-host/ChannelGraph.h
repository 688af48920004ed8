// A channel graph built on the command line: an ontology item channel for a
// class, with host channels (or nested item channels) linked to its attributes
// and carrying the values the user gave.
#ifndef QAX_TOOLS_QAX_HOST_CHANNELGRAPH_H_
#define QAX_TOOLS_QAX_HOST_CHANNELGRAPH_H_

#include <memory>
#include <string>
#include <vector>

#include "host/qax/model/QAX.h"
#include "host/status/Status.h"
#include "ontology_item/Aco_QAXOntologyItem.h"
#include "tools/qax-host/Session.h"

namespace qaxoi::qax_host {

// One value given as "path=value". The path is an attribute name, or an
// attribute of complex kind, a dot and a path into its class
// ("habitat.placeName=Ross Sea"). An attribute name may carry the number of
// the value it is for, from 1: "knows[2].name=Bob" is for the second
// value of knows, "knows.name" for the first.
struct Assignment {
  std::string path;
  std::string value;
};

// Splits "path=value" arguments (at the first '=') into `out`. Refuses the
// first argument without '=' or with an empty path (kInvalidArgument: a
// command line that cannot be understood) and the first path other than a
// plain attribute name given twice (kInvalidInput: a second value would
// replace the first), with a message that names the argument. A plain
// attribute name given again gives the attribute its next value.
qaxoi::Status ParseAssignments(const std::vector<std::string>& arguments,
                               std::vector<Assignment>* out);

class ChannelGraph {
 public:
  // Nested items deeper than this are refused (a class can nest itself).
  static constexpr int kMaxDepth = 32;

  // Builds an item channel for `metaClass` through the session's module,
  // prepares its links as the editor does, and links one child per attribute
  // that has a value: a text channel for text and date attributes, a float
  // channel for booleans ("true"/"false", "yes"/"no", "on"/"off", "1"/"0")
  // and numbers, and a nested item channel for an attribute of complex kind
  // (its class is the attribute's range, AttributeRange.h, or the class given
  // as the attribute's own value, "habitat=geo:Place", which must lie in
  // that range). Null and a message in `error`, before any channel is saved
  // or shown, for an unknown attribute (the message suggests the nearest
  // names), an attribute past the channel's link limit, a
  // value that does not fit its attribute or that the float channel would
  // change (see AttributeValues.h), a nested class outside the range, an
  // attribute that takes no value, a second value of an attribute that the
  // ontology allows one ("'hasSpiciness' takes one value: ..."), or a value
  // numbered past values not given ("knows[3]" without "knows[2]"). Each
  // value after an attribute's first gets a value link of its own
  // (Aco_QAXOntologyItem::AddValueLink), in the order the values are given.
  //
  // A real number that the float channel keeps with fewer digits is taken,
  // and noted in Notes().
  static std::unique_ptr<ChannelGraph> Build(const Session& session,
                                             const QAX::Ontology::MetaClass& metaClass,
                                             const std::vector<Assignment>& assignments,
                                             std::string* error);

  // Destroys the channels, children last.
  ~ChannelGraph();
  ChannelGraph(const ChannelGraph&) = delete;
  ChannelGraph& operator=(const ChannelGraph&) = delete;

  // The item channel of the class the graph was built for.
  Aco_QAXOntologyItem& root() const;
  // Every channel, the root first, each item channel before its children.
  std::vector<A3d_Channel*> Channels() const;
  // What the values became where that differs from what was given, one line
  // each: "weight=123456.789 is held by the float channel and written as
  // 123457". The commands show them on standard error.
  const std::vector<std::string>& Notes() const { return notes_; }

 private:
  ChannelGraph() = default;
  // Builds the item channel for `metaClass` and its children; answers it.
  // `pathPrefix` ("habitat.") names the attributes in messages as given.
  Aco_QAXOntologyItem* BuildItem(const Session& session, const QAX::Ontology::MetaClass& metaClass,
                                 const std::vector<Assignment>& assignments,
                                 const std::string& pathPrefix, int depth, std::string* error);

  std::vector<std::unique_ptr<A3d_Channel>> channels_;
  std::vector<std::string> notes_;
};

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_CHANNELGRAPH_H_
