#include "host/sdk/ChannelTypeRegistry.h"

#include <cstring>
#include <utility>

#include "host/sdk/A3d_Channel.h"
#include "host/sdk/Aco_FloatChannel.h"
#include "host/sdk/Aco_MatrixChannel.h"
#include "host/sdk/Aco_StringChannel.h"
#include "host/sdk/Aco_ValueVectorChannel.h"
#include "host/sdk/ModuleLoader.h"

namespace {

// Registers built-in channel class T under the type its constructor gives it.
template <typename T>
void RegisterBuiltIn(ChannelTypeRegistry* registry) {
  registry->Register(T().GetChannelType(), [] { return std::unique_ptr<A3d_Channel>(new T()); });
}

}  // namespace

bool ChannelTypeRegistry::GuidLess::operator()(const _GUID& a, const _GUID& b) const {
  return std::memcmp(&a, &b, sizeof(_GUID)) < 0;
}

ChannelTypeRegistry::ChannelTypeRegistry() = default;
ChannelTypeRegistry::~ChannelTypeRegistry() = default;

bool ChannelTypeRegistry::Register(const ChannelType& type, Factory factory) {
  if (!factory) return false;
  return entries_.emplace(type.TypeGuid, Entry{type, std::move(factory)}).second;
}

void ChannelTypeRegistry::RegisterBuiltIns() {
  RegisterBuiltIn<Aco_FloatChannel>(this);
  RegisterBuiltIn<Aco_StringChannel>(this);
  RegisterBuiltIn<Aco_ValueVectorChannel>(this);
  RegisterBuiltIn<Aco_MatrixChannel>(this);
}

bool ChannelTypeRegistry::RegisterModule(const ChannelModule& module) {
  const ChannelType* type = module.GetType();
  if (type == nullptr) return false;
  const ChannelModule* source = &module;
  return Register(*type, [source] { return source->NewChannel(); });
}

std::unique_ptr<A3d_Channel> ChannelTypeRegistry::NewChannel(const _GUID& typeGuid) const {
  const auto found = entries_.find(typeGuid);
  if (found == entries_.end()) return nullptr;
  std::unique_ptr<A3d_Channel> channel = found->second.factory();
  if (channel) channel->SetChannelType(found->second.type);
  return channel;
}

const ChannelType* ChannelTypeRegistry::FindType(const _GUID& typeGuid) const {
  const auto found = entries_.find(typeGuid);
  return found != entries_.end() ? &found->second.type : nullptr;
}
