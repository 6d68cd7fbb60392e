// A form's one instance, as the host language keeps it: created, and its
// load step run, by the first use; gone when the form is unloaded.
#pragma once

#include <memory>

namespace rowtint::forms {

template <class Form>
class DefaultInstance {
 public:
  std::shared_ptr<Form> Get() {
    if (!instance_) {
      instance_ = std::make_shared<Form>();
      instance_->Form_Load();
    }
    return instance_;
  }
  std::shared_ptr<Form> IfLoaded() const { return instance_; }
  // The form unloaded itself (a later Get creates a new one).
  void Unloaded(const Form* form) {
    if (instance_.get() == form) instance_.reset();
  }
  void Release() { instance_.reset(); }

 private:
  std::shared_ptr<Form> instance_;
};

}  // namespace rowtint::forms
