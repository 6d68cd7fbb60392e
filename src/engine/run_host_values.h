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

class RunHostValues {
 public:
  explicit RunHostValues(platform::host::Application& app) : app_(app) {}

  platform::host::Application& App() { return app_; }
  platform::host::Window& ActiveWindow() {
    if (!window_) window_ = app_.ActiveWindow();
    return *window_;
  }
  std::int32_t ScrollRow() {
    if (!scrollRow_) scrollRow_ = ActiveWindow().ScrollRow();
    return *scrollRow_;
  }
  std::int32_t ScrollColumn() {
    if (!scrollColumn_) scrollColumn_ = ActiveWindow().ScrollColumn();
    return *scrollColumn_;
  }
  // The cell at an address, resolved once however often the run reads it.
  platform::host::Range& CellAt(const std::string& address) {
    for (const auto& [known, cell] : cells_)
      if (known == address) return *cell;
    cells_.emplace_back(address, app_.GetRange(address));
    return *cells_.back().second;
  }
  double ActiveCellHeight() {
    if (!height_) height_ = app_.ActiveCell()->Height();
    return *height_;
  }

 private:
  platform::host::Application& app_;
  std::shared_ptr<platform::host::Window> window_;
  std::optional<std::int32_t> scrollRow_;
  std::optional<std::int32_t> scrollColumn_;
  std::vector<std::pair<std::string, std::shared_ptr<platform::host::Range>>> cells_;
  std::optional<double> height_;
};

}  // namespace rowtint::engine
