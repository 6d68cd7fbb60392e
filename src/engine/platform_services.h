// The operating system, settings store and form host the add-in works
// with; bound once when the library is loaded (or when a simulated desktop
// takes their place). Using one that is not bound raises.
#pragma once

#include "platform/form_surface.h"
#include "platform/os_services.h"
#include "platform/settings_store.h"

namespace rowtint::engine {

struct PlatformServices {
  platform::WindowsServices* os = nullptr;
  platform::SettingsStore* settings = nullptr;
  platform::FormsHost* forms = nullptr;
};

void BindPlatform(const PlatformServices& services);

platform::WindowsServices& Os();
platform::SettingsStore& Settings();
platform::FormsHost& Forms();

}  // namespace rowtint::engine
