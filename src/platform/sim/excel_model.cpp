#include "platform/sim/excel_model.h"

#include <algorithm>

#include "platform/error.h"
#include "platform/sim/sim_excel_objects.h"

namespace rowtint::sim {
namespace {
namespace host = platform::host;

// What the host passes as an event's sheet, workbook or window.
class NamedObject : public host::Object {
 public:
  explicit NamedObject(std::string name) : name_(std::move(name)) {}
  std::string TypeName() override { return name_; }
  std::shared_ptr<host::Range> AsRange() override {
    platform::Raise(platform::err::kNotSupported, "Object doesn't support this property or method");
  }

 private:
  std::string name_;
};

std::shared_ptr<host::Object> Named(const char* name) { return std::make_shared<NamedObject>(name); }

class SinkConnection : public host::EventConnection {
 public:
  SinkConnection(std::weak_ptr<ExcelModel> model, std::vector<host::AppEvents*>& sinks, host::AppEvents* sink)
      : model_(std::move(model)), sinks_(sinks), sink_(sink) {}
  ~SinkConnection() override {
    if (model_.lock()) std::erase(sinks_, sink_);
  }

 private:
  std::weak_ptr<ExcelModel> model_;
  std::vector<host::AppEvents*>& sinks_;
  host::AppEvents* sink_;
};
}  // namespace

ExcelModel::ExcelModel(ExcelView& view, std::shared_ptr<CommandBarStore> bars, std::uint64_t& calls, HostFaults* faults)
    : view_(view), bars_(std::move(bars)), calls_(&calls), faults_(faults) {
  workbooks_.push_back(std::make_unique<Workbook>(Workbook{nextWorkbook_++, "Book1", {}}));
  // The windows of an earlier run, and their copies of the controls, are gone.
  bars_->DropWindowCopies();
}

std::shared_ptr<ExcelModel> ExcelModel::Create(ExcelView& view, std::shared_ptr<CommandBarStore> bars,
                                               std::uint64_t& calls, HostFaults* faults) {
  if (!bars) bars = std::make_shared<CommandBarStore>();
  return std::shared_ptr<ExcelModel>(new ExcelModel(view, std::move(bars), calls, faults));
}

std::int32_t ExcelModel::Build() const {
  // The last build of each version, as its last update left it; today's keeps growing.
  const std::string& version = workbooks_.front()->sheet.version;
  const int major = std::atoi(version.c_str());
  switch (major) {
    case 12:
      return 6611;
    case 14:
      return 7015;
    case 15:
      return 5603;
    case 16:
      return 18025;
    default:
      return major > 16 ? 18025 : 0;
  }
}

std::optional<CellRef> ExcelModel::CellAtScreen(platform::Point point) {
  const platform::Point origin = view_.GridOrigin();
  const platform::Rect grid = view_.GridClient();
  const SheetModel& sheet = Sheet();
  const auto row = sheet.RowAt(point.y - origin.y, grid.bottom - grid.top);
  const auto column = sheet.ColumnAt(point.x - origin.x, grid.right - grid.left);
  if (!row || !column) return std::nullopt;
  return CellRef{*row, *column};
}

void ExcelModel::Called() {
  ++*calls_;
  view_.AddInCalled();
  if (editing_) {
    ++refused_;
    platform::Raise(HostFaults::kBusy, "Application busy");
  }
  if (faults_) faults_->MaybeFail();
}

std::shared_ptr<host::Application> ExcelModel::Application() { return MakeApplication(shared_from_this()); }

std::unique_ptr<host::EventConnection> ExcelModel::Advise(host::AppEvents& sink) {
  sinks_.push_back(&sink);
  return std::make_unique<SinkConnection>(weak_from_this(), sinks_, &sink);
}

// A sink unadvised by an earlier sink's handler hears no more; a failure is
// the outcome of the event, and the host carries on.
void ExcelModel::Raise(const std::function<void(host::AppEvents&)>& event) {
  const auto sinks = sinks_;
  for (auto* sink : sinks) {
    if (std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end()) continue;
    try {
      event(*sink);
    } catch (const platform::PlatformError& e) {
      view_.EventFailed(std::to_string(e.Number()) + " " + e.Description());
    }
  }
}

void ExcelModel::Select(const Area& area) {
  const CellRef previous = Sheet().active;
  Sheet().selection = area;
  Sheet().active = area.first;
  Sheet().objectSelected = false;
  // The host brings the active cell into view before it tells anyone of the change.
  const platform::Rect grid = view_.GridClient();
  ScrollView(Sheet().ScrollToShow(Sheet().active, grid.right - grid.left, grid.bottom - grid.top));
  view_.RepaintCell(previous);
  view_.RepaintCell(Sheet().active);
  auto target = MakeRange(shared_from_this(), area);
  Raise([&](host::AppEvents& s) { s.SheetSelectionChange(Named("Worksheet"), target); });
}

void ExcelModel::SelectObject() {
  Sheet().objectSelected = true;
  view_.RepaintCell(Sheet().active);
}

void ExcelModel::Scroll(CellRef topLeft) {
  const CellRef lowest = Sheet().FirstScrollable();
  ScrollView({std::clamp(topLeft.row, lowest.row, SheetModel::kMaxRows),
              std::clamp(topLeft.column, lowest.column, SheetModel::kMaxColumns)});
}

void ExcelModel::ScrollRows(int rows) {
  const CellRef now = Sheet().scroll;
  Scroll({static_cast<std::int32_t>(std::clamp<std::int64_t>(std::int64_t{now.row} + rows, 1, SheetModel::kMaxRows)),
          now.column});
}

void ExcelModel::ScrollView(CellRef topLeft) {
  SheetModel& sheet = Sheet();
  const CellRef before = sheet.scroll;
  if (topLeft == before) return;
  sheet.scroll = topLeft;
  // The old scroll cell's edges in the new view: how far the pixels move.
  const platform::Point frozen{sheet.FrozenWidth(), sheet.FrozenHeight()};
  view_.ScrollGrid(sheet.ScrolledColumnEdge(before.column) - frozen.x, sheet.ScrolledRowEdge(before.row) - frozen.y,
                   frozen);
}

bool ExcelModel::Freeze(CellRef counts) {
  SheetModel& sheet = Sheet();
  const CellRef before = sheet.frozen;
  sheet.frozen = counts;
  const platform::Rect grid = view_.GridClient();
  if (sheet.FrozenHeight() >= grid.bottom - grid.top || sheet.FrozenWidth() >= grid.right - grid.left) {
    sheet.frozen = before;
    return false;
  }
  sheet.scroll = sheet.FirstScrollable();
  view_.RepaintAll();
  return true;
}

void ExcelModel::Resize(const platform::Rect& grid) {
  view_.MoveGrid(grid, ExcelView::GridMove::Resize);
  Raise([](host::AppEvents& s) { s.WindowResize(Named("Workbook"), Named("Window")); });
}

void ExcelModel::PlaceGrid(const platform::Rect& grid) { view_.MoveGrid(grid, ExcelView::GridMove::Place); }

void ExcelModel::SetZoom(std::int32_t percent) {
  Sheet().zoom = percent;
  view_.RepaintAll();
}

void ExcelModel::SetRowHeight(std::int32_t row, double points) {
  Sheet().SetRowHeight(row, points);
  view_.RepaintAll();
}

void ExcelModel::SetColumnWidth(std::int32_t column, double points) {
  Sheet().SetColumnWidth(column, points);
  view_.RepaintAll();
}

void ExcelModel::SetText(CellRef cell, const std::string& text) {
  Sheet().SetText(cell, text);
  view_.RepaintCell(cell);
}

void ExcelModel::ActivateSheet() {
  Raise([](host::AppEvents& s) { s.SheetActivate(Named("Worksheet")); });
}

void ExcelModel::ActivateWorkbook() {
  Raise([](host::AppEvents& s) { s.WorkbookActivate(Named("Workbook")); });
}

const Workbook* ExcelModel::WorkbookById(int id) const {
  for (const auto& w : workbooks_)
    if (w->id == id) return w.get();
  return nullptr;
}

bool ExcelModel::WindowPerWorkbook() const {
  const std::string& version = workbooks_[active_]->sheet.version;
  return std::stoi(version.substr(0, version.find('.'))) >= 15;
}

void ExcelModel::SetVersion(const std::string& version) {
  for (auto& w : workbooks_) w->sheet.version = version;
}

void ExcelModel::NewWorkbook() {
  const SheetModel& current = Sheet();
  auto book = std::make_unique<Workbook>();
  book->id = nextWorkbook_++;
  book->name = "Book" + std::to_string(book->id);
  // What belongs to the host and the screen rather than to a workbook.
  book->sheet.version = current.version;
  book->sheet.dpi = current.dpi;
  workbooks_.push_back(std::move(book));
  active_ = workbooks_.size() - 1;
  if (WindowPerWorkbook()) bars_->CopyIntoWindow(workbooks_[active_]->id);
  view_.WorkbooksChanged();
  ActivateWorkbook();
}

void ExcelModel::SwitchWorkbook(std::size_t place) {
  active_ = place - 1;
  view_.WorkbooksChanged();
  ActivateWorkbook();
}

void ExcelModel::CloseWorkbook(std::size_t place) {
  const bool wasActive = place - 1 == active_;
  bars_->DropWindow(workbooks_[place - 1]->id);
  workbooks_.erase(workbooks_.begin() + static_cast<std::ptrdiff_t>(place - 1));
  // The next one takes the closed one's place; after the last, the one
  // before it. Closing another leaves the active one as it is.
  if (wasActive)
    active_ = std::min(place - 1, workbooks_.size() - 1);
  else if (place - 1 < active_)
    --active_;
  view_.WorkbooksChanged();
  if (wasActive) ActivateWorkbook();
}

void ExcelModel::Print() {
  platform::VbBool cancel = platform::kFalse;
  Raise([&](host::AppEvents& s) { s.WorkbookBeforePrint(Named("Workbook"), cancel); });
}

void ExcelModel::BeginEdit(EditPlace place) {
  editing_ = true;
  editPlace_ = place;
  view_.ShowEditor(place, true);
}

void ExcelModel::EndEdit() {
  editing_ = false;
  view_.ShowEditor(editPlace_, false);
}

void ExcelModel::SetWindowDpi(int dpi) {
  for (const auto& book : workbooks_) book->sheet.dpi = dpi;
  view_.SetMonitorDpi(dpi);
  view_.RepaintAll();
}

}  // namespace rowtint::sim
