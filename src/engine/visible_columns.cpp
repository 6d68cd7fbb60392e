#include "engine/visible_columns.h"

#include <string>

#include "engine/address_text.h"
#include "engine/failure_styles.h"
#include "platform/error.h"

namespace rowtint::engine {

ActiveAndVisibleColumns ReadColumnsSkippingFailures(platform::host::Application* app) {
  auto App = [app]() -> platform::host::Application& { return platform::Required(app); };
  std::string topLeft, bottomRight, active;
  SkipOnFailure([&] {
    const auto halves = SplitRangeAddress(App().ActiveWindow()->VisibleRange()->Address());
    topLeft = halves.topLeft;
    bottomRight = halves.bottomRight;
  });
  SkipOnFailure([&] { active = App().ActiveWindow()->ActiveCell()->Address(); });

  ActiveAndVisibleColumns columns;
  SkipOnFailure([&] { columns.active = App().GetRange(active)->Column(); });
  SkipOnFailure([&] { columns.left = App().GetRange(topLeft)->Column(); });
  SkipOnFailure([&] { columns.right = App().GetRange(bottomRight)->Column(); });
  return columns;
}

}  // namespace rowtint::engine
