// Delta debugging over the lines of a script: drops chunks of lines, then
// single lines, as long as what is left still fails, and stops at a script
// from which no single line can be dropped (or when its budget of runs is spent).
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rowtint::testing {

using Script = std::vector<std::string>;

inline Script ShrinkScript(Script script, const std::function<bool(const Script&)>& stillFails,
                           std::size_t maxRuns = 3000) {
  std::size_t runs = 0;
  std::size_t parts = 2;
  while (script.size() >= 2 && runs < maxRuns) {
    const std::size_t chunk = (script.size() + parts - 1) / parts;
    bool dropped = false;
    for (std::size_t start = 0; start < script.size() && runs < maxRuns; start += chunk) {
      Script rest(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(start));
      rest.insert(rest.end(), script.begin() + static_cast<std::ptrdiff_t>(std::min(start + chunk, script.size())),
                  script.end());
      ++runs;
      if (stillFails(rest)) {
        script = std::move(rest);
        parts = std::max<std::size_t>(parts - 1, 2);
        dropped = true;
        break;
      }
    }
    if (dropped) continue;
    if (parts >= script.size()) break;  // no single line can go
    parts = std::min(parts * 2, script.size());
  }
  return script;
}

}  // namespace rowtint::testing
