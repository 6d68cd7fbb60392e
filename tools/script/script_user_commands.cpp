// The lines of the user's own work in the host: editing, selecting,
// scrolling, the mouse wheel, frozen panes, and the repaints Excel makes of
// its own accord.
#include "script_commands.h"

namespace rowtint::script {
namespace {

// The user types into the active cell or the formula bar, or leaves with Esc.
void EditCommand(const Edit& edit, sim::ExcelModel& model) {
  if (edit.begin == model.Editing())
    throw ScriptError(model.Editing() ? "a cell is being edited already" : "no cell is being edited");
  if (edit.begin)
    model.BeginEdit(edit.formulaBar ? sim::EditPlace::FormulaBar : sim::EditPlace::Cell);
  else
    model.EndEdit();
}

void FreezeCommand(const Command& command, sim::ExcelModel& model) {
  const sim::CellRef counts = command.Get<Freeze>().counts;
  if (!model.Freeze(counts))
    throw ScriptError("'freeze " + std::to_string(counts.row) + " " + std::to_string(counts.column) +
                      "' leaves the grid no room: the frozen rows and columns must fit in it");
}

// Excel repaints a cell, a row or the whole grid of its own accord.
void RepaintCommand(const Repaint& repaint, sim::ExcelModel& model) {
  const sim::SheetModel& sheet = model.Sheet();
  constexpr int kWholeWidth = 1 << 20;
  const sim::CellRef cell = repaint.cell;
  switch (repaint.what) {
    case Repaint::What::Grid:
      model.Repaint({0, 0, kWholeWidth, kWholeWidth});
      break;
    case Repaint::What::Row:
      model.Repaint({0, sheet.RowEdge(cell.row), kWholeWidth, sheet.RowEdge(cell.row + 1)});
      break;
    default:
      model.Repaint({sheet.ColumnEdge(cell.column), sheet.RowEdge(cell.row), sheet.ColumnEdge(cell.column + 1),
                     sheet.RowEdge(cell.row + 1)});
      break;
  }
}

}  // namespace

void UserCommand(const Command& command, sim::ExcelModel& model) {
  switch (command.verb) {
    case Verb::Edit:
      return EditCommand(command.Get<Edit>(), model);
    case Verb::Select:
      return model.Select(command.Get<Selection>().area);
    case Verb::Scroll:
      return model.Scroll(command.Get<ScrollTo>().topLeft);
    case Verb::Freeze:
      return FreezeCommand(command, model);
    case Verb::Wheel:
      return model.Wheel(static_cast<int>(command.Get<Number>().value));
    case Verb::Repaint:
      return RepaintCommand(command.Get<Repaint>(), model);
    case Verb::SelectObject:
      return model.SelectObject();
    case Verb::ActivateSheet:
      return model.ActivateSheet();
    case Verb::ActivateWorkbook:
      return model.ActivateWorkbook();
    default:
      return model.Print();
  }
}

}  // namespace rowtint::script
