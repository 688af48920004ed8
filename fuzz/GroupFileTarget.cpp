#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "host/sdk/GroupFile.h"

namespace qaxoi::fuzz {

std::string FuzzGroupFile(const std::uint8_t* data, std::size_t size) {
  UseSampleOntology();
  globalEngine->ShowDebugMessage.Clear();
  std::unique_ptr<LoadedGroup> loaded;
  const qaxoi::Status load = LoadGroup(data, size, Registry(), &loaded);
  if (!load.ok()) return load.message().empty() ? "a failed load gives no reason" : "";

  const char* name = loaded->Group()->GetGroupName();
  std::vector<unsigned char> saved;
  if (!SaveGroup(name, loaded->Channels(), &saved).ok()) return "a loaded group fails to save";
  std::unique_ptr<LoadedGroup> reloaded;
  const qaxoi::Status reload = LoadGroup(saved.data(), saved.size(), Registry(), &reloaded);
  if (!reload.ok()) return "a saved group fails to load: " + reload.message();
  std::vector<unsigned char> resaved;
  static_cast<void>(SaveGroup(name, reloaded->Channels(), &resaved));
  if (resaved != saved) return "saving a reloaded group gives other bytes";

  for (std::size_t i = 0; i < reloaded->ChannelCount(); ++i) {
    if (auto* item = dynamic_cast<Aco_QAXOntologyItem*>(reloaded->Channel(i))) {
      const std::string problem = LinksMismatch(*item);
      if (!problem.empty()) return "channel " + std::to_string(i) + ": " + problem;
      item->GetOntologyItem(true);
    }
  }
  return "";
}

}  // namespace qaxoi::fuzz
