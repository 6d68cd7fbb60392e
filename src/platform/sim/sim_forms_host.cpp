#include "platform/sim/sim_forms_host.h"

#include <algorithm>

#include "platform/sim/glyphs.h"

namespace rowtint::sim {
namespace {
constexpr int kFormTitleHeight = 22;
constexpr int kFrameWidth = 3;
constexpr Pixel kPaleBlue = 0xF7E8D8;
constexpr Pixel kLogoBlue = 0x803000;
constexpr Pixel kFormWhite = 0xFFFFFF;

// Twips at a resolution, 1,440 to the inch, cut towards zero: 15 to the pixel at 96 dots per inch.
int Px(std::int32_t twips, int dpi) { return static_cast<int>(std::int64_t{twips} * dpi / 1440); }

Rect ClientArea(const Rect& window) {
  return {window.left + kFrameWidth, window.top + kFormTitleHeight, window.right - kFrameWidth,
          window.bottom - kFrameWidth};
}

Rect ControlRect(const Rect& client, const platform::ControlState& c, int dpi) {
  const int left = client.left + Px(c.left, dpi), top = client.top + Px(c.top, dpi);
  return {left, top, left + Px(c.width, dpi), top + Px(c.height, dpi)};
}
}  // namespace

// One monitor: Excel's, whose resolution its main window tells.
void SimFormsHost::ShowModal(const std::shared_ptr<platform::FormWindow>& form, platform::WindowHandle anchor) {
  const int dpi = anchor ? desktop_.WindowDpi(anchor) : desktop_.dpi;
  const int width = Px(form->ClientWidthTwips(), dpi) + 2 * kFrameWidth;
  const int height = Px(form->ClientHeightTwips(), dpi) + kFormTitleHeight + kFrameWidth;
  const Rect screen = desktop_.Screen().Bounds();
  const int left = (screen.right - width) / 2, top = (screen.bottom - height) / 2;
  std::weak_ptr<platform::FormWindow> weak = form;
  const WindowHandle window = desktop_.CreateWindow("ThunderDFrame", 0, {left, top, left + width, top + height},
                                                    [this, weak](FrameBuffer& fb, const Rect& clip) {
                                                      if (auto f = weak.lock()) Paint(*f, fb, clip);
                                                    });
  shown_.push_back({form, window, desktop_.GetActiveWindow(), desktop_.GetFocus(), desktop_.Foreground(), dpi});
  made_.insert(form.get());
  // An activated top-level window of the process in front is the foreground window, as on Windows.
  desktop_.SetForegroundHandle(window);
  desktop_.SetActiveWindowHandle(window);
  desktop_.SetFocusWindow(window);
  desktop_.PushModal(window);
  desktop_.PaintNow(desktop_.WindowRect(window));

  while (form->Visible() && pumpOne_()) {
  }
  Close(*form);
}

void SimFormsHost::Invalidate(platform::FormWindow& form) {
  const Shown* shown = Find(form);
  if (!shown) return;
  // Hiding takes the window away at once, and the focus goes back to where it was.
  if (!form.Visible())
    Close(form);
  else
    desktop_.PaintNow(desktop_.WindowRect(shown->window));
}

void SimFormsHost::Close(platform::FormWindow& form) {
  auto it = std::find_if(shown_.begin(), shown_.end(), [&](const Shown& s) { return s.form.get() == &form; });
  if (it == shown_.end()) return;
  const Shown closing = *it;
  shown_.erase(it);
  desktop_.PopModal(closing.window);
  desktop_.DestroyWindow(closing.window);
  if (desktop_.IsWindow(closing.previousActive)) desktop_.SetActiveWindowHandle(closing.previousActive);
  if (desktop_.IsWindow(closing.previousFocus)) desktop_.SetFocusWindow(closing.previousFocus);
  if (desktop_.IsWindow(closing.previousForeground)) desktop_.SetForegroundHandle(closing.previousForeground);
}

SimFormsHost::Shown* SimFormsHost::Find(const platform::FormWindow& form) {
  for (auto& s : shown_)
    if (s.form.get() == &form) return &s;
  return nullptr;
}

const SimFormsHost::Shown* SimFormsHost::Find(const platform::FormWindow& form) const {
  return const_cast<SimFormsHost*>(this)->Find(form);
}

std::shared_ptr<platform::FormWindow> SimFormsHost::ActiveForm() const {
  return shown_.empty() ? nullptr : shown_.back().form;
}

WindowHandle SimFormsHost::WindowOf(const platform::FormWindow& form) const {
  const Shown* s = Find(form);
  return s ? s->window : 0;
}

Point SimFormsHost::ControlCentre(const platform::FormWindow& form, const std::string& control) const {
  const Shown* s = Find(form);
  if (!s) return {};
  const Rect client = ClientArea(desktop_.WindowRect(s->window));
  if (control.empty()) return {client.left + 2, client.bottom - 2};
  for (const auto& c : form.Controls())
    if (c.name == control) {
      const Rect r = Intersect(ControlRect(client, c, s->dpi), client);
      return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
  return {};
}

void SimFormsHost::Paint(const platform::FormWindow& form, FrameBuffer& fb, const Rect& clip) const {
  const Shown* s = Find(form);
  if (!s) return;
  const Rect window = desktop_.WindowRect(s->window);
  const Rect client = ClientArea(window);
  fb.Fill(window, clip, ResolveColor(platform::kColorActiveCaption));
  fb.Outline(window, clip, 0x646464);
  DrawText(fb, window.left + 8, window.top + 8, form.Caption(), 0x000000, Intersect(window, clip));
  const Rect inside = Intersect(client, clip);
  fb.Fill(client, inside, ResolveColor(form.BackColor()));

  // Later controls first, so that earlier ones end up on top.
  const auto& controls = form.Controls();
  for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
    const auto& c = *it;
    if (!c.visible) continue;
    const Rect r = ControlRect(client, c, s->dpi);
    const Rect area = Intersect(r, inside);
    if (area.Empty()) continue;
    if (c.kind == platform::ControlKind::Image) {
      fb.Fill(r, area, c.picture == "logo" ? kLogoBlue : kPaleBlue);
      if (c.picture == "logo")
        DrawText(fb, (r.left + r.right - TextWidth("Rowtint", 4)) / 2, (r.top + r.bottom) / 2 - 14, "Rowtint",
                 kFormWhite, area, 4);
    } else if (!c.transparent) {
      fb.Fill(r, area, ResolveColor(c.backColor));
    }
    if (c.bordered) fb.Outline(r, area, ResolveColor(c.borderColor));
    if (c.caption.empty()) continue;
    const int scale = c.fontSize >= 12 ? 2 : 1;
    const Pixel ink = ResolveColor(c.foreColor);
    int textLeft = r.left + 2;
    if (c.kind == platform::ControlKind::OptionButton) {
      const int y = (r.top + r.bottom) / 2;
      const Rect dot{r.left + 2, y - 5, r.left + 12, y + 5};
      fb.Fill(dot, area, kFormWhite);
      fb.Outline(dot, area, 0x646464);
      if (c.value) fb.Fill({dot.left + 3, dot.top + 3, dot.right - 3, dot.bottom - 3}, area, 0x000000);
      textLeft = r.left + 16;
    } else if (c.align == platform::TextAlign::Center) {
      textLeft = (r.left + r.right - TextWidth(c.caption, scale)) / 2;
    }
    // A frame names the controls it holds at its top, as a group box does.
    const int textTop =
        c.kind == platform::ControlKind::Frame ? r.top + 2 : (r.top + r.bottom - kGlyphHeight * scale) / 2;
    DrawText(fb, textLeft, textTop, c.caption, ink, area, scale);
  }
}

}  // namespace rowtint::sim
