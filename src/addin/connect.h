// The add-in's connection object: holds the event-bound reference to the
// host application and handles the host's Application events.
#pragma once

#include <cstdint>
#include <memory>

#include "addin/event_bound.h"
#include "platform/host.h"

namespace rowtint::addin {

class Connect : private platform::host::AppEvents {
 public:
  Connect() : appHostApp(*this) {}
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;

  // Source of the Application events handled below.
  EventBound<platform::host::Application, platform::host::AppEvents> appHostApp;

  // What the selection handler remembers between selection changes.
  std::int32_t SelScrollRow() const { return SelScrollRow_; }
  std::int32_t LastSelColumn() const { return LastSelColumn_; }

 private:
  // Host event handlers
  void appHostApp_SheetActivate();
  void appHostApp_SheetSelectionChange();
  void appHostApp_WindowResize();
  void appHostApp_WorkbookActivate();
  void appHostApp_WorkbookBeforePrint();
  void appHostApp_WorkbookAddinUninstall();

  // AppEvents, as the host raises them
  void SheetActivate(const std::shared_ptr<platform::host::Object>& sh) override;
  void SheetSelectionChange(const std::shared_ptr<platform::host::Object>& sh,
                            const std::shared_ptr<platform::host::Range>& target) override;
  void WindowResize(const std::shared_ptr<platform::host::Object>& wb,
                    const std::shared_ptr<platform::host::Object>& wn) override;
  void WorkbookActivate(const std::shared_ptr<platform::host::Object>& wb) override;
  void WorkbookBeforePrint(const std::shared_ptr<platform::host::Object>& wb, platform::VbBool& cancel) override;
  void WorkbookAddinUninstall(const std::shared_ptr<platform::host::Object>& wb) override;

  platform::host::Application& App();

  std::int32_t SelScrollRow_ = 0;
  std::int32_t LastSelColumn_ = 0;
};

}  // namespace rowtint::addin
