#include "addin/library_state.h"

#include "engine/highlight_state.h"
#include "forms/fm_about.h"
#include "forms/fm_option.h"

namespace rowtint::addin {

void ResetLibraryState() {
  forms::ReleaseFmOption();
  forms::ReleaseFmAbout();
  engine::ResetSharedState();
}

}  // namespace rowtint::addin
