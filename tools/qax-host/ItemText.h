// How qax-host shows an ontology item to people.
#ifndef QAX_TOOLS_QAX_HOST_ITEMTEXT_H_
#define QAX_TOOLS_QAX_HOST_ITEMTEXT_H_

#include <string>
#include <vector>

#include "host/qax/model/QAX.h"

namespace qaxoi::qax_host {

// The name qax-host shows for the class of `item`: "library:Local" as for
// every class it names, or the item's FQ name when `model` has no class of
// that name.
std::string ItemClassName(const QAX::Onto::OntologyItem& item,
                          const QAX::Ontology::OntologyModel& model);

// One attribute of an item and its values, in the item's order: a single
// text or nested item, or a list of either (an attribute with several
// values). The nested items are the item's own, valid while it is not
// changed.
struct ItemAttribute {
  std::string name;
  bool list = false;
  std::vector<std::string> texts;
  std::vector<const QAX::Onto::OntologyItem*> items;
};
std::vector<ItemAttribute> ItemAttributes(const QAX::Onto::OntologyItem& item);

// The item as indented text, one line per attribute that holds a value, each
// ending in "\n":
//   zoo:Penguin
//     name = "Pingu"
//     habitat = geo:Place
//       placeName = "Ross Sea"
//     nickname = ["Pingu", "P."]
//     friends = [
//       - zoo:Penguin
//         name = "Pinga"
//     ]
// Texts are quoted (Quoted in ChannelText.h), names escaped; an attribute
// with several values shows them as a list. Written without recursion, so
// any nesting depth costs memory only.
std::string ItemText(const QAX::Onto::OntologyItem& item,
                     const QAX::Ontology::OntologyModel& model);

}  // namespace qaxoi::qax_host

#endif  // QAX_TOOLS_QAX_HOST_ITEMTEXT_H_
