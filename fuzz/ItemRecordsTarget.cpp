#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

namespace qaxoi::fuzz {

std::string FuzzItemRecords(const std::uint8_t* data, std::size_t size) {
  UseSampleOntology();
  globalEngine->ShowDebugMessage.Clear();
  static A3d_ChannelGroup group("fuzz");

  Aco_QAXOntologyItem first;
  A3dFileLoader loader(data, size);
  if (!first.LoadChannel(loader, &group)) return "";
  std::string problem = LinksMismatch(first);
  if (!problem.empty()) return "loaded: " + problem;

  A3dFileSaver saver;
  if (!first.SaveChannel(saver) || !saver.Ok()) return "the loaded channel saves broken records";
  Aco_QAXOntologyItem second;
  A3dFileLoader again(saver.Data().data(), saver.Data().size());
  if (!second.LoadChannel(again, nullptr)) return "the saved records do not load";
  if (!again.AtEnd()) return "the saved records are not all read back";
  if (second.GetLinkDescriptions() != first.GetLinkDescriptions() ||
      second.GetClassHandle() != first.GetClassHandle()) {
    return "the saved records load as another channel";
  }
  A3dFileSaver resaver;
  second.SaveChannel(resaver);
  if (resaver.Data() != saver.Data()) return "saving the reloaded channel gives other records";

  // Rebuild with children of every link's type, the first channel nested.
  LinkChildrenByType(first, nullptr);
  LinkChildrenByType(second, &first);
  if (QAX::Onto::OntologyItem* item = second.GetOntologyItem(true)) {
    second.FillAttributes(item);
    item->ToText();
  }
  second.GetClassDescription(second.GetCurrentMetaClass());
  problem = LinksMismatch(second);
  return problem.empty() ? "" : "rebuilt: " + problem;
}

}  // namespace qaxoi::fuzz
