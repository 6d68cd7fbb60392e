// The automation objects of the simulated host (Application, Window, Range, ...).
#pragma once

#include <memory>

#include "platform/host.h"
#include "platform/sim/sheet_model.h"

namespace rowtint::sim {

class ExcelModel;

std::shared_ptr<platform::host::Application> MakeApplication(const std::shared_ptr<ExcelModel>& host);
// A range the host itself hands out (an event's target), made without a call into the host.
std::shared_ptr<platform::host::Range> MakeRange(const std::shared_ptr<ExcelModel>& host, const Area& area);

}  // namespace rowtint::sim
