// The add-in's connection object: its lifecycle with the host, the toolbar
// and menu it builds, the commands behind them, and the host's Application
// events. It holds the library's band for the length of the connection.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "addin/event_bound.h"
#include "addin/library.h"
#include "engine/highlighter.h"
#include "platform/command_bars.h"
#include "platform/extensibility.h"
#include "platform/host.h"
#include "platform/ribbon.h"

namespace rowtint::addin {

class Connect;

// Routes one button's Click event to its command on Connect.
class ClickRelay : public platform::ButtonEvents {
 public:
  using Command = void (Connect::*)();
  ClickRelay(Connect& connect, Command command) : connect_(connect), command_(command) {}
  void Click(const std::shared_ptr<platform::CommandBarButton>& ctrl, platform::VbBool& cancelDefault) override;

 private:
  Connect& connect_;
  Command command_;
};

using BoundButton = EventBound<platform::CommandBarButton, platform::ButtonEvents>;

// Each button's tag of its own: Office raises a click on every button with
// the same Id and Tag, and the add-in's buttons all have the same Id.
inline constexpr const char* kToolbarTags[3] = {"Rowtint.Option", "Rowtint.Switch", "Rowtint.FindLastrow"};
inline constexpr const char* kMenuTags[4] = {"Rowtint.Menu.Option", "Rowtint.Menu.Wober", "Rowtint.Menu.Warm",
                                             "Rowtint.Menu.About"};

class Connect : public platform::IDTExtensibility2,
                public platform::RibbonExtensibility,
                private platform::host::AppEvents {
 public:
  explicit Connect(Library& library);
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

  // IRibbonExtensibility and the ribbon's callbacks (Excel 2007 and later)
  std::string GetCustomUI(const std::string& ribbonId) override;
  void RibbonLoad(const std::shared_ptr<platform::RibbonUI>& ribbon) override;
  void RibbonAction(const std::string& controlId) override;
  void RibbonToggle(const std::string& controlId, bool pressed) override;
  bool RibbonPressed(const std::string& controlId) override;
  bool RibbonEnabled(const std::string& controlId) override;
  platform::RibbonSwatch RibbonImage(const std::string& controlId) override;

  // Builds the "Rowtint" popup on the active menu bar; the button it returns is always empty.
  std::shared_ptr<platform::CommandBarButton> CreateMubar();

  // The band this connection holds.
  engine::Highlighter& Band() { return band_; }
  bool RemovesToolbarOnDisconnection() const { return removeToolbar_ == platform::kTrue; }

  // The Application whose events are handled below and with which the band
  // works; null while this object holds no connection.
  std::shared_ptr<platform::host::Application> HostApp() const;
  // Another Application for the events (and, while connected, for the
  // band), or none: the _Connect property's setter.
  void SetHostApp(std::shared_ptr<platform::host::Application> app);

 private:
  friend class ClickRelay;

  // The ribbon's controls as Office last drew them: what a command changes
  // of them makes the add-in ask Office to draw those again.
  struct RibbonLook {
    bool pressed = false;
    platform::Color color = 0;
    std::array<platform::Color, 3> history{};
    engine::Across across = engine::Across::Row;
  };
  // Asks for the controls whose look changed since the last time; never fails.
  void RefreshRibbon() noexcept;
  // What a tick found of the command gate: every control follows it.
  void RibbonGateSeen(bool open) noexcept;
  RibbonLook RibbonLookNow() const;
  // Refreshes the ribbon when a command ends, by its end or by a failure.
  struct RibbonRefresh {
    explicit RibbonRefresh(Connect& connect) : connect(connect) {}
    ~RibbonRefresh() { connect.RefreshRibbon(); }
    RibbonRefresh(const RibbonRefresh&) = delete;
    RibbonRefresh& operator=(const RibbonRefresh&) = delete;
    Connect& connect;
  };

  // Toolbar and menu
  void CreateToolbar();
  void DeleteMubar();
  // Deletes the controls with these tags, wherever they stand; each failure is skipped.
  void DeleteTagged(const char* const* tags, std::size_t count);

  // The commands of the buttons, each behind the command gate
  void ShowOptions();
  void ToggleBand();
  void SelectBelowLastRow();
  void ApplyWoberPreset();
  void ApplyWarmPreset();
  void ShowAbout();

  void FindLastRow();

  // AppEvents, as the host raises them. The arguments are held for the
  // length of the call and not consulted: the handlers read what they need
  // from the host again.
  void SheetActivate(const std::shared_ptr<platform::host::Object>& sh) override;
  void SheetSelectionChange(const std::shared_ptr<platform::host::Object>& sh,
                            const std::shared_ptr<platform::host::Range>& target) override;
  void WindowResize(const std::shared_ptr<platform::host::Object>& wb,
                    const std::shared_ptr<platform::host::Object>& wn) override;
  void WorkbookActivate(const std::shared_ptr<platform::host::Object>& wb) override;
  void WorkbookBeforePrint(const std::shared_ptr<platform::host::Object>& wb, platform::VbBool& cancel) override;
  void WorkbookAddinUninstall(const std::shared_ptr<platform::host::Object>& wb) override;

  platform::host::Application& App();
  // One line in the diagnostics log, when the user has switched it on.
  void Note(const char* event);
  forms::OptionsForm& OptionsForm();

  Library& library_;
  engine::Highlighter& band_;
  // The band's number for this connection, 0 before it connects.
  std::uint64_t connection_ = 0;
  std::unique_ptr<platform::host::EventConnection> appEvents_;

  ClickRelay showOptions_, toggleBand_, selectBelowLastRow_, applyWober_, applyWarm_, showAbout_;
  // The toolbar's three buttons and the menu's four items.
  BoundButton toolbarOptions_, toolbarSwitch_, toolbarFindLastRow_;
  BoundButton menuOptions_, menuWober_, menuWarm_, menuAbout_;

  std::shared_ptr<platform::RibbonUI> ribbon_;
  RibbonLook ribbonLook_;
  std::optional<bool> ribbonGate_;

  platform::VbBool removeToolbar_ = platform::kFalse;
};

}  // namespace rowtint::addin
