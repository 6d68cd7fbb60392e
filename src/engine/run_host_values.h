// The host's answers that cannot change within one paint: the run holds the
// host's only thread, and nothing it does (erasing, letting the window
// repaint, drawing) switches the window, scrolls it or moves the active
// cell. Each is asked for once, where the run first needs it, so that a
// failure still ends the run at that step.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/host.h"

namespace rowtint::engine {

// The pane whose visible range holds the cell; the active one when none
// does (the cell out of view), or when the window has only one.
std::shared_ptr<platform::host::Pane> PaneShowing(platform::host::Window& window, platform::host::Range& cell);

class RunHostValues {
 public:
  explicit RunHostValues(platform::host::Application& app) : app_(app) {}

  platform::host::Application& App() { return app_; }
  platform::host::Window& ActiveWindow();
  std::int32_t ScrollRow();
  std::int32_t ScrollColumn();
  // The cell at an address, resolved once however often the run reads it,
  // and its row and column, each asked for once.
  platform::host::Range& CellAt(const std::string& address);
  std::int32_t RowOf(const std::string& address);
  std::int32_t ColumnOf(const std::string& address);
  double ActiveCellHeight();

  // The active cell as the active window gives it, and its address.
  platform::host::Range& ActiveCell();
  const std::string& ActiveAddress();
  // The pane that shows the active cell, and the address of what it shows.
  platform::host::Pane& Pane();
  const std::string& VisibleAddress();
  // Frozen panes, and how many rows and columns they hold (0 and 0 without).
  bool FreezePanes();
  std::int32_t FrozenRows();
  std::int32_t FrozenColumns();

 private:
  struct CellValues {
    std::string address;
    std::shared_ptr<platform::host::Range> range;
    std::optional<std::int32_t> row, column;
  };
  CellValues& Cell(const std::string& address);

  platform::host::Application& app_;
  std::shared_ptr<platform::host::Window> window_;
  std::optional<std::int32_t> scrollRow_;
  std::optional<std::int32_t> scrollColumn_;
  std::vector<CellValues> cells_;
  std::optional<double> height_;
  std::shared_ptr<platform::host::Range> activeCell_;
  std::optional<std::string> activeAddress_;
  std::shared_ptr<platform::host::Pane> pane_;
  std::optional<std::string> visibleAddress_;
  std::optional<bool> frozen_;
  std::optional<std::int32_t> frozenRows_, frozenColumns_;
};

}  // namespace rowtint::engine
