// Connection, start-up completion, shut-down and disconnection.
#include "addin/connect.h"
#include "engine/addin_settings.h"
#include "engine/failure_styles.h"
#include "engine/highlight_state.h"
#include "engine/init_addin_state.h"
#include "engine/paint_row_band.h"
#include "engine/repaint_timer.h"
#include "platform/error.h"

namespace rowtint::addin {
using engine::HoldsUnlessFailed;
using engine::SkipOnFailure;

namespace {
constexpr const char* kToolbarName = "Rowtint";
}

void ClickRelay::Click(const std::shared_ptr<platform::CommandBarButton>&, platform::VbBool&) {
  (connect_.*handler_)();
}

Connect::Connect()
    : cbbRelay1_(*this, &Connect::cbbButton1_Click),
      cbbRelay2_(*this, &Connect::cbbButton2_Click),
      cbbRelay3_(*this, &Connect::cbbButton3_Click),
      muRelay1_(*this, &Connect::muButton1_Click),
      muRelay2_(*this, &Connect::muButton2_Click),
      muRelay3_(*this, &Connect::muButton3_Click),
      muRelay5_(*this, &Connect::muButton5_Click),
      appHostApp(*this),
      cbbButton1(cbbRelay1_),
      cbbButton2(cbbRelay2_),
      cbbButton3(cbbRelay3_),
      muButton1(muRelay1_),
      muButton2(muRelay2_),
      muButton3(muRelay3_),
      muButton5(muRelay5_) {}

Connect::~Connect() = default;

platform::host::Application& Connect::App() { return platform::Required(appHostApp.Get()); }

void Connect::OnConnection(const std::shared_ptr<platform::host::Object>& Application, platform::ext_ConnectMode,
                           const std::shared_ptr<platform::host::Object>&) {
  auto app = std::dynamic_pointer_cast<platform::host::Application>(Application);
  if (!app) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  appHostApp.Set(app);
  engine::Shared().HostApp = app;

  // From here on a failing step is skipped. Every bar is visited: with
  // several bars named "Rowtint", the last one's buttons stay bound.
  bool found = false;
  std::vector<std::shared_ptr<platform::CommandBar>> bars;
  SkipOnFailure([&] { bars = App().GetCommandBars()->Enumerate(); });
  for (const auto& bar : bars) {
    if (!HoldsUnlessFailed([&] { return bar->Name() == kToolbarName; })) continue;
    found = true;
    SkipOnFailure([&] { cbbButton1.Set(bar->Controls()->Item(std::int16_t{1})->AsButton()); });
    SkipOnFailure([&] { cbbButton2.Set(bar->Controls()->Item(std::int16_t{2})->AsButton()); });
    SkipOnFailure([&] { cbbButton3.Set(bar->Controls()->Item(std::int16_t{3})->AsButton()); });
  }
  if (!found) SkipOnFailure([&] { CreateToolbar(); });
  SkipOnFailure([] { engine::InitAddinState(); });
  SkipOnFailure([&] { CreateMubar(); });
  blnRemoveBar_ = platform::kTrue;
}

void Connect::OnDisconnection(platform::ext_DisconnectMode) {
  // A band left on the screen would stay there until something else
  // repainted that area.
  engine::EraseRowBand();
  if (HoldsUnlessFailed([&] { return blnRemoveBar_ == platform::kTrue; }))
    SkipOnFailure([&] { App().GetCommandBars()->Item(kToolbarName)->Delete(); });
  SkipOnFailure([&] { DeleteMubar(); });
  SkipOnFailure([] { engine::StopRepaintTimer(); });
  appHostApp.Reset();
  // No host reference outlives the connection: the host may be gone by the
  // time the library itself is unloaded.
  engine::Shared().HostApp.reset();
  for (BoundButton* button : {&cbbButton1, &cbbButton2, &cbbButton3, &muButton1, &muButton2, &muButton3, &muButton5})
    button->Reset();
}

void Connect::OnAddInsUpdate() {}

void Connect::OnStartupComplete() {}

void Connect::OnBeginShutdown() {
  engine::MoveCurrentColorToHistoryFront();
  engine::SaveColorSettings();
  blnRemoveBar_ = platform::kFalse;
}

}  // namespace rowtint::addin
