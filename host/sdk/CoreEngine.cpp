#include "host/sdk/CoreEngine.h"

#include "host/sdk/A3d_List.h"

namespace Core {

void CoreEngine::DoDependencyInit(A3d_Channel* /*channel*/, A3d_List* list) {
  if (list != nullptr) list->AddCore();
}

}  // namespace Core
