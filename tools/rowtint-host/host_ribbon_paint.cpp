#include "host_ribbon_paint.h"

#include <algorithm>
#include <string>

#include "platform/sim/glyphs.h"

namespace rowtint::host {
namespace {
constexpr sim::Pixel kChrome = 0xF3F3F3;
constexpr sim::Pixel kGroupEdge = 0xD2D2D2;
constexpr sim::Pixel kBoxEdge = 0xC4C4C4;
constexpr sim::Pixel kPressedFill = 0xC9C9C9;
constexpr sim::Pixel kPressedEdge = 0x7A7A7A;
constexpr sim::Pixel kText = 0x262626;
constexpr sim::Pixel kGreyText = 0xA8A8A8;
constexpr sim::Pixel kSwatchEdge = 0x707070;
constexpr int kLeft = 10;
constexpr int kBoxTop = 36;
constexpr int kBoxHeight = 60;
constexpr int kItemHeight = 12;
constexpr int kGap = 4;

// A disabled swatch shows its colour half faded into the chrome.
sim::Pixel Faded(sim::Pixel p) { return ((p & 0xFEFEFE) >> 1) + ((kChrome & 0xFEFEFE) >> 1); }

void Swatch(sim::FrameBuffer& frame, int x, int y, int size, const sim::RibbonControl& control, bool enabled,
            const platform::Rect& clip) {
  if (!control.swatch) return;
  const auto color = static_cast<sim::Pixel>(*control.swatch) & 0xFFFFFF;
  frame.Fill({x, y, x + size, y + size}, clip, enabled ? color : Faded(color));
  frame.Outline({x, y, x + size, y + size}, clip, enabled ? kSwatchEdge : kGreyText);
}

// A large button: its box (darker while a toggle is pressed), its swatch, its
// label under it, followed by a small arrow on a menu's.
int LargeButton(sim::FrameBuffer& frame, int x, const sim::RibbonControl& control, bool enabled,
                const platform::Rect& clip) {
  const bool menu = control.kind == "menu";
  const int labelWidth = sim::TextWidth(control.label) + (menu ? 8 : 0);
  const int width = std::max(44, labelWidth + 12);
  const platform::Rect box{x, kBoxTop, x + width, kBoxTop + kBoxHeight};
  const bool pressed = control.kind == "toggleButton" && control.pressed;
  if (pressed) frame.Fill(box, clip, kPressedFill);
  frame.Outline(box, clip, pressed ? kPressedEdge : kBoxEdge);
  Swatch(frame, x + (width - 16) / 2, kBoxTop + 10, 16, control, enabled, clip);
  const sim::Pixel ink = enabled ? kText : kGreyText;
  const int labelLeft = x + (width - labelWidth) / 2, labelTop = kBoxTop + 38;
  sim::DrawText(frame, labelLeft, labelTop, control.label, ink, clip);
  if (menu) {
    const int arrowLeft = labelLeft + labelWidth - 5;
    for (int row = 0; row < 3; ++row)
      frame.Fill({arrowLeft + row, labelTop + 2 + row, arrowLeft + 5 - row, labelTop + 3 + row}, clip, ink);
  }
  return width;
}

// A menu's items, as the open menu lists them: a small swatch or a toggle's box and the label on each row.
int MenuItems(sim::FrameBuffer& frame, int x, const sim::RibbonModel& ribbon, const sim::RibbonControl& menu,
              const platform::Rect& clip) {
  int width = 0, y = kBoxTop;
  for (const auto& item : ribbon.Controls()) {
    if (item.menu != menu.id) continue;
    const bool enabled = menu.enabled && item.enabled;
    Swatch(frame, x, y + 1, 9, item, enabled, clip);
    if (item.kind == "toggleButton") {
      // A toggle item's box, filled while it is pressed.
      const platform::Rect box{x, y + 1, x + 9, y + 10};
      if (item.pressed) frame.Fill(box, clip, kPressedFill);
      frame.Outline(box, clip, item.pressed ? kPressedEdge : kBoxEdge);
    }
    sim::DrawText(frame, x + 13, y + 2, item.label, enabled ? kText : kGreyText, clip);
    width = std::max(width, 13 + sim::TextWidth(item.label));
    y += kItemHeight;
  }
  return width;
}
}  // namespace

void PaintRibbonGroup(sim::FrameBuffer& frame, const sim::RibbonModel& ribbon, const platform::Rect& clip) {
  if (!ribbon.Loaded()) return;
  int x = kLeft + kGap;
  for (const auto& control : ribbon.Controls()) {
    if (!control.menu.empty()) continue;
    x += LargeButton(frame, x, control, control.enabled, clip) + kGap;
    if (control.kind == "menu") x += MenuItems(frame, x, ribbon, control, clip) + 2 * kGap;
  }
  // The group's frame with its name under the controls, as Office labels a group.
  const platform::Rect group{kLeft, kRibbonStrip.top + 2, x, kRibbonStrip.bottom - 2};
  frame.Outline(group, clip, kGroupEdge);
  const std::string name = "Rowtint";
  sim::DrawText(frame, (group.left + group.right - sim::TextWidth(name)) / 2, group.bottom - 12, name, kText, clip);
}

RibbonLook LookOf(const sim::RibbonModel& ribbon) {
  RibbonLook look;
  look.loaded = ribbon.Loaded();
  for (const auto& c : ribbon.Controls()) look.controls.push_back({c.pressed, c.enabled, c.swatch});
  return look;
}

}  // namespace rowtint::host
