// rowtint-sim: plays a script against the simulated host with the add-in
// connected, or runs the built-in demo that writes snapshots.
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "demo.h"
#include "sim_session.h"

namespace {
int Usage() {
  std::cerr << "usage: rowtint-sim run SCRIPT [--out DIR]   (snapshots and settings.txt go to DIR)\n"
               "       rowtint-sim demo [--out DIR]         (DIR is out/demo unless given)\n";
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string mode = argv[1];
  std::string script;
  std::optional<std::string> outDir;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--out" && i + 1 < argc)
      outDir = argv[++i];
    else if (mode == "run" && script.empty())
      script = arg;
    else
      return Usage();
  }
  try {
    if (mode == "demo") {
      rowtint::simcli::RunDemo(outDir.value_or("out/demo"), std::cout);
      return 0;
    }
    if (mode != "run" || script.empty()) return Usage();
    std::ifstream in(script);
    if (!in) {
      std::cerr << "rowtint-sim: cannot open " << script << "\n";
      return 2;
    }
    rowtint::simcli::SimSession session(outDir);
    session.RunScript(in, std::cout);
    return 0;
  } catch (const rowtint::simcli::ScriptError& e) {
    std::cerr << "rowtint-sim: " << script << ": " << e.what() << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "rowtint-sim: " << e.what() << "\n";
    return 1;
  }
}
