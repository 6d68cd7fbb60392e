// Connection, start-up completion, shut-down and disconnection.
#include "addin/connect.h"
#include "engine/failure_styles.h"
#include "platform/error.h"

namespace rowtint::addin {
using engine::HoldsUnlessFailed;
using engine::SkipOnFailure;

namespace {
constexpr const char* kToolbarName = "Rowtint";
}

void ClickRelay::Click(const std::shared_ptr<platform::CommandBarButton>&, platform::VbBool&) {
  const Connect::RibbonRefresh refresh(connect_);
  (connect_.*command_)();
}

Connect::Connect(Library& library)
    : library_(library),
      band_(library.Band()),
      showOptions_(*this, &Connect::ShowOptions),
      toggleBand_(*this, &Connect::ToggleBand),
      selectBelowLastRow_(*this, &Connect::SelectBelowLastRow),
      applyWober_(*this, &Connect::ApplyWoberPreset),
      applyWarm_(*this, &Connect::ApplyWarmPreset),
      showAbout_(*this, &Connect::ShowAbout),
      toolbarOptions_(showOptions_),
      toolbarSwitch_(toggleBand_),
      toolbarFindLastRow_(selectBelowLastRow_),
      menuOptions_(showOptions_),
      menuWober_(applyWober_),
      menuWarm_(applyWarm_),
      menuAbout_(showAbout_) {}

Connect::~Connect() {
  // A host that lets go without disconnecting first still gets its
  // Application back now, not when the library unloads; a connection made
  // since by another object is that object's.
  appEvents_.reset();
  band_.Detach(connection_);
}

std::shared_ptr<platform::host::Application> Connect::HostApp() const {
  return band_.Holds(connection_) ? band_.Application() : nullptr;
}

void Connect::SetHostApp(std::shared_ptr<platform::host::Application> app) {
  appEvents_.reset();
  if (app) appEvents_ = AdviseOn(*app, *this);
  band_.ReplaceApplication(connection_, std::move(app));
}

platform::host::Application& Connect::App() { return platform::Required(HostApp()); }

forms::OptionsForm& Connect::OptionsForm() { return library_.Forms().Options(library_.Choices().color); }

void Connect::OnConnection(const std::shared_ptr<platform::host::Object>& Application, platform::ext_ConnectMode,
                           const std::shared_ptr<platform::host::Object>&) {
  auto app = std::dynamic_pointer_cast<platform::host::Application>(Application);
  if (!app) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  // Events first: an Application that cannot take them fails the connection
  // before anything is touched, as an object of another type does.
  appEvents_ = AdviseOn(*app, *this);
  connection_ = band_.Attach(std::move(app));
  band_.WatchGate([this](bool open) { RibbonGateSeen(open); });

  // From here on a failing step is skipped.
  bool found = false;
  std::vector<std::shared_ptr<platform::CommandBar>> bars;
  SkipOnFailure([&] { bars = App().GetCommandBars()->Enumerate(); });
  // Every bar is visited: with several bars named "Rowtint", the last one's buttons stay bound.
  for (const auto& bar : bars) {
    if (!HoldsUnlessFailed([&] { return bar->Name() == kToolbarName; })) continue;
    found = true;
    SkipOnFailure([&] { toolbarOptions_.Set(bar->Controls()->Item(std::int16_t{1})->AsButton()); });
    SkipOnFailure([&] { toolbarSwitch_.Set(bar->Controls()->Item(std::int16_t{2})->AsButton()); });
    SkipOnFailure([&] { toolbarFindLastRow_.Set(bar->Controls()->Item(std::int16_t{3})->AsButton()); });
  }
  // The buttons that stay bound get their tags: a toolbar an earlier version
  // saved carries none, and another bar of the name keeps its own.
  if (found) {
    BoundButton* buttons[] = {&toolbarOptions_, &toolbarSwitch_, &toolbarFindLastRow_};
    for (int i = 0; i < 3; ++i) SkipOnFailure([&] { platform::Required(buttons[i]->Get()).SetTag(kToolbarTags[i]); });
  }
  if (!found) SkipOnFailure([&] { CreateToolbar(); });
  SkipOnFailure([&] { band_.InitAddinState([this]() -> engine::HistorySwatches& { return OptionsForm(); }); });
  // A log the user switched on tells what the add-in runs in, and where the gate stands, from the start.
  if (library_.Services().diagnostics.Enabled()) {
    band_.NoteConnection();
    SkipOnFailure([&] { band_.CommandGateOpen(); });
  }
  SkipOnFailure([&] { CreateMubar(); });
  removeToolbar_ = platform::kTrue;
}

void Connect::OnDisconnection(platform::ext_DisconnectMode) {
  // A band left on the screen would stay there until something else
  // repainted that area.
  band_.EraseRowBand();
  if (HoldsUnlessFailed([&] { return removeToolbar_ == platform::kTrue; }))
    SkipOnFailure([&] { App().GetCommandBars()->Item(kToolbarName)->Delete(); });
  SkipOnFailure([&] { DeleteMubar(); });
  // The add-in's buttons wherever they stand: a menu item on a menu bar that
  // was active at connection, a copy of a button in another window.
  DeleteTagged(kMenuTags, std::size(kMenuTags));
  if (removeToolbar_ == platform::kTrue) DeleteTagged(kToolbarTags, std::size(kToolbarTags));
  SkipOnFailure([&] { band_.StopRepaintTimer(); });
  // The forms' windows go now, while nothing holds the loader's lock: left
  // for the library's unloading, they would be destroyed under it. The forms
  // themselves, with what the user left on them, wait for the next connection.
  library_.Forms().DropWindows();
  appEvents_.reset();
  // No host reference outlives the connection: the host may be gone by the
  // time the library itself is unloaded.
  band_.Detach(connection_);
  ribbon_.reset();
  ribbonGate_.reset();
  for (BoundButton* button :
       {&toolbarOptions_, &toolbarSwitch_, &toolbarFindLastRow_, &menuOptions_, &menuWober_, &menuWarm_, &menuAbout_})
    button->Reset();
}

void Connect::OnAddInsUpdate() {}

void Connect::OnStartupComplete() {}

void Connect::OnBeginShutdown() {
  {
    // The history's swatches follow the colour moved to its front, even when a write fails.
    const RibbonRefresh refresh(*this);
    band_.MoveCurrentColorToHistoryFront();
    band_.SaveColorSettings();
  }
  removeToolbar_ = platform::kFalse;
}

}  // namespace rowtint::addin
