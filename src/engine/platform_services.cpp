#include "engine/platform_services.h"

#include "platform/error.h"

namespace rowtint::engine {
namespace {
PlatformServices g_services;

template <class T>
T& Bound(T* service) {
  if (!service) platform::Raise(platform::err::kObjectNotSet, "Object variable or With block variable not set");
  return *service;
}
}  // namespace

void BindPlatform(const PlatformServices& services) { g_services = services; }

platform::WindowsServices& Os() { return Bound(g_services.os); }
platform::SettingsStore& Settings() { return Bound(g_services.settings); }
platform::FormsHost& Forms() { return Bound(g_services.forms); }

}  // namespace rowtint::engine
