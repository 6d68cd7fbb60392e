// The operating system's services and the stores the add-in works with, one
// reference per role: whoever makes the add-in (the COM server in Excel, the
// simulator in a test) hands them in.
#pragma once

#include "platform/diagnostics.h"
#include "platform/dialogs.h"
#include "platform/form_surface.h"
#include "platform/overlay_windows.h"
#include "platform/own_key.h"
#include "platform/screen_drawing.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/timers.h"
#include "platform/window_messages.h"
#include "platform/window_queries.h"

namespace rowtint::engine {

struct Services {
  platform::WindowQueries& windows;
  platform::ScreenDrawing& drawing;
  platform::Timers& timers;
  platform::Dialogs& dialogs;
  platform::Shell& shell;
  platform::SettingsStore& settings;
  platform::FormsHost& forms;
  platform::Diagnostics& diagnostics;
  platform::WindowMessages& messages;
  platform::OverlayWindows& overlays;
  platform::OwnKey& ownKey;
};

}  // namespace rowtint::engine
