// The seven click handlers of the toolbar and the menu, each behind the
// command gate, and find-last-row.
#include "addin/connect.h"
#include "engine/band_commands.h"
#include "engine/command_gate.h"
#include "engine/failure_styles.h"
#include "forms/fm_about.h"
#include "forms/fm_option.h"
#include "platform/error.h"

namespace rowtint::addin {
using engine::HoldsUnlessFailed;
using engine::SkipOnFailure;

bool Connect::GateOpen() { return engine::CommandGateOpen(App()); }

void Connect::cbbButton1_Click() {
  if (!GateOpen()) return;
  forms::ShowColorOnOptions();
  forms::fm_Option()->ShowModal();
}

void Connect::cbbButton2_Click() {
  if (GateOpen()) engine::ToggleHighlight();
}

void Connect::cbbButton3_Click() {
  if (GateOpen()) FindLastRow();
}

void Connect::muButton1_Click() { cbbButton1_Click(); }

void Connect::muButton2_Click() {
  if (GateOpen()) engine::ApplyWoberColor();
}

void Connect::muButton3_Click() {
  if (GateOpen()) engine::ApplyWarmColor();
}

void Connect::muButton5_Click() {
  if (GateOpen()) forms::fm_About()->ShowModal();
}

void Connect::FindLastRow() {
  // A sheet has 1,048,576 rows: the lowest used row is kept in 32 bits, and
  // only a row past the sheet's last (which the host refuses) selects nothing.
  std::int32_t lastRow = 0;
  std::string activeAddress;
  std::int32_t activeColumn = 0;
  if (HoldsUnlessFailed([&] { return App().GetWorksheetFunction()->CountA(*App().Cells()) > 0; })) {
    SkipOnFailure([&] {
      lastRow =
          platform::Required(App().Cells()->Find("*", platform::host::kXlByRows, platform::host::kXlPrevious)).Row();
    });
  }
  SkipOnFailure([&] { activeAddress = App().ActiveWindow()->ActiveCell()->Address(); });
  SkipOnFailure([&] { activeColumn = App().GetRange(activeAddress)->Column(); });
  SkipOnFailure([&] { App().Cells()->Item(lastRow + 1, activeColumn)->Select(); });
}

}  // namespace rowtint::addin
