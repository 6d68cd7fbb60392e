// Messages of windows the add-in does not own: it watches the host's grid
// window from inside that window's procedure (a subclass), and acts on what
// it saw later, from a message posted to a window of its own, where calling
// the host is safe.
#pragma once

#include <vector>

#include "platform/types.h"

namespace rowtint::platform {

// What a grid window was told. Scrolled stands for every message that may
// move what the window shows: a scroll bar's, the mouse wheel's and a
// scrolling key's; Sized for a new size; Moved for a new place on the screen
// (a main window dragged, the grid's parent with it).
enum class GridMessage { Painted, Scrolled, Sized, Moved };

// Called from inside the watched window's procedure: no call of the host's
// object model may be made here, and nothing may be thrown.
class GridListener {
 public:
  // The window's own procedure has handled `message`.
  virtual void OnGridMessage(WindowHandle grid, GridMessage message) = 0;
  // The window's own paint just repainted `area`, in its client coordinates,
  // clipped to it: whatever was drawn there before is gone.
  virtual void OnGridPainted(WindowHandle grid, const std::vector<Rect>& area) = 0;
  // The window is being destroyed; its subclass is gone already.
  virtual void OnGridDestroyed(WindowHandle grid) = 0;

 protected:
  ~GridListener() = default;
};

class PostedCallback {
 public:
  virtual void OnPosted() = 0;

 protected:
  ~PostedCallback() = default;
};

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  // Puts `listener` in the window's procedure; false when it could not be
  // (a window of another thread, or gone). A second call for the same window replaces the listener.
  virtual bool SubclassWindow(WindowHandle window, GridListener& listener) = 0;
  virtual bool RemoveSubclass(WindowHandle window) = 0;
  // Posts one message to `own`, a message window of the caller's (see
  // Timers::CreateMessageWindow); `callback` runs when it is dispatched,
  // unless the window is destroyed first.
  virtual bool PostToWindow(WindowHandle own, PostedCallback& callback) = 0;
};

}  // namespace rowtint::platform
