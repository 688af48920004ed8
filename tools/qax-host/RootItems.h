// The items a group file builds, as check validates them and publish sends
// them: one per item channel that no other item channel links, nested
// items inside.
#ifndef QAX_TOOLS_QAX_HOST_ROOTITEMS_H_
#define QAX_TOOLS_QAX_HOST_ROOTITEMS_H_

#include <string>
#include <vector>

#include "host/qax/rdf/ItemSubject.h"
#include "host/sdk/LoadedGroup.h"
#include "tools/qax-host/Session.h"

namespace qaxoi::qax_host {

// The namespace of the root items' IRIs that check writes: channel #N of
// the group is "urn:qax-host:channel:N", and its nested items are named by
// their path under it (ItemSubject::nestedByPath).
inline constexpr const char* kChannelNamespace = "urn:qax-host:channel:";

// Builds the item of each root item channel of `group` and adds it to
// `subjects`, its IRI `subjectPrefix` followed by the channel's position.
// The items belong to the channels, which the group keeps. False after
// printing why an item could not be built.
bool BuildRootItems(const LoadedGroup& group, const Session& session,
                    const std::string& subjectPrefix,
                    std::vector<qaxoi::rdf::ItemSubject>* subjects);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_ROOTITEMS_H_
