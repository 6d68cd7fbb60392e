// The add-in's connection object: its lifecycle with the host, the toolbar
// and menu it builds, the click handlers behind them, find-last-row, and the
// host's Application events.
#pragma once

#include <cstdint>
#include <memory>

#include "addin/event_bound.h"
#include "platform/command_bars.h"
#include "platform/extensibility.h"
#include "platform/host.h"

namespace rowtint::addin {

class Connect;

// Routes one button's Click event to its handler on Connect.
class ClickRelay : public platform::ButtonEvents {
 public:
  using Handler = void (Connect::*)();
  ClickRelay(Connect& connect, Handler handler) : connect_(connect), handler_(handler) {}
  void Click(const std::shared_ptr<platform::CommandBarButton>& ctrl, platform::VbBool& cancelDefault) override;

 private:
  Connect& connect_;
  Handler handler_;
};

using BoundButton = EventBound<platform::CommandBarButton, platform::ButtonEvents>;

class Connect : public platform::IDTExtensibility2, private platform::host::AppEvents {
 public:
  Connect();
  Connect(const Connect&) = delete;
  Connect& operator=(const Connect&) = delete;
  ~Connect() override;

  // IDTExtensibility2
  void OnConnection(const std::shared_ptr<platform::host::Object>& Application, platform::ext_ConnectMode ConnectMode,
                    const std::shared_ptr<platform::host::Object>& AddInInst) override;
  void OnDisconnection(platform::ext_DisconnectMode RemoveMode) override;
  void OnAddInsUpdate() override;
  void OnStartupComplete() override;
  void OnBeginShutdown() override;

  // Builds the "Rowtint" popup on the active menu bar; the button it returns is always empty.
  std::shared_ptr<platform::CommandBarButton> CreateMubar();

  // What the selection handler remembers between selection changes.
  std::int32_t SelScrollRow() const { return SelScrollRow_; }
  std::int32_t LastSelColumn() const { return LastSelColumn_; }
  bool RemovesToolbarOnDisconnection() const { return blnRemoveBar_ == platform::kTrue; }

 private:
  friend class ClickRelay;

  // Toolbar and menu
  void CreateToolbar();
  void DeleteMubar();

  // Click handlers, each behind the command gate
  void cbbButton1_Click();
  void cbbButton2_Click();
  void cbbButton3_Click();
  void muButton1_Click();
  void muButton2_Click();
  void muButton3_Click();
  void muButton5_Click();
  bool GateOpen();

  void FindLastRow();

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

  ClickRelay cbbRelay1_, cbbRelay2_, cbbRelay3_, muRelay1_, muRelay2_, muRelay3_, muRelay5_;

 public:
  // Source of the Application events handled below.
  EventBound<platform::host::Application, platform::host::AppEvents> appHostApp;
  BoundButton cbbButton1, cbbButton2, cbbButton3;
  BoundButton muButton1, muButton2, muButton3, muButton5;

 private:
  platform::VbBool blnRemoveBar_ = platform::kFalse;
  std::int32_t SelScrollRow_ = 0;
  std::int32_t LastSelColumn_ = 0;
};

}  // namespace rowtint::addin
