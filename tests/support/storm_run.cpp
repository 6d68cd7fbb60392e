#include "storm_run.h"

#include <functional>
#include <sstream>
#include <typeinfo>

#include "storm_generator.h"

namespace rowtint::testing {
namespace {

StormResult Play(const std::function<std::optional<std::string>(simcli::SimSession&)>& next) {
  StormResult result;
  simcli::SimSession session;
  StormChecker checker(session);
  std::ostringstream out;
  while (auto line = next(session)) {
    result.script.push_back(*line);
    checker.Before();
    std::string escaped;
    try {
      session.RunLine(*line, out);
    } catch (const simcli::ScriptError&) {
      ++result.refused;
    } catch (const std::exception& e) {
      escaped = std::string(typeid(e).name()) + ": " + e.what();
    } catch (...) {
      escaped = "an exception of unknown type";
    }
    out.str("");
    if (session.Faults().Probability() > 0) ++result.underFaults;
    result.faultsInjected = session.Faults().Injected();
    if ((result.failure = checker.After(escaped))) break;
  }
  return result;
}
}  // namespace

StormResult RunStorm(std::uint64_t seed, std::size_t lines) {
  StormGenerator generator(seed);
  std::size_t played = 0;
  return Play([&](simcli::SimSession& session) -> std::optional<std::string> {
    if (played++ == lines) return std::nullopt;
    return generator.Next(session);
  });
}

StormResult Replay(const Script& script) {
  std::size_t next = 0;
  return Play([&](simcli::SimSession&) -> std::optional<std::string> {
    if (next == script.size()) return std::nullopt;
    return script[next++];
  });
}

Script ShortestFailing(const StormResult& failed) {
  const std::string invariant = failed.failure ? failed.failure->invariant : "";
  return ShrinkScript(failed.script, [&](const Script& candidate) {
    const auto result = Replay(candidate);
    return result.failure && result.failure->invariant == invariant;
  });
}

}  // namespace rowtint::testing
