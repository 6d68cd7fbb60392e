#include "platform/sim/sim_desktop.h"

#include <algorithm>

#include "platform/sim/system_colors.h"

namespace rowtint::sim {
namespace {
constexpr Pixel kDesktopTeal = 0x808000;
constexpr GdiObject kStockWhiteBrush = 0x4FFF;
constexpr Pixel kPenBlack = 0x000000;

// A binary raster operation code (1..16) is a truth table over pen and screen bits.
Pixel ApplyRop(int rop, Pixel pen, Pixel dst) {
  const unsigned table = static_cast<unsigned>(rop - 1) & 0xF;
  Pixel out = 0;
  if (table & 8) out |= pen & dst;
  if (table & 4) out |= pen & ~dst;
  if (table & 2) out |= ~pen & dst;
  if (table & 1) out |= ~pen & ~dst;
  return out & 0xFFFFFF;
}

bool Contains(const Rect& outer, const Rect& inner) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}
}  // namespace

SimDesktop::SimDesktop(int width, int height) : screen_(width, height, kDesktopTeal) {}

WindowHandle SimDesktop::CreateWindow(const std::string& className, WindowHandle parent, Rect rect, Painter painter) {
  WindowHandle h = nextWindow_;
  nextWindow_ += 0x10010;
  windows_.push_back({h, className, parent, rect, std::move(painter)});
  return h;
}

void SimDesktop::DestroyWindow(WindowHandle hwnd) {
  std::vector<WindowHandle> doomed{hwnd};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (const auto& w : windows_)
      if (w.parent == doomed[i]) doomed.push_back(w.handle);
  for (WindowHandle h : doomed) {
    if (!IsWindow(h)) continue;
    const Rect area = WindowRect(h);
    std::erase_if(windows_, [h](const Window& w) { return w.handle == h; });
    std::erase_if(timers_, [h](const SimTimer& t) { return t.owner == h; });
    if (focus_ == h) focus_ = 0;
    if (active_ == h) active_ = 0;
    pending_.push_back(area);
  }
}

void SimDesktop::MoveWindow(WindowHandle hwnd, Rect rect) {
  for (auto& w : windows_)
    if (w.handle == hwnd) w.rect = rect;
}

const SimDesktop::Window* SimDesktop::Find(WindowHandle hwnd) const {
  for (const auto& w : windows_)
    if (w.handle == hwnd) return &w;
  return nullptr;
}

Rect SimDesktop::WindowRect(WindowHandle hwnd) const {
  if (hwnd == kDesktopWindow) return screen_.Bounds();
  const Window* w = Find(hwnd);
  return w ? w->rect : Rect{};
}

bool SimDesktop::IsWindow(WindowHandle hwnd) const { return hwnd == kDesktopWindow || Find(hwnd) != nullptr; }

std::vector<Rect> SimDesktop::WindowsAbove(WindowHandle topLevel) const {
  std::vector<Rect> above;
  bool past = false;
  for (const auto& w : windows_) {
    if (w.parent != 0) continue;
    if (past) above.push_back(w.rect);
    past = past || w.handle == topLevel;
  }
  return above;
}

void SimDesktop::ResizeScreen(int width, int height) {
  screen_.Resize(width, height, kDesktopTeal);
  pending_.push_back(screen_.Bounds());
}

void SimDesktop::PaintWindowTree(WindowHandle parent, const Rect& clip) {
  for (const auto& w : windows_) {
    if (w.parent != parent) continue;
    const Rect c = Intersect(w.rect, clip);
    if (c.Empty()) continue;
    if (w.painter) w.painter(screen_, c);
    PaintWindowTree(w.handle, c);
  }
}

void SimDesktop::PaintNow(const Rect& area) {
  const Rect clip = Intersect(area, screen_.Bounds());
  if (clip.Empty()) return;
  screen_.Fill(clip, clip, kDesktopTeal);
  PaintWindowTree(0, clip);
}

void SimDesktop::FlushRepaints() {
  auto pending = std::move(pending_);
  pending_.clear();
  for (const auto& r : pending) PaintNow(r);
}

FrameBuffer SimDesktop::ContentSnapshot() {
  FrameBuffer saved = screen_;
  PaintNow(screen_.Bounds());
  std::swap(saved, screen_);
  return saved;
}

void SimDesktop::FireTimers() {
  const auto snapshot = timers_;
  for (const auto& t : snapshot) {
    auto still = std::find_if(timers_.begin(), timers_.end(),
                              [&](const SimTimer& r) { return r.owner == t.owner && r.id == t.id; });
    if (still == timers_.end()) continue;
    still->callback->OnTimer();
  }
}

SimDesktop::Records SimDesktop::TakeRecords() {
  Records out = std::move(records_);
  records_ = {};
  return out;
}

bool SimDesktop::BrushInUse(GdiObject brush) const {
  for (const auto& [h, dc] : dcs_) {
    if (dc.state.brush == brush) return true;
    for (const auto& s : dc.saved)
      if (s.brush == brush) return true;
  }
  return false;
}

// ---- the operating system's roles ----

WindowHandle SimDesktop::FindProcessWindow(const char* className) {
  ++calls_;
  for (const auto& w : windows_)
    if (w.parent == 0 && className && w.className == className) return w.handle;
  return 0;
}

WindowHandle SimDesktop::GetDesktopWindow() {
  ++calls_;
  return kDesktopWindow;
}

WindowHandle SimDesktop::GetActiveWindow() {
  ++calls_;
  return active_;
}

bool SimDesktop::SetForegroundWindow(WindowHandle hwnd) {
  ++calls_;
  records_.foregroundCalls.push_back(hwnd);
  if (!IsWindow(hwnd) || hwnd == kDesktopWindow) return false;
  foreground_ = hwnd;
  return true;
}

WindowHandle SimDesktop::GetFocus() {
  ++calls_;
  return focus_;
}

bool SimDesktop::GetWindowRect(WindowHandle hwnd, Rect& rect) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  rect = WindowRect(hwnd);
  return true;
}

bool SimDesktop::GetCaretPos(Point& point) {
  ++calls_;
  if (!caretSource_ || !IsWindow(focus_)) return false;
  point = caretSource_();
  return true;
}

bool SimDesktop::ClientToScreen(WindowHandle hwnd, Point& point) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect r = WindowRect(hwnd);
  point.x += r.left;
  point.y += r.top;
  return true;
}

bool SimDesktop::RedrawWindow(WindowHandle hwnd, const Rect* rect, std::uint32_t flags) {
  ++calls_;
  if (hwnd != 0 && !IsWindow(hwnd)) return false;
  const Rect origin = hwnd ? WindowRect(hwnd) : Rect{};
  Rect area = rect ? Rect{rect->left + origin.left, rect->top + origin.top, rect->right + origin.left,
                          rect->bottom + origin.top}
                   : WindowRect(hwnd ? hwnd : kDesktopWindow);
  records_.invalidated.push_back(area);
  ++redrawsAsked_;
  if ((flags & platform::kRdwInvalidate) && !area.Empty()) pending_.push_back(area);
  return true;
}

bool SimDesktop::UpdateWindow(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd)) return false;
  const Rect bounds = WindowRect(hwnd);
  std::vector<Rect> still;
  for (const auto& r : pending_) {
    PaintNow(Intersect(r, bounds));
    if (!Contains(bounds, r)) still.push_back(r);
  }
  pending_ = std::move(still);
  return true;
}

bool SimDesktop::GetCursorPos(Point& point) {
  ++calls_;
  point = cursor_;
  return true;
}

bool SimDesktop::IsChild(WindowHandle parent, WindowHandle child) {
  ++calls_;
  if (!IsWindow(parent) || parent == kDesktopWindow) return false;
  for (const Window* w = Find(child); w && w->parent != 0; w = Find(w->parent))
    if (w->parent == parent) return true;
  return false;
}

WindowHandle SimDesktop::WindowFromPoint(Point point) {
  ++calls_;
  for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
    const Rect& r = it->rect;
    if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return it->handle;
  }
  return kDesktopWindow;
}

DcHandle SimDesktop::GetWindowDC(WindowHandle hwnd) {
  ++calls_;
  if (!IsWindow(hwnd)) return 0;
  DcHandle h = nextDc_++;
  dcs_[h] = Dc{hwnd, {}, {}};
  return h;
}

int SimDesktop::ReleaseDC(WindowHandle, DcHandle dc) {
  ++calls_;
  return dcs_.erase(dc) ? 1 : 0;
}

GdiObject SimDesktop::CreateSolidBrush(platform::Color color) {
  ++calls_;
  GdiObject h = nextBrush_++;
  brushes_[h] = color;
  return h;
}

bool SimDesktop::DeleteObject(GdiObject object) {
  ++calls_;
  if (object == kStockWhiteBrush) return true;
  auto it = brushes_.find(object);
  if (it == brushes_.end() || BrushInUse(object)) return false;  // a selected brush cannot be deleted
  brushes_.erase(it);
  return true;
}

GdiObject SimDesktop::SelectObject(DcHandle dc, GdiObject object) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || (object != kStockWhiteBrush && !brushes_.count(object))) return 0;
  GdiObject previous = it->second.state.brush ? it->second.state.brush : kStockWhiteBrush;
  it->second.state.brush = object;
  return previous;
}

int SimDesktop::SaveDC(DcHandle dc) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return 0;
  it->second.saved.push_back(it->second.state);
  return static_cast<int>(it->second.saved.size());
}

bool SimDesktop::RestoreDC(DcHandle dc, int savedDc) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return false;
  auto& saved = it->second.saved;
  const int level = savedDc < 0 ? static_cast<int>(saved.size()) + 1 + savedDc : savedDc;
  if (level < 1 || level > static_cast<int>(saved.size())) return false;
  it->second.state = saved[level - 1];
  saved.resize(level - 1);
  return true;
}

int SimDesktop::SetROP2(DcHandle dc, int rop) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end() || rop < 1 || rop > 16) return 0;
  int previous = it->second.state.rop;
  it->second.state.rop = rop;
  return previous;
}

int SimDesktop::IntersectClipRect(DcHandle dc, int left, int top, int right, int bottom) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return 0;  // ERROR
  auto& clip = it->second.state.clip;
  clip = Intersect(clip.value_or(screen_.Bounds()), Rect{left, top, right, bottom});
  return clip->Empty() ? 1 : 2;  // NULLREGION, SIMPLEREGION
}

platform::Color SimDesktop::GetSysColor(int index) {
  ++calls_;
  return static_cast<platform::Color>(ResolveColor(platform::SystemColor(index)));
}

int SimDesktop::ScreenDpi() {
  ++calls_;
  return dpi;
}

bool SimDesktop::Rectangle(DcHandle dc, int left, int top, int right, int bottom) {
  ++calls_;
  auto it = dcs_.find(dc);
  if (it == dcs_.end()) return false;
  const DcState& st = it->second.state;
  const auto brush = brushes_.find(st.brush);
  const Pixel fill = brush == brushes_.end() ? 0xFFFFFF : static_cast<Pixel>(brush->second) & 0xFFFFFF;
  records_.drawn.push_back({{left, top, right, bottom}, brush == brushes_.end() ? 0xFFFFFF : brush->second, st.rop});
  ++rectanglesDrawn_;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  const Rect area = Intersect(st.clip.value_or(screen_.Bounds()), screen_.Bounds());
  for (int y = std::max(top, area.top); y < std::min(bottom, area.bottom); ++y)
    for (int x = std::max(left, area.left); x < std::min(right, area.right); ++x) {
      const bool outline = x == left || x == right - 1 || y == top || y == bottom - 1;
      screen_.Set(x, y, ApplyRop(st.rop, outline ? kPenBlack : fill, screen_.Get(x, y)));
    }
  return true;
}

std::uintptr_t SimDesktop::SetTimer(WindowHandle hwnd, std::uintptr_t id, std::uint32_t elapseMs,
                                    platform::TimerCallback& callback) {
  ++calls_;
  if (hwnd != 0 && !IsWindow(hwnd)) return 0;
  auto existing = std::find_if(timers_.begin(), timers_.end(), [&](const SimTimer& t) {
    return t.owner == hwnd && t.id == id && (hwnd != 0 || id != 0);
  });
  if (existing != timers_.end()) {
    existing->intervalMs = elapseMs;
    existing->callback = &callback;
    return hwnd ? (id ? id : 1) : id;
  }
  // Without an owner window the identifier is ignored and a new one handed out.
  const std::uintptr_t actual = hwnd ? id : nextTimerId_++;
  timers_.push_back({hwnd, actual, elapseMs, &callback});
  return hwnd ? (id ? id : 1) : actual;
}

bool SimDesktop::KillTimer(WindowHandle hwnd, std::uintptr_t id) {
  ++calls_;
  return std::erase_if(timers_, [&](const SimTimer& t) { return t.owner == hwnd && t.id == id; }) > 0;
}

void SimDesktop::AnswerColorDialog(std::optional<platform::Color> color) { colorAnswer_ = color; }

bool SimDesktop::ShowColorDialog(platform::ChooseColorRecord& record) {
  ++calls_;
  colorDialogsSeen.push_back(record);
  if (record.customColors) lastCustomColors = *record.customColors;
  if (!colorAnswer_ && pumpOne_) {
    // The dialog is up, centred, with the focus, until the user answers it;
    // the message loop runs meanwhile, so timers keep firing.
    constexpr int kWidth = 452, kHeight = 328;
    const Rect screen = screen_.Bounds();
    const int left = (screen.right - kWidth) / 2, top = (screen.bottom - kHeight) / 2;
    const WindowHandle previousActive = active_, previousFocus = focus_;
    colorDialog_ =
        CreateWindow("#32770", 0, {left, top, left + kWidth, top + kHeight}, [this](FrameBuffer& fb, const Rect& clip) {
          const Rect r = WindowRect(colorDialog_);
          fb.Fill(r, clip, ResolveColor(platform::kColorBtnFace));
          fb.Outline(r, clip, 0x646464);
          fb.Fill({r.left + 1, r.top + 1, r.right - 1, r.top + 22}, clip, ResolveColor(platform::kColorActiveCaption));
        });
    active_ = focus_ = colorDialog_;
    PaintNow(WindowRect(colorDialog_));
    while (!colorAnswer_ && pumpOne_()) {
    }
    DestroyWindow(colorDialog_);
    colorDialog_ = 0;
    if (IsWindow(previousActive)) active_ = previousActive;
    if (IsWindow(previousFocus)) focus_ = previousFocus;
  }
  // The user defines custom colours in the dialog; they must not outlive it.
  if (record.customColors) record.customColors->fill(0x00FFFFFF);
  const auto answer = colorAnswer_.value_or(std::nullopt);
  colorAnswer_.reset();
  if (!answer) return false;
  record.result = *answer;
  return true;
}

int SimDesktop::ShowMessageBox(WindowHandle, const std::string& text, const std::string&, std::uint32_t) {
  ++calls_;
  records_.messages.push_back(text);
  return 1;
}

std::intptr_t SimDesktop::ShellOpen(WindowHandle, const std::string&, const std::string& file,
                                    const std::string& parameters, const std::string&, int) {
  ++calls_;
  records_.launched.push_back({file + (parameters.empty() ? "" : " " + parameters)});
  return shellExecuteResult;
}

std::uint32_t SimDesktop::StartProcess(const std::string& application, const std::string& commandLine, int) {
  ++calls_;
  if (processStartFails) return 0;
  records_.launched.push_back({commandLine, application});
  return nextProcessId_++;
}

std::string SimDesktop::WindowsFolder() {
  ++calls_;
  return "C:\\Windows";
}

std::string SimDesktop::ModuleFolder() {
  ++calls_;
  return moduleFolder_;
}

}  // namespace rowtint::sim
