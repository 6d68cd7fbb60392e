#include "engine/highlighter.h"

#include "engine/excel_windows.h"
#include "engine/failure_styles.h"
#include "engine/visible_columns.h"
#include "platform/command_bars.h"
#include "platform/error.h"

namespace rowtint::engine {

Highlighter::~Highlighter() { LetGoOfConnection(); }

std::uint64_t Highlighter::Attach(std::shared_ptr<platform::host::Application> app) {
  if (app_) Detach(connection_);
  app_ = std::move(app);
  // Read once a connection: a change takes effect at the next.
  surfaces_.Choose(ReadSurfaceChoice(os_.ownKey));
  return ++connection_;
}

void Highlighter::Detach(std::uint64_t connection) {
  if (connection != connection_) return;
  LetGoOfConnection();
  app_.reset();
}

void Highlighter::ReplaceApplication(std::uint64_t connection, std::shared_ptr<platform::host::Application> app) {
  if (connection != connection_) return;
  app_ = std::move(app);
  tickCache_ = {};
}

void Highlighter::LetGoOfConnection() {
  // The grids' procedures must not call into a connection that is gone.
  for (const WindowHandle grid : watched_) os_.messages.RemoveSubclass(grid);
  watched_.clear();
  if (timer_) StopRepaintTimer();
  if (timerWindow_) os_.timers.DestroyMessageWindow(timerWindow_);
  timerWindow_ = 0;
  selScrollRow_ = 0;
  lastSelColumn_ = 0;
  editingSeen_ = false;
  tickCache_ = {};
  gateWatcher_ = nullptr;
  gateNoted_.reset();
  wakePosted_ = false;
  sizedPending_ = false;
  movedPending_ = false;
  repainted_.clear();
  wakeScroll_.reset();
  surfaces_.Reset();
  // The next connection knows nothing of what the screen shows: no band is
  // drawn again where this one left it, and no overlay shows it.
  kept_.band.standing = false;
  kept_.band.onOverlay = false;
}

platform::host::Application& Highlighter::App() { return platform::Required(app_); }

platform::WindowHandle Highlighter::MainWindow() {
  return OrFallback([&] { return FindMainWindow(os_.windows, App()); },
                    os_.windows.FindProcessWindow(kMainWindowClass));
}

bool Highlighter::CommandGateOpen() {
  constexpr std::int16_t kGateControlIndex = 2;
  // A kept control that no longer answers (its bar was reset) is looked up again.
  if (auto& kept = tickCache_.gate) {
    std::optional<bool> open;
    SkipOnFailure([&] { open = kept->Enabled() == platform::kTrue; });
    if (open) {
      NoteGate(*open);
      return *open;
    }
    kept.reset();
  }
  auto control = App().GetCommandBars()->Item("File")->Controls()->Item(kGateControlIndex);
  const bool open = platform::Required(control).Enabled() == platform::kTrue;
  tickCache_.gate = std::move(control);
  NoteGate(open);
  return open;
}

// Whether the second control of the "File" bar still follows editing and
// modal dialogs in today's Excel is not documented: read disabled for good,
// it would hold back every command. A closed gate while the grid has the
// focus (so no cell is edited) and Excel takes input is marked, so that a
// user's log shows it.
void Highlighter::NoteGate(bool open) {
  if (!os_.diagnostics.Enabled() || gateNoted_ == open) return;
  gateNoted_ = open;
  auto& windows = os_.windows;
  const std::string focus = windows.WindowClassName(windows.GetFocus());
  const WindowHandle main = MainWindow();
  const bool takesInput = main && windows.IsWindowEnabled(main);
  std::string line = std::string("gate ") + (open ? "open" : "closed") + "; focus " + (focus.empty() ? "-" : focus) +
                     "; Excel's main window " + (takesInput ? "enabled" : "disabled");
  if (!open && focus == kGridWindowClass && takesInput)
    line += "; closed with the grid focused and Excel taking input: the \"File\" bar's gate may not follow Excel";
  os_.diagnostics.Write(line);
}

void Highlighter::SelectionChanged() {
  if (choices_.off) return;
  SkipOnFailure([&] { StartRepaintTimer(kSelectionIntervalMs); });
  const auto columns = ReadColumnsSkippingFailures(app_.get());
  // The view scrolled since the band was drawn: the band moved with its row,
  // away from the strip the painter would erase at the new active row. Or
  // the previously active column lies right of the view. Either way the old
  // band may be anywhere, so the whole grid is repainted.
  if (HoldsUnlessFailed([&] {
        const bool scrolled = kept_.paintScrollRow != App().ActiveWindow()->ScrollRow();
        const bool rightOfView = lastSelColumn_ > columns.right;
        return scrolled || rightOfView;
      }))
    kept_.redrawWholeGrid = true;
  lastSelColumn_ = columns.active;
  SkipOnFailure([&] { selScrollRow_ = App().ActiveWindow()->ScrollRow(); });
  Paint(false, true);
}

// The painter checks the active column again, and the ticks read the window now active.
void Highlighter::SheetActivated() {
  tickCache_.window.reset();
  kept_.columnCheckArmed = true;
  kept_.tickScrollColumn = kept_.seenScrollColumn;
}

void Highlighter::WindowResized() {
  EraseResizedBand();
  PaintRowBand();
}

void Highlighter::NoteConnection() {
  auto& log = os_.diagnostics;
  if (!log.Enabled()) return;
  std::string excel = "Excel ";
  SkipOnFailure([&] { excel += App().Version(); });
  SkipOnFailure([&] { excel += " build " + std::to_string(App().Build()); });
  const std::string environment = log.Environment();
  log.Write("connected; " + (environment.empty() ? std::string() : environment + "; ") + excel + "; surface " +
            ChoiceName(surfaces_.Choice()));
}

BandSnapshot Highlighter::Snapshot() const {
  BandSnapshot s;
  s.HostApp = app_ != nullptr;
  s.ExcelMainWnd = kept_.mainWnd;
  s.HighlightColor = choices_.color;
  s.HighlightOff = choices_.off;
  s.RopMode = choices_.ropMode;
  s.HistoryColor1 = choices_.history[0];
  s.HistoryColor2 = choices_.history[1];
  s.HistoryColor3 = choices_.history[2];
  s.RedrawWholeGrid = kept_.redrawWholeGrid;
  s.ColumnCheckArmed = kept_.columnCheckArmed;
  s.PaintScrollRow = kept_.paintScrollRow;
  s.PaintScrollColumn = kept_.paintScrollColumn;
  s.TickScrollRow = kept_.tickScrollRow;
  s.TickScrollColumn = kept_.tickScrollColumn;
  s.SeenScrollColumn = kept_.seenScrollColumn;
  s.CaretPoint = lastPaint_.caret;
  s.GridRect = kept_.gridRect;
  s.LeftBandRect = kept_.band.left;
  s.RightBandRect = kept_.band.right;
  s.LastBandRect = kept_.band.outer;
  s.PrevBandRect = lastPaint_.previousBand;
  s.ResizeEraseRect = lastPaint_.resizeErase;
  if (kept_.band.column) s.ColumnBandRect = kept_.band.columnOuter;
  s.SelScrollRow = selScrollRow_;
  s.LastSelColumn = lastSelColumn_;
  return s;
}

}  // namespace rowtint::engine
