// The lines of the user's own work in the host: editing, selecting,
// scrolling, the mouse wheel, frozen panes, and the repaints Excel makes of
// its own accord.
#include "script_commands.h"

namespace rowtint::script {
namespace {

// The user types into the active cell, or leaves it with Esc.
void Edit(const ScriptLine& line, sim::ExcelModel& model) {
  line.ExpectArguments(1);
  const std::string& what = line.Word(1);
  if (what != "begin" && what != "end") throw ScriptError("'edit' takes begin or end, not '" + what + "'");
  if ((what == "begin") == model.Editing())
    throw ScriptError(model.Editing() ? "a cell is being edited already" : "no cell is being edited");
  if (what == "begin")
    model.BeginEdit();
  else
    model.EndEdit();
}

// "off", or the counts of rows and columns to freeze, one of them at least.
void Freeze(const ScriptLine& line, sim::ExcelModel& model) {
  line.ExpectArguments(1, 2);
  if (line.Word(1) == "off") {
    line.ExpectArguments(1);
    model.Freeze({0, 0});
    return;
  }
  line.ExpectArguments(2);
  const auto rows = static_cast<std::int32_t>(line.Whole(1, 0, sim::SheetModel::kMaxRows - 1, "count of rows"));
  const auto columns =
      static_cast<std::int32_t>(line.Whole(2, 0, sim::SheetModel::kMaxColumns - 1, "count of columns"));
  if (rows == 0 && columns == 0) throw ScriptError("'freeze' takes a row or a column to freeze, or off");
  if (!model.Freeze({rows, columns}))
    throw ScriptError("'freeze " + line.Word(1) + " " + line.Word(2) +
                      "' leaves the grid no room: the frozen rows and columns must fit in it");
}

// Excel repaints a cell, a row or the whole grid of its own accord.
void Repaint(const ScriptLine& line, sim::ExcelModel& model) {
  line.ExpectArguments(1, 2);
  const sim::SheetModel& sheet = model.Sheet();
  constexpr int kWholeWidth = 1 << 20;
  if (line.Word(1) == "grid") {
    line.ExpectArguments(1);
    model.Repaint({0, 0, kWholeWidth, kWholeWidth});
  } else if (line.Word(1) == "row") {
    line.ExpectArguments(2);
    const auto row = static_cast<std::int32_t>(line.Whole(2, 1, sim::SheetModel::kMaxRows, "row"));
    model.Repaint({0, sheet.RowEdge(row), kWholeWidth, sheet.RowEdge(row + 1)});
  } else {
    line.ExpectArguments(1);
    const sim::CellRef cell = line.Cell(1);
    model.Repaint({sheet.ColumnEdge(cell.column), sheet.RowEdge(cell.row), sheet.ColumnEdge(cell.column + 1),
                   sheet.RowEdge(cell.row + 1)});
  }
}

}  // namespace

void UserCommand(const ScriptLine& line, sim::ExcelModel& model) {
  const std::string& cmd = line.Command();
  if (cmd == "edit") {
    Edit(line, model);
  } else if (cmd == "select") {
    line.ExpectArguments(1);
    model.Select(line.Area(1));
  } else if (cmd == "scroll") {
    line.ExpectArguments(2);
    const std::int32_t row = line.Row(1);
    model.Scroll({row, line.Column(2)});
  } else if (cmd == "freeze") {
    Freeze(line, model);
  } else if (cmd == "wheel") {
    line.ExpectArguments(1);
    // The wheel's delta is a 16-bit number, 40 a row.
    const auto rows = line.Whole(1, -800, 800, "rows to scroll");
    if (rows == 0) throw ScriptError("'wheel' takes the rows to scroll, not 0");
    model.Wheel(static_cast<int>(rows));
  } else if (cmd == "repaint") {
    Repaint(line, model);
  } else {
    line.ExpectArguments(0);
    if (cmd == "select-object")
      model.SelectObject();
    else if (cmd == "activate-sheet")
      model.ActivateSheet();
    else if (cmd == "activate-workbook")
      model.ActivateWorkbook();
    else
      model.Print();
  }
}

}  // namespace rowtint::script
