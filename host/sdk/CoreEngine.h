// The core engine's part of dependency declaration.
#ifndef QAX_HOST_SDK_COREENGINE_H_
#define QAX_HOST_SDK_COREENGINE_H_

#include "host/sdk/HighPolyExport.h"

class A3d_Channel;
class A3d_List;

namespace Core {

class HIGHPOLY_API CoreEngine {
 public:
  // Adds the core engine's own dependency (one entry of kind Core) to `list`.
  // A null list is ignored.
  static void DoDependencyInit(A3d_Channel* channel, A3d_List* list);
};

}  // namespace Core

#endif  // QAX_HOST_SDK_COREENGINE_H_
