// What the loaded library keeps from one connection to the next: the band
// (its owner, with what the user chose) and the two forms, over the services
// of the process it runs in. Whoever loads the add-in (the COM server in
// Excel, the simulator) makes one and lends it to each connection object.
#pragma once

#include "engine/band_choices.h"
#include "engine/highlighter.h"
#include "engine/services.h"
#include "forms/form_set.h"

namespace rowtint::addin {

class Library {
 public:
  explicit Library(const engine::Services& services) : services_(services), band_(services_), forms_(services_) {}
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  // What the user chose, kept until the library unloads; changed only through the band.
  const engine::BandChoices& Choices() const { return band_.Choices(); }
  engine::Highlighter& Band() { return band_; }
  const engine::Highlighter& Band() const { return band_; }
  const engine::Services& Services() const { return services_; }
  forms::FormSet& Forms() { return forms_; }

 private:
  engine::Services services_;
  // Declared before the forms: a form shown at the library's end still has its band.
  engine::Highlighter band_;
  forms::FormSet forms_;
};

}  // namespace rowtint::addin
