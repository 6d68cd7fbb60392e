#include "engine/platform_services.h"

#include "platform/error.h"

namespace rowtint::engine {
namespace {
PlatformServices g_services;

}  // namespace

void BindPlatform(const PlatformServices& services) { g_services = services; }

platform::WindowsServices& Os() { return platform::Required(g_services.os); }
platform::SettingsStore& Settings() { return platform::Required(g_services.settings); }
platform::FormsHost& Forms() { return platform::Required(g_services.forms); }

}  // namespace rowtint::engine
