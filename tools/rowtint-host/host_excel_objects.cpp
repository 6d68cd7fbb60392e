#include "host_excel_objects.h"

#include <limits>

#include "host_behaviours.h"
#include "platform/host.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::fakes::FakeDispatch;
namespace excel = win32::excel;
namespace err = platform::err;
using platform::Raise;

enum class Counting { Cells, Rows, Columns };

bool WholeSheet(const sim::Area& a) {
  return a.Rows() == sim::SheetModel::kMaxRows && a.Columns() == sim::SheetModel::kMaxColumns;
}

Variant ObjectResult(const ComPtr<FakeDispatch>& object) {
  return Variant::Object(static_cast<IDispatch*>(object.Get()));
}

// The area a Range of this host covers, read back through its Address.
sim::Area AreaOf(const Variant& range) {
  if (range.Type() != VT_DISPATCH || !V_DISPATCH(&range.Raw())) Raise(err::kTypeMismatch, "Type mismatch");
  Variant address;
  DISPPARAMS none{};
  if (FAILED(
          V_DISPATCH(&range.Raw())
              ->Invoke(excel::kAddress.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, address.Ptr(), nullptr, nullptr)))
    Raise(err::kTypeMismatch, "Type mismatch");
  const std::string text = win32::ToText(address, "Address");
  if (text == "$1:$" + std::to_string(sim::SheetModel::kMaxRows))
    return {{1, 1}, {sim::SheetModel::kMaxRows, sim::SheetModel::kMaxColumns}};
  auto area = sim::ParseArea(text);
  if (!area) Raise(err::kTypeMismatch, "Type mismatch");
  return *area;
}

ComPtr<FakeDispatch> RangeOf(Workbook& book, const sim::Area& area, Counting counting);

// Backwards by rows from the first cell wraps to the last: the lowest row
// holding anything, and in it the rightmost cell that does.
Variant Find(Workbook& book, const sim::Area& area, const ReceivedCall& call) {
  const Variant* what = Arg(call, 0, 0);
  const Variant* order = Arg(call, 4, 4);
  const Variant* direction = Arg(call, 5, 5);
  if (!what || !order || !direction || win32::ToText(*what, "What") != "*" ||
      win32::ToLong(*order, "SearchOrder") != platform::host::kXlByRows ||
      win32::ToLong(*direction, "SearchDirection") != platform::host::kXlPrevious)
    Raise(err::kHostFailed, "Method 'Find' of object 'Range' failed");
  const auto& sheet = book.sheet;
  for (std::int32_t r = sheet.LowestUsedRow(); r >= area.first.row; --r)
    for (std::int32_t c = area.last.column; c >= area.first.column && r <= area.last.row; --c)
      if (sheet.Text({r, c})) return ObjectResult(RangeOf(book, {{r, c}, {r, c}}, Counting::Cells));
  return Variant::Object(nullptr);
}

ComPtr<FakeDispatch> RangeOf(Workbook& book, const sim::Area& area, Counting counting) {
  auto range = win32::fakes::FakeRange();
  range->Unrecorded();
  Workbook* b = &book;
  range->On(excel::kAddress.id, Member([area](const ReceivedCall&) {
              if (WholeSheet(area)) return Variant::Text("$1:$" + std::to_string(sim::SheetModel::kMaxRows));
              return Variant::Text(sim::AbsoluteAddress(area));
            }));
  range->On(excel::kRow.id, Member([area](const ReceivedCall&) { return Variant::Long(area.first.row); }));
  range->On(excel::kColumn.id, Member([area](const ReceivedCall&) { return Variant::Long(area.first.column); }));
  range->On(excel::kHeight.id, Member([b, area](const ReceivedCall&) {
              double sum = 0;
              for (std::int32_t r = area.first.row; r <= area.last.row && r - area.first.row < 100000; ++r)
                sum += b->sheet.RowHeight(r);
              return Variant::Double(sum);
            }));
  range->On(excel::kWidth.id, Member([b, area](const ReceivedCall&) {
              double sum = 0;
              for (std::int32_t c = area.first.column; c <= area.last.column; ++c) sum += b->sheet.ColumnWidth(c);
              return Variant::Double(sum);
            }));
  range->On(excel::kRows.id,
            Member([b, area](const ReceivedCall&) { return ObjectResult(RangeOf(*b, area, Counting::Rows)); }));
  range->On(excel::kColumns.id,
            Member([b, area](const ReceivedCall&) { return ObjectResult(RangeOf(*b, area, Counting::Columns)); }));
  range->On(excel::kCount.id, Member([area, counting](const ReceivedCall&) {
              const std::int64_t n = counting == Counting::Rows      ? area.Rows()
                                     : counting == Counting::Columns ? area.Columns()
                                                                     : std::int64_t{area.Rows()} * area.Columns();
              if (n > std::numeric_limits<std::int32_t>::max()) Raise(err::kOverflow, "Overflow");
              return Variant::Long(static_cast<std::int32_t>(n));
            }));
  range->On(excel::kFind.id, Member([b, area](const ReceivedCall& call) { return Find(*b, area, call); }));
  range->On(excel::kItem.id, Member([b, area](const ReceivedCall& call) {
              const Variant* row = Arg(call, 0, 0);
              const Variant* column = Arg(call, 1, 1);
              const std::int64_t r = std::int64_t{area.first.row} + (row ? win32::ToLong(*row, "Item") : 1) - 1;
              const std::int64_t c =
                  std::int64_t{area.first.column} + (column ? win32::ToLong(*column, "Item") : 1) - 1;
              if (r < 1 || r > sim::SheetModel::kMaxRows || c < 1 || c > sim::SheetModel::kMaxColumns)
                Raise(err::kHostFailed, "Application-defined or object-defined error");
              const sim::CellRef cell{static_cast<std::int32_t>(r), static_cast<std::int32_t>(c)};
              return ObjectResult(RangeOf(*b, {cell, cell}, Counting::Cells));
            }));
  range->On(excel::kSelect.id, Member([b, area](const ReceivedCall&) {
              b->select(area);
              return Variant::Bool(platform::kTrue);
            }));
  return range;
}

ComPtr<FakeDispatch> WindowOf(Workbook& book) {
  auto window = win32::fakes::FakeWindow();
  window->Unrecorded();
  Workbook* b = &book;
  window->On(excel::kZoom.id, Member([b](const ReceivedCall&) { return Variant::Double(b->sheet.zoom); }));
  window->On(excel::kScrollRow.id, Member([b](const ReceivedCall&) { return Variant::Long(b->sheet.scroll.row); }));
  window->On(excel::kScrollColumn.id,
             Member([b](const ReceivedCall&) { return Variant::Long(b->sheet.scroll.column); }));
  window->On(excel::kVisibleRange.id, Member([b](const ReceivedCall&) {
               const platform::Rect grid = b->gridClient();
               const sim::CellRef last = b->sheet.LastVisible(grid.right - grid.left, grid.bottom - grid.top);
               return ObjectResult(RangeOf(*b, {b->sheet.scroll, last}, Counting::Cells));
             }));
  window->On(excel::kActiveCell.id, Member([b](const ReceivedCall&) {
               return ObjectResult(RangeOf(*b, {b->sheet.active, b->sheet.active}, Counting::Cells));
             }));
  return window;
}

ComPtr<FakeDispatch> WorksheetFunctionOf(Workbook& book) {
  auto function = win32::fakes::FakeWorksheetFunction();
  function->Unrecorded();
  Workbook* b = &book;
  function->On(excel::kCountA.id, Member([b](const ReceivedCall& call) {
                 const Variant* arg = Arg(call, 0, 0);
                 if (!arg) Raise(err::kTypeMismatch, "Type mismatch");
                 const sim::Area a = AreaOf(*arg);
                 if (WholeSheet(a)) return Variant::Double(static_cast<double>(b->sheet.NonEmptyCount()));
                 double n = 0;
                 for (std::int32_t r = a.first.row; r <= a.last.row; ++r)
                   for (std::int32_t c = a.first.column; c <= a.last.column; ++c)
                     if (b->sheet.Text({r, c})) ++n;
                 return Variant::Double(n);
               }));
  return function;
}
}  // namespace

ComPtr<FakeDispatch> MakeRange(Workbook& book, const sim::Area& area) { return RangeOf(book, area, Counting::Cells); }

ComPtr<FakeDispatch> MakeNamed(const std::string& typeName) {
  auto object = FakeDispatch::Create(typeName);
  object->Unrecorded();
  return object;
}

ComPtr<FakeDispatch> MakeApplication(Workbook& book) {
  auto app = win32::fakes::FakeApplication();
  app->Unrecorded();
  Workbook* b = &book;
  app->On(excel::kActiveWindow.id, Member([b](const ReceivedCall&) { return ObjectResult(WindowOf(*b)); }));
  app->On(excel::kActiveCell.id, Member([b](const ReceivedCall&) {
            return ObjectResult(RangeOf(*b, {b->sheet.active, b->sheet.active}, Counting::Cells));
          }));
  app->On(excel::kSelection.id, Member([b](const ReceivedCall&) {
            // A drawn shape answers no Range interface.
            if (b->sheet.objectSelected) return ObjectResult(MakeNamed("Rectangle"));
            return ObjectResult(RangeOf(*b, b->sheet.selection, Counting::Cells));
          }));
  app->On(excel::kVersion.id, Member([b](const ReceivedCall&) { return Variant::Text(b->sheet.version); }));
  app->On(excel::kRange.id, Member([b](const ReceivedCall& call) {
            const Variant* cell1 = Arg(call, 0, 0);
            auto area = cell1 ? sim::ParseArea(win32::ToText(*cell1, "Range")) : std::nullopt;
            if (!area) Raise(err::kHostFailed, "Method 'Range' of object '_Global' failed");
            return ObjectResult(RangeOf(*b, *area, Counting::Cells));
          }));
  app->On(excel::kCells.id, Member([b](const ReceivedCall&) {
            return ObjectResult(
                RangeOf(*b, {{1, 1}, {sim::SheetModel::kMaxRows, sim::SheetModel::kMaxColumns}}, Counting::Cells));
          }));
  app->On(excel::kWorksheetFunction.id,
          Member([b](const ReceivedCall&) { return ObjectResult(WorksheetFunctionOf(*b)); }));
  app->On(excel::kCommandBars.id, Member([b](const ReceivedCall&) {
            ComPtr<IDispatch> bars = b->commandBars();
            return Variant::Object(bars.Get());
          }));
  return app;
}

}  // namespace rowtint::host
