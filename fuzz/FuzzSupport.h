// What the fuzz targets share: the sample ontology, a registry of channel
// types, and the checks that every ontology item channel must pass.
#ifndef QAX_FUZZ_FUZZSUPPORT_H_
#define QAX_FUZZ_FUZZSUPPORT_H_

#include <string>

#include "host/sdk/ChannelTypeRegistry.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

namespace qaxoi::fuzz {

// Sets qax-host's sample ontology on the ambassador (loaded once, kept for
// the process) and answers it.
const QAX::Ontology::OntologyModel& UseSampleOntology();

// The host's built-in channel types and the module's, made through InitDLL.
const ChannelTypeRegistry& Registry();

// Empty when the host declares exactly the channel's link descriptions (each
// text cut to its record field); otherwise what differs.
std::string LinksMismatch(const Aco_QAXOntologyItem& channel);

// Links a child of each link's type to `channel`: a text channel, a value
// channel, or `nested` for a nested item link. The children live as long as
// the process.
void LinkChildrenByType(Aco_QAXOntologyItem& channel, Aco_QAXOntologyItem* nested);

}  // namespace qaxoi::fuzz

#endif  // QAX_FUZZ_FUZZSUPPORT_H_
