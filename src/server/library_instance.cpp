#include "server/library_instance.h"

#include "platform/win32/diagnostics_log.h"
#include "platform/win32/registry_own_key.h"
#include "platform/win32/registry_settings_store.h"
#include "platform/win32/win32_forms_host.h"
#include "platform/win32/win32_services.h"

namespace rowtint::win32 {

addin::Library& LoadedLibrary() {
  // Made on first use, gone when the library unloads, which it does only
  // once no form window and no timer is left.
  static Win32Services os;
  static RegistrySettingsStore store;
  static Win32FormsHost forms;
  static DiagnosticsLog log;
  static RegistryOwnKey ownKey;
  static addin::Library library(engine::Services{os, os, os, os, os, store, forms, log, os, os, ownKey});
  return library;
}

}  // namespace rowtint::win32
