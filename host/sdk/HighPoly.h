// Everything a channel module uses of the host engine's channel SDK.
#ifndef QAX_HOST_SDK_HIGHPOLY_H_
#define QAX_HOST_SDK_HIGHPOLY_H_

#include "host/sdk/A3dFileLoader.h"
#include "host/sdk/A3dFileSaver.h"
#include "host/sdk/A3d_Channel.h"
#include "host/sdk/A3d_ChannelGroup.h"
#include "host/sdk/A3d_List.h"
#include "host/sdk/Aco_FloatChannel.h"
#include "host/sdk/Aco_MatrixChannel.h"
#include "host/sdk/Aco_StringChannel.h"
#include "host/sdk/Aco_ValueVectorChannel.h"
#include "host/sdk/ChannelType.h"
#include "host/sdk/ChildCreation.h"
#include "host/sdk/CoreEngine.h"
#include "host/sdk/EngineInterface.h"
#include "host/sdk/Guid.h"
#include "host/sdk/HighPolyExport.h"
#include "host/sdk/MathTypes.h"

#endif  // QAX_HOST_SDK_HIGHPOLY_H_
