// The commands behind the toolbar's buttons and the menu's items, each
// behind the command gate, and find-last-row.
#include "addin/connect.h"
#include "engine/failure_styles.h"
#include "platform/error.h"

namespace rowtint::addin {
using engine::HoldsUnlessFailed;
using engine::SkipOnFailure;

void Connect::ShowOptions() {
  if (!band_.CommandGateOpen()) return;
  forms::OptionsForm& form = OptionsForm();
  forms::ShowColorOnOptions(form, library_.Choices().color);
  forms::ShowAcrossOnOptions(form, library_.Choices().across);
  form.ShowModal(band_);
}

void Connect::ToggleBand() {
  if (band_.CommandGateOpen()) band_.ToggleHighlight();
}

void Connect::SelectBelowLastRow() {
  if (band_.CommandGateOpen()) FindLastRow();
}

void Connect::ApplyWoberPreset() {
  if (band_.CommandGateOpen()) band_.ApplyWoberColor();
}

void Connect::ApplyWarmPreset() {
  if (band_.CommandGateOpen()) band_.ApplyWarmColor();
}

void Connect::ShowAbout() {
  if (band_.CommandGateOpen()) library_.Forms().About().ShowModal(band_);
}

void Connect::FindLastRow() {
  // A sheet has 1,048,576 rows: the lowest used row is kept in 32 bits, and
  // only a row past the sheet's last (which the host refuses) selects nothing.
  std::int32_t lastRow = 0;
  std::string activeAddress;
  std::int32_t activeColumn = 0;
  if (HoldsUnlessFailed([&] { return App().GetWorksheetFunction()->CountA(*App().Cells()) > 0; })) {
    // Every option a search takes from the user's last Find dialog is given:
    // searching the comments, or whole cells only, would find another row.
    namespace xl = platform::host;
    const xl::SearchOptions options{xl::kXlFormulas, xl::kXlPart, false};
    SkipOnFailure(
        [&] { lastRow = platform::Required(App().Cells()->Find("*", xl::kXlByRows, xl::kXlPrevious, options)).Row(); });
  }
  SkipOnFailure([&] { activeAddress = App().ActiveWindow()->ActiveCell()->Address(); });
  SkipOnFailure([&] { activeColumn = App().GetRange(activeAddress)->Column(); });
  SkipOnFailure([&] { App().Cells()->Item(lastRow + 1, activeColumn)->Select(); });
}

}  // namespace rowtint::addin
