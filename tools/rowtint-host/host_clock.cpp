#include "host_clock.h"

#include <windows.h>

namespace rowtint::host {
namespace {
int g_depth = 0;
double g_enteredMs = 0;
double g_totalMs = 0;
}  // namespace

double NowMs() {
  static const double perMs = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / perMs;
}

InOwnProcedure::InOwnProcedure() {
  if (g_depth++ == 0) g_enteredMs = NowMs();
}

InOwnProcedure::~InOwnProcedure() {
  if (--g_depth == 0) g_totalMs += NowMs() - g_enteredMs;
}

double OwnProcedureMs() { return g_depth ? g_totalMs + NowMs() - g_enteredMs : g_totalMs; }

}  // namespace rowtint::host
