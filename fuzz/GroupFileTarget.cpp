#include <memory>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "host/sdk/GroupFile.h"

namespace qax_fuzz {

std::string FuzzGroupFile(const std::uint8_t* data, std::size_t size) {
  UseSampleOntology();
  globalEngine->ShowDebugMessage.Clear();
  GroupFileError error;
  const std::unique_ptr<LoadedGroup> loaded = LoadGroup(data, size, Registry(), &error);
  if (!loaded) return error.Message().empty() ? "a failed load gives no reason" : "";

  const char* name = loaded->Group()->GetGroupName();
  std::vector<unsigned char> saved;
  std::string reason;
  if (!SaveGroup(name, loaded->Channels(), &saved, &reason)) return "a loaded group fails to save";
  const std::unique_ptr<LoadedGroup> reloaded =
      LoadGroup(saved.data(), saved.size(), Registry(), &error);
  if (!reloaded) return "a saved group fails to load: " + error.Message();
  std::vector<unsigned char> resaved;
  SaveGroup(name, reloaded->Channels(), &resaved, &reason);
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

}  // namespace qax_fuzz
