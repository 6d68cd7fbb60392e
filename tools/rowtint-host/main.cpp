// rowtint-host: a stand-in Excel for Windows that plays `rowtint-sim`
// scripts against the real Rowtint.dll, created through COM by its
// programmatic identifier; or measures it (soak and latency figures).
#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "host_figures.h"
#include "host_session.h"

namespace {
int Usage() {
  std::cerr << "usage: rowtint-host run SCRIPT... [--out DIR]\n"
               "       rowtint-host figures [--selections N] [--cycles N] [--latency N] [--wheels N] [--repaints N] "
               "[--out DIR]\n";
  return 2;
}

// COM and OLE for the thread, for as long as the program runs.
// Plays one script with an empty store and a fresh host, as a run of its own
// would; 0 when every line was carried out.
int Play(const std::string& script, const std::string& outDir, std::ostream& out) {
  std::ifstream in(script);
  if (!in) {
    std::cerr << "rowtint-host: cannot open " << script << "\n";
    return 2;
  }
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  try {
    rowtint::host::HostSession session(outDir);
    session.RunScript(lines, out);
    session.Close();
    return 0;
  } catch (const rowtint::host::ScriptError& e) {
    std::cerr << "rowtint-host: " << script << ": " << e.what() << "\n";
    return 2;
  }
}

class OleThread {
 public:
  OleThread() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~OleThread() {
    if (ok_) OleUninitialize();
  }
  OleThread(const OleThread&) = delete;
  OleThread& operator=(const OleThread&) = delete;
  bool Ok() const { return ok_; }

 private:
  bool ok_;
};
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string mode = argv[1];
  std::vector<std::string> scripts;
  std::string outDir = ".";
  rowtint::host::FigureCounts counts;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    int* count = arg == "--selections" ? &counts.selections
                 : arg == "--cycles"   ? &counts.cycles
                 : arg == "--latency"  ? &counts.latencyEvents
                 : arg == "--wheels"   ? &counts.wheels
                 : arg == "--repaints" ? &counts.repaints
                                       : nullptr;
    if (arg == "--out" && i + 1 < argc)
      outDir = argv[++i];
    else if (mode == "figures" && count && i + 1 < argc)
      *count = std::max(0, std::atoi(argv[++i]));
    else if (mode == "run" && arg.rfind("--", 0) != 0)
      scripts.push_back(arg);
    else
      return Usage();
  }
  OleThread ole;
  if (!ole.Ok()) {
    std::cerr << "rowtint-host: OleInitialize failed\n";
    return 1;
  }
  try {
    if (mode == "figures") return rowtint::host::PrintFigures(outDir, counts, std::cout);
    if (mode != "run" || scripts.empty()) return Usage();
    if (scripts.size() == 1) return Play(scripts[0], outDir, std::cout);
    // Several scripts: each writes into a folder of its own, named after it,
    // and its output goes there too, after a line naming it on the standard output.
    int result = 0;
    for (const auto& script : scripts) {
      const auto name = std::filesystem::path(script).stem().string();
      const auto folder = (std::filesystem::path(outDir) / name).string();
      std::ostringstream out;
      const int rc = Play(script, folder, out);
      std::ofstream(std::filesystem::path(folder) / "output.txt") << out.str();
      std::cout << "== " << name << " " << rc << "\n" << out.str() << std::flush;
      result = std::max(result, rc);
    }
    return result;
  } catch (const std::exception& e) {
    std::cerr << "rowtint-host: " << e.what() << "\n";
    return 1;
  }
}
