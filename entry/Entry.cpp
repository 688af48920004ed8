// The module's entry points and the library entry routine.
#include <new>

#include "channel_extension/ChannelExtension.h"
#include "entry/StaticState.h"
#include "module/Module.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

#if defined(_WIN32)
#include <windows.h>
#endif

extern "C" {

ChannelType* GetType() {
  ChannelType& descriptor = qaxoi::module::TypeDescriptor;
  CopyFieldText(descriptor.Name, sizeof(descriptor.Name), kQAXOntologyItemTypeName);
  descriptor.TypeGuid = kQAXOntologyItemTypeGuid;
  descriptor.BaseGuid = kQAXOntologyItemTypeGuid;
  descriptor.TypeFlags = kQAXOntologyItemTypeFlags;
  descriptor.TypeExtra = 0;
  return &descriptor;
}

A3d_Channel* InitDLL() {
  // A constructor that runs out of memory part-way lets std::bad_alloc out;
  // the new-expression then frees the storage, and no exception may cross
  // into the host.
  try {
    return new (std::nothrow) Aco_QAXOntologyItem();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // extern "C"

#if defined(_WIN32)
BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
  return TRUE;
}
#endif
