// The module's entry points and the library entry routine.
#include <cstring>
#include <new>

#include "module/Module.h"
#include "module/StaticState.h"
#include "ontology_item/Aco_QAXOntologyItem.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace {

// Copies `source` into `destination` with a bound of `bound` places: stops at
// the source's terminator or when one place of the bound is left, and always
// writes a terminator.
void CopyBounded(char* destination, const char* source, std::size_t bound) {
  if (bound == 0) return;
  std::size_t i = 0;
  for (; i + 1 < bound && source[i] != '\0'; ++i) destination[i] = source[i];
  destination[i] = '\0';
}

}  // namespace

extern "C" {

ChannelType* GetType() {
  ChannelType& descriptor = qax_module::TypeDescriptor;
  std::memset(descriptor.Name, 0, sizeof(descriptor.Name));
  CopyBounded(descriptor.Name, kQAXOntologyItemTypeName, 79);
  descriptor.TypeGuid = kQAXOntologyItemTypeGuid;
  descriptor.BaseGuid = kQAXOntologyItemTypeGuid;
  descriptor.TypeFlags = 7;
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
