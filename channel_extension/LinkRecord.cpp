#include "channel_extension/LinkRecord.h"

#include "channel_extension/CopyFieldText.h"

ChildCreation MakeLinkRecord(const _GUID& typeGuid, const char* typeName, const char* linkName,
                             std::int32_t index, std::int32_t linkParam) {
  ChildCreation record;
  record.Type.TypeGuid = typeGuid;
  CopyFieldText(record.Type.Name, sizeof(record.Type.Name), typeName);
  CopyFieldText(record.LinkName, sizeof(record.LinkName), linkName);
  record.Index = index;
  record.LinkParam = linkParam;
  return record;
}
