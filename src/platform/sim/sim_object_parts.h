// What the simulated host's automation objects share: the reference to the
// host through which every call is counted, and the objects one hands out
// of another.
#pragma once

#include <memory>

#include "platform/error.h"
#include "platform/host.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/sim_excel_objects.h"
#include "platform/sim/sheet_model.h"

namespace rowtint::sim {

inline constexpr std::int32_t kDisconnected = -2147417848;  // RPC_E_DISCONNECTED

class HostRef {
 public:
  explicit HostRef(std::weak_ptr<ExcelModel> host) : host_(std::move(host)) {}
  // Every call into the host counts, and fails once the host has gone or while it is busy.
  ExcelModel& operator()() const {
    auto h = host_.lock();
    if (!h) platform::Raise(kDisconnected, "Automation error: the object invoked has disconnected from its clients");
    h->Called();
    return *h;
  }
  // The host without a call into it: null once it has gone.
  std::shared_ptr<ExcelModel> Peek() const { return host_.lock(); }

 private:
  std::weak_ptr<ExcelModel> host_;
};

std::shared_ptr<platform::host::Range> NewRange(const HostRef& host, const Area& area);
// The window of the workbook with this id.
std::shared_ptr<platform::host::Window> NewWindow(const HostRef& host, int workbookId);

}  // namespace rowtint::sim
