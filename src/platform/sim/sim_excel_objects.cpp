#include "platform/sim/sim_excel_objects.h"

#include <algorithm>
#include <limits>

#include "platform/command_bars.h"
#include "platform/error.h"
#include "platform/sim/excel_model.h"
#include "platform/sim/sim_object_parts.h"

namespace rowtint::sim {
namespace {
using platform::Raise;
namespace err = platform::err;
namespace host = platform::host;

class SimShape : public host::Object {
 public:
  explicit SimShape(HostRef host) : host_(std::move(host)) {}
  std::string TypeName() override {
    host_();
    return "Rectangle";
  }
  std::shared_ptr<host::Range> AsRange() override {
    host_();
    Raise(err::kNotSupported, "Object doesn't support this property or method");
  }

 private:
  HostRef host_;
};

enum class Counting { Cells, Rows, Columns };

class SimRange : public host::Range, public std::enable_shared_from_this<SimRange> {
 public:
  SimRange(HostRef host, Area area, Counting counting = Counting::Cells)
      : host_(std::move(host)), area_(area), counting_(counting) {}

  std::string TypeName() override {
    host_();
    return "Range";
  }
  std::shared_ptr<host::Range> AsRange() override {
    host_();
    return shared_from_this();
  }
  std::string Address() override {
    host_();
    if (area_.Rows() == SheetModel::kMaxRows && area_.Columns() == SheetModel::kMaxColumns)
      return "$1:$" + std::to_string(SheetModel::kMaxRows);
    return AbsoluteAddress(area_);
  }
  std::int32_t Row() override {
    host_();
    return area_.first.row;
  }
  std::int32_t Column() override {
    host_();
    return area_.first.column;
  }
  double Height() override {
    auto& sheet = host_().Sheet();
    double sum = 0;
    for (std::int32_t r = area_.first.row; r <= area_.last.row && r - area_.first.row < 100000; ++r)
      sum += sheet.RowHeight(r);
    return sum;
  }
  double Width() override {
    auto& sheet = host_().Sheet();
    double sum = 0;
    for (std::int32_t c = area_.first.column; c <= area_.last.column; ++c) sum += sheet.ColumnWidth(c);
    return sum;
  }
  std::optional<double> RowHeight() override {
    return host_().Sheet().UniformRowHeight(area_.first.row, area_.last.row);
  }
  // In characters of the standard font: 7 pixels each at 96 dots per inch, past 5 pixels of margin.
  std::optional<double> ColumnWidth() override {
    const auto points = host_().Sheet().UniformColumnWidth(area_.first.column, area_.last.column);
    if (!points) return std::nullopt;
    return std::max(0.0, (*points * 96 / 72 - 5) / 7);
  }
  double Left() override { return host_().Sheet().ColumnLeft(area_.first.column); }
  double Top() override { return host_().Sheet().RowTop(area_.first.row); }
  std::shared_ptr<host::Range> Rows() override {
    host_();
    return std::make_shared<SimRange>(host_, area_, Counting::Rows);
  }
  std::shared_ptr<host::Range> Columns() override {
    host_();
    return std::make_shared<SimRange>(host_, area_, Counting::Columns);
  }
  std::int32_t Count() override {
    host_();
    std::int64_t n = counting_ == Counting::Rows      ? area_.Rows()
                     : counting_ == Counting::Columns ? area_.Columns()
                                                      : std::int64_t{area_.Rows()} * area_.Columns();
    if (n > std::numeric_limits<std::int32_t>::max()) Raise(err::kOverflow, "Overflow");
    return static_cast<std::int32_t>(n);
  }
  std::shared_ptr<host::Range> Find(const std::string& what, std::int32_t searchOrder, std::int32_t searchDirection,
                                    const host::SearchOptions& options) override {
    auto& model = host_();
    auto& sheet = model.Sheet();
    if (what != "*" || searchOrder != host::kXlByRows || searchDirection != host::kXlPrevious)
      Raise(err::kHostFailed, "Method 'Find' of object 'Range' failed");
    // What is passed stays for the user's next search; what is not, the user's last search decides.
    auto& last = model.lastSearch;
    if (options.lookIn) last.lookIn = options.lookIn;
    if (options.lookAt) last.lookAt = options.lookAt;
    if (options.matchCase) last.matchCase = options.matchCase;
    // The sheet holds no comments: a search in them finds nothing.
    if (last.lookIn == host::kXlComments) return nullptr;
    // Backwards by rows from the first cell wraps to the last: the lowest
    // row holding anything, and in it the rightmost cell that does.
    std::int32_t lowest = 0, rightmost = 0;
    for (std::int32_t r = sheet.LowestUsedRow(); r >= area_.first.row && lowest == 0; --r)
      for (std::int32_t c = area_.last.column; c >= area_.first.column && r <= area_.last.row; --c)
        if (sheet.Text({r, c})) {
          lowest = r;
          rightmost = c;
          break;
        }
    if (lowest == 0) return nullptr;
    return std::make_shared<SimRange>(host_, Area{{lowest, rightmost}, {lowest, rightmost}});
  }
  std::shared_ptr<host::Range> Item(std::int32_t row, std::int32_t column) override {
    host_();
    const std::int64_t r = std::int64_t{area_.first.row} + row - 1;
    const std::int64_t c = std::int64_t{area_.first.column} + column - 1;
    if (r < 1 || r > SheetModel::kMaxRows || c < 1 || c > SheetModel::kMaxColumns)
      Raise(err::kHostFailed, "Application-defined or object-defined error");
    const CellRef cell{static_cast<std::int32_t>(r), static_cast<std::int32_t>(c)};
    return std::make_shared<SimRange>(host_, Area{cell, cell});
  }
  void Select() override { host_().Select(area_); }

  Area area() const { return area_; }

 private:
  HostRef host_;
  Area area_;
  Counting counting_;
};

class SimWorksheetFunction : public host::WorksheetFunction {
 public:
  explicit SimWorksheetFunction(HostRef host) : host_(std::move(host)) {}
  double CountA(host::Range& arg1) override {
    auto& sheet = host_().Sheet();
    auto* range = dynamic_cast<SimRange*>(&arg1);
    if (!range) Raise(err::kTypeMismatch, "Type mismatch");
    const Area a = range->area();
    if (a.Rows() == SheetModel::kMaxRows && a.Columns() == SheetModel::kMaxColumns)
      return static_cast<double>(sheet.NonEmptyCount());
    double n = 0;
    for (std::int32_t r = a.first.row; r <= a.last.row; ++r)
      for (std::int32_t c = a.first.column; c <= a.last.column; ++c)
        if (sheet.Text({r, c})) ++n;
    return n;
  }

 private:
  HostRef host_;
};

class SimApplication : public host::Application {
 public:
  explicit SimApplication(HostRef host) : host_(std::move(host)) {}
  std::shared_ptr<host::Window> ActiveWindow() override { return NewWindow(host_, host_().Active().id); }
  std::shared_ptr<host::Range> ActiveCell() override {
    const CellRef active = host_().Sheet().active;
    return std::make_shared<SimRange>(host_, Area{active, active});
  }
  std::shared_ptr<host::Object> Selection() override {
    auto& h = host_();
    if (h.Sheet().objectSelected) return std::make_shared<SimShape>(host_);
    return std::make_shared<SimRange>(host_, h.Sheet().selection);
  }
  std::string Version() override { return host_().Sheet().version; }
  std::int32_t Build() override { return host_().Build(); }
  platform::WindowHandle Hwnd() override { return host_().View().ActiveMainWindow(); }
  std::shared_ptr<host::Range> GetRange(const std::string& cell1) override {
    host_();
    auto area = ParseArea(cell1);
    if (!area) Raise(err::kHostFailed, "Method 'Range' of object '_Global' failed");
    return std::make_shared<SimRange>(host_, *area);
  }
  std::shared_ptr<host::Range> Cells() override {
    host_();
    return std::make_shared<SimRange>(host_, Area{{1, 1}, {SheetModel::kMaxRows, SheetModel::kMaxColumns}});
  }
  std::shared_ptr<host::WorksheetFunction> GetWorksheetFunction() override {
    host_();
    return std::make_shared<SimWorksheetFunction>(host_);
  }
  std::shared_ptr<platform::CommandBars> GetCommandBars() override {
    auto& h = host_();
    return h.Bars().Automation(&h.Calls());
  }
  std::unique_ptr<host::EventConnection> AdviseEvents(host::AppEvents& sink) override { return host_().Advise(sink); }
  std::shared_ptr<host::Range> AsRange() override {
    host_();
    Raise(err::kNotSupported, "Object doesn't support this property or method");
  }

 private:
  HostRef host_;
};
}  // namespace

std::shared_ptr<host::Application> MakeApplication(const std::shared_ptr<ExcelModel>& host) {
  return std::make_shared<SimApplication>(HostRef(host));
}

std::shared_ptr<host::Range> MakeRange(const std::shared_ptr<ExcelModel>& host, const Area& area) {
  return NewRange(HostRef(host), area);
}

std::shared_ptr<host::Range> NewRange(const HostRef& host, const Area& area) {
  return std::make_shared<SimRange>(host, area);
}

}  // namespace rowtint::sim
