// An event-bound reference: holds a counted reference to a host object and
// keeps a sink advised on it. Setting it to another object (or to nothing)
// disconnects the sink first.
#pragma once

#include <memory>

#include "platform/command_bars.h"
#include "platform/host.h"

namespace rowtint::addin {

inline std::unique_ptr<platform::host::EventConnection> AdviseOn(platform::host::Application& app,
                                                                 platform::host::AppEvents& sink) {
  return app.AdviseEvents(sink);
}

inline std::unique_ptr<platform::host::EventConnection> AdviseOn(platform::CommandBarButton& button,
                                                                 platform::ButtonEvents& sink) {
  return button.AdviseClick(sink);
}

template <class Source, class Sink>
class EventBound {
 public:
  explicit EventBound(Sink& sink) : sink_(sink) {}
  EventBound(const EventBound&) = delete;
  EventBound& operator=(const EventBound&) = delete;
  ~EventBound() { Reset(); }

  // Binds the object and advises the sink; when advising fails the reference stays empty.
  void Set(std::shared_ptr<Source> source) {
    Reset();
    if (!source) return;
    connection_ = AdviseOn(*source, sink_);
    source_ = std::move(source);
  }
  void Reset() {
    connection_.reset();
    source_.reset();
  }
  const std::shared_ptr<Source>& Get() const { return source_; }
  explicit operator bool() const { return static_cast<bool>(source_); }

 private:
  Sink& sink_;
  std::unique_ptr<platform::host::EventConnection> connection_;
  std::shared_ptr<Source> source_;
};

}  // namespace rowtint::addin
