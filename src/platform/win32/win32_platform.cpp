#include "platform/win32/win32_platform.h"

#include "engine/platform_services.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_forms_host.h"
#include "platform/win32/win32_services.h"

namespace rowtint::win32 {

void BindWin32Platform() {
  // Made on first use, gone when the library unloads, which it does only
  // once no form window and no timer is left.
  static Win32Services services;
  static RegistrySettingsStore store;
  static Win32FormsHost forms;
  engine::BindPlatform({&services, &store, &forms});
}

}  // namespace rowtint::win32
