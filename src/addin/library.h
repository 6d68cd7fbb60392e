// What the loaded library keeps from one connection to the next: the shared
// highlight state and the two forms, over the services of the process it
// runs in. Whoever loads the add-in (the COM server in Excel, the simulator)
// makes one and hands it to each connection object.
#pragma once

#include "engine/highlight_state.h"
#include "engine/services.h"
#include "forms/form_set.h"

namespace rowtint::addin {

class Library {
 public:
  explicit Library(const engine::Services& services) : services_(services), forms_(services_) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  engine::HighlightState& State() { return state_; }
  const engine::Services& Services() const { return services_; }
  forms::FormSet& Forms() { return forms_; }

 private:
  engine::Services services_;
  engine::HighlightState state_;
  forms::FormSet forms_;
};

}  // namespace rowtint::addin
