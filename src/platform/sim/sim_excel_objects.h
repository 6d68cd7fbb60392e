// The automation objects of the simulated host (Application, Window, Range, ...).
#pragma once

#include <memory>

#include "platform/host.h"

namespace rowtint::sim {

class SimHost;

std::shared_ptr<platform::host::Application> MakeApplication(const std::shared_ptr<SimHost>& host);

}  // namespace rowtint::sim
