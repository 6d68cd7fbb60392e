// The automation objects of the simulated host (Application, Window, Range, ...).
#pragma once

#include <memory>
#include <optional>

#include "platform/host.h"
#include "platform/sim/sheet_model.h"

namespace rowtint::sim {

class ExcelModel;

// Window.Hwnd, which the host has from version 15 on only and which a caller
// finds by name: the stand-in answers it from here.
class WindowMainHandle {
 public:
  virtual ~WindowMainHandle() = default;
  // Whether the host's version has Window.Hwnd; no call into the host.
  virtual bool HasMainHandle() = 0;
  // The main window of the window's workbook; nullopt where the version has no Window.Hwnd.
  virtual std::optional<platform::WindowHandle> MainHandle() = 0;
};

std::shared_ptr<platform::host::Application> MakeApplication(const std::shared_ptr<ExcelModel>& host);
// A range the host itself hands out (an event's target), made without a call into the host.
std::shared_ptr<platform::host::Range> MakeRange(const std::shared_ptr<ExcelModel>& host, const Area& area);

}  // namespace rowtint::sim
