// The simulated host's windows per workbook: opened with the host and with
// each workbook from version 15 on, cascaded from the one opened before,
// closed with it, and the active workbook's in front with the keyboard focus in its grid.
#include <algorithm>

#include "platform/sim/sim_host.h"

namespace rowtint::sim {

std::shared_ptr<SimHost> SimHost::Start(SimDesktop& desktop, std::shared_ptr<CommandBarStore> bars,
                                        platform::Rect gridRect, const SheetModel* workbook, HostFaults* faults) {
  std::shared_ptr<SimHost> h(new SimHost(desktop));
  h->model_ = ExcelModel::Create(*h, std::move(bars), desktop.CallCounter(), faults);
  if (workbook) h->Sheet() = *workbook;
  h->OpenFrame(h->model_->Active().id, {0, 0}, gridRect);
  h->CaretChanged(true);
  h->ShowActive();
  return h;
}

void SimHost::Close() {
  if (frames_.empty()) return;
  // The other programs the script brought up go with the run.
  Back();
  Uncover();
  editor_ = 0;
  for (const auto& frame : frames_) desktop_.DestroyWindow(frame->main);
  frames_.clear();
  shown_ = nullptr;
  desktop_.SetCaretSource(nullptr);
  desktop_.FlushRepaints();
}

// The desk lies exactly under the grid: the main window paints all around it.
void SimHost::OpenFrame(int workbook, Point origin, const Rect& gridRect) {
  auto frame = std::make_unique<Frame>(Frame{workbook});
  const Frame* f = frame.get();
  std::weak_ptr<SimHost> weak = weak_from_this();
  const Rect main{origin.x, origin.y, origin.x + desktop_.Screen().Width(), origin.y + desktop_.Screen().Height()};
  frame->main = desktop_.CreateWindow("XLMAIN", 0, main, [weak, f](FrameBuffer& fb, const Rect& c) {
    if (auto self = weak.lock()) self->PaintMainWindow(fb, c, *f);
  });
  frame->desk = desktop_.CreateWindow("XLDESK", frame->main, gridRect, nullptr);
  frame->grid = desktop_.CreateWindow("EXCEL7", frame->desk, gridRect, [weak, f](FrameBuffer& fb, const Rect& c) {
    if (auto self = weak.lock()) self->PaintGrid(fb, c, *f);
  });
  desktop_.SetDrawsOwnPicture(frame->grid, renderer_ == Renderer::Flip);
  frames_.push_back(std::move(frame));
}

void SimHost::SetRenderer(Renderer renderer) {
  renderer_ = renderer;
  for (const auto& frame : frames_) desktop_.SetDrawsOwnPicture(frame->grid, renderer_ == Renderer::Flip);
  RepaintAll();
}

void SimHost::RedrawOwnPicture() {
  if (renderer_ != Renderer::Composed) return;
  for (const auto& frame : frames_) desktop_.PaintArea(desktop_.WindowRect(frame->grid));
}

// The whole main window's pixels go with it; what it uncovers is painted.
void SimHost::MoveMainWindow(int dx, int dy) {
  if (!shown_) return;
  const WindowHandle main = shown_->main;
  FrameBuffer& fb = desktop_.Screen();
  const FrameBuffer old = fb;
  const Rect before = desktop_.WindowRect(main);
  const Rect after{before.left + dx, before.top + dy, before.right + dx, before.bottom + dy};
  for (const WindowHandle w : {shown_->main, shown_->desk, shown_->grid}) {
    const Rect r = desktop_.WindowRect(w);
    desktop_.MoveWindow(w, {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy});
  }
  desktop_.PaintArea(Intersect(before, fb.Bounds()));
  desktop_.PaintArea(Intersect(after, fb.Bounds()));
  const auto above = desktop_.WindowsAbove(main);
  auto covered = [&](int x, int y) {
    for (const Rect& r : above)
      if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
    return false;
  };
  const Rect kept = Intersect(after, fb.Bounds());
  for (int y = kept.top; y < kept.bottom; ++y)
    for (int x = kept.left; x < kept.right; ++x) {
      const int fromX = x - dx, fromY = y - dy;
      if (fromX < 0 || fromY < 0 || fromX >= fb.Width() || fromY >= fb.Height() || covered(x, y)) continue;
      if (!covered(fromX, fromY) && fromX >= before.left && fromY >= before.top && fromX < before.right &&
          fromY < before.bottom)
        fb.Set(x, y, old.Get(fromX, fromY));
    }
  desktop_.SendWindowMessage(main, platform::GridMessage::Moved, [] {});
}

SimHost::Frame* SimHost::FrameOf(int workbook) {
  for (const auto& frame : frames_)
    if (frame->workbook == workbook) return frame.get();
  return nullptr;
}

const SheetModel& SimHost::SheetOf(const Frame& frame) {
  const Workbook* book = model_->WorkbookById(frame.workbook);
  return book ? book->sheet : Sheet();
}

platform::WindowHandle SimHost::MainWindowOf(int workbookId) {
  if (!model_->WorkbookById(workbookId)) return 0;
  if (!model_->WindowPerWorkbook()) return frames_.front()->main;
  const Frame* frame = FrameOf(workbookId);
  return frame ? frame->main : 0;
}

void SimHost::WorkbooksChanged() {
  if (model_->WindowPerWorkbook()) {
    std::erase_if(frames_, [&](const std::unique_ptr<Frame>& frame) {
      if (model_->WorkbookById(frame->workbook)) return false;
      if (shown_ == frame.get()) shown_ = nullptr;
      desktop_.DestroyWindow(frame->main);
      return true;
    });
    // A new workbook's window opens right of and below the one opened before it, which keeps its place.
    for (const auto& book : model_->Workbooks()) {
      if (FrameOf(book->id)) continue;
      const Rect before = desktop_.WindowRect(frames_.back()->main), grid = desktop_.WindowRect(frames_.back()->grid);
      OpenFrame(book->id, {before.left + kCascade, before.top + kCascade},
                {grid.left + kCascade, grid.top + kCascade, grid.right + kCascade, grid.bottom + kCascade});
    }
    desktop_.BringToTop(FrameOf(model_->Active().id)->main);
  } else {
    frames_.front()->workbook = model_->Active().id;
  }
  ShowActive();
}

void SimHost::ShowActive() {
  shown_ = FrameOf(model_->Active().id);
  desktop_.SetFocusWindow(shown_->grid);
  desktop_.SetActiveWindowHandle(shown_->main);
  desktop_.SetForegroundHandle(shown_->main);
  desktop_.FlushRepaints();
  RepaintAll();
}

}  // namespace rowtint::sim
