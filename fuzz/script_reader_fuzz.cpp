// Script lines, whatever they hold, fed one by one to a fresh simulator
// session: a line it cannot read is reported as a ScriptError and the next
// one is read; nothing else may come out, and nothing may crash or hang.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz_checks.h"
#include "sim_session.h"

namespace {

// A snapshot's name is a file name in the session's folder: a path would let
// the fuzzer write pictures anywhere on the machine.
bool NamesAPath(const std::string& line) {
  std::istringstream words(line.substr(0, line.find('#')));
  std::string command, name;
  words >> command >> name;
  return command == "snapshot" && name.find_first_of("/\\") != std::string::npos;
}

// One folder for the whole run, given back when the run ends; its name is
// never destroyed, so that the clean-up at exit can still read it.
const std::string& SessionFolder() {
  static const std::string* const folder = [] {
    auto* made = new std::string((std::filesystem::temp_directory_path() / "rowtint-fuzz-XXXXXX").string());
    if (!mkdtemp(made->data())) std::abort();
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(SessionFolder(), ignored);
    });
    return made;
  }();
  return *folder;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  rowtint::simcli::SimSession session(SessionFolder());
  std::ostringstream out;
  std::istringstream lines(script);
  for (std::string line; std::getline(lines, line);) {
    if (NamesAPath(line)) continue;
    try {
      session.RunLine(line, out);
    } catch (const rowtint::simcli::ScriptError&) {
      // Reported to the user, who goes on with the next line.
    } catch (const std::exception& e) {
      rowtint::fuzz::Fail((std::string("a line ended with an error that is not a script error: ") + e.what()).c_str(),
                          script);
    }
  }
  return 0;
}
