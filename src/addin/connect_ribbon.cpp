// The ribbon's group: its XML, by the host's version, and the callbacks
// Office makes for its controls. Each control runs the command of its
// toolbar or menu counterpart behind the same gate; the add-in asks Office
// to draw again the controls whose look changed.
#include <optional>
#include <string>
#include <utility>

#include "addin/connect.h"
#include "addin/ribbon_xml.h"
#include "engine/failure_styles.h"
#include "engine/numeric.h"

namespace rowtint::addin {
using engine::OrFallback;
using engine::SkipOnFailure;

namespace {
// The history slot a control shows, or -1.
int HistorySlot(const std::string& id) {
  for (int i = 0; i < 3; ++i)
    if (id == kRibbonHistory[i]) return i;
  return -1;
}

// The way across an "Across" item stands for, or none.
std::optional<engine::Across> AcrossItem(const std::string& id) {
  for (int i = 0; i < 3; ++i)
    if (id == kRibbonAcrossItems[i]) return static_cast<engine::Across>(i);
  return std::nullopt;
}
}  // namespace

std::string Connect::GetCustomUI(const std::string& ribbonId) {
  if (ribbonId != kWorkbookRibbonId) return "";
  // Excel 2007 (12) reads only the first schema. A version that cannot be
  // read gets it too: every version since reads it as well.
  const int version = OrFallback([&] { return int{engine::ToInt16(engine::LeadingNumber(App().Version()))}; }, 12);
  return RibbonXml(version >= 14 ? kRibbonNamespace2009 : kRibbonNamespace2006);
}

void Connect::RibbonLoad(const std::shared_ptr<platform::RibbonUI>& ribbon) {
  ribbon_ = ribbon;
  ribbonLook_ = RibbonLookNow();
}

Connect::RibbonLook Connect::RibbonLookNow() const {
  const auto& chosen = library_.Choices();
  return {!chosen.off, chosen.color, chosen.history, chosen.across};
}

void Connect::RibbonAction(const std::string& id) {
  const RibbonRefresh refresh(*this);
  if (id == kRibbonOptions) return ShowOptions();
  if (id == kRibbonLastRow) return SelectBelowLastRow();
  if (id == kRibbonAbout) return ShowAbout();
  if (id == kRibbonWober) return ApplyWoberPreset();
  if (id == kRibbonWarm) return ApplyWarmPreset();
  if (const int slot = HistorySlot(id); slot >= 0) {
    const platform::Color color = library_.Choices().history[slot];
    // An empty slot's control is disabled; a click that reaches it anyway does nothing.
    if (color != engine::kEmptySwatchColor && band_.CommandGateOpen()) band_.ApplyColor(color);
  }
}

void Connect::RibbonToggle(const std::string& id, bool pressed) {
  const RibbonRefresh refresh(*this);
  if (const auto across = AcrossItem(id)) {
    // Office unpresses the item already pressed when it is clicked again:
    // the choice stays, and the item is drawn pressed again.
    if (!pressed) {
      if (ribbon_) SkipOnFailure([&] { ribbon_->InvalidateControl(id); });
      return;
    }
    if (band_.CommandGateOpen()) band_.ChooseAcross(*across);
    return;
  }
  if (id != kRibbonBand || !band_.CommandGateOpen()) return;
  // The switch takes the state the user saw the button take, whatever it was before.
  if (pressed == library_.Choices().off) band_.ToggleHighlight();
}

bool Connect::RibbonPressed(const std::string& id) {
  if (const auto across = AcrossItem(id)) return *across == library_.Choices().across;
  return id == kRibbonBand && !library_.Choices().off;
}

bool Connect::RibbonEnabled(const std::string& id) {
  if (const int slot = HistorySlot(id); slot >= 0 && library_.Choices().history[slot] == engine::kEmptySwatchColor)
    return false;
  // A gate that cannot be read leaves the control to the click, which reports the failure.
  const bool open = OrFallback([&] { return band_.CommandGateOpen(); }, true);
  ribbonGate_ = open;
  return open;
}

platform::RibbonSwatch Connect::RibbonImage(const std::string& id) {
  constexpr int kSmall = 16, kLarge = 32;
  if (id == kRibbonWober) return {engine::kWoberColor, kSmall};
  if (id == kRibbonWarm) return {engine::kWarmColor, kSmall};
  if (const int slot = HistorySlot(id); slot >= 0) return {library_.Choices().history[slot], kSmall};
  // The large menu shows the band's colour as it is now.
  const platform::Color current = library_.Choices().color;
  return {current ? current : engine::kWoberColor, kLarge};
}

void Connect::RefreshRibbon() noexcept {
  if (!ribbon_) return;
  const RibbonLook now = RibbonLookNow();
  const RibbonLook was = std::exchange(ribbonLook_, now);
  auto invalidate = [&](const char* id) { SkipOnFailure([&] { ribbon_->InvalidateControl(id); }); };
  if (now.pressed != was.pressed) invalidate(kRibbonBand);
  if (now.color != was.color) invalidate(kRibbonColours);
  for (int i = 0; i < 3; ++i)
    if (now.history[i] != was.history[i]) invalidate(kRibbonHistory[i]);
  if (now.across != was.across) {
    invalidate(kRibbonAcrossItems[static_cast<int>(was.across)]);
    invalidate(kRibbonAcrossItems[static_cast<int>(now.across)]);
  }
}

void Connect::RibbonGateSeen(bool open) noexcept {
  if (!ribbon_ || ribbonGate_ == open) return;
  ribbonGate_ = open;
  // Every control answers the gate.
  SkipOnFailure([&] { ribbon_->Invalidate(); });
}

}  // namespace rowtint::addin
