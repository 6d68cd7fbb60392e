#include "platform/sim/sim_command_bars.h"

#include <algorithm>

#include "platform/error.h"

namespace rowtint::sim {
namespace {
using platform::Raise;
namespace err = platform::err;

constexpr std::int32_t kAutomationFailed = -2147467259;  // E_FAIL as the host reports it

class SimControl;

std::shared_ptr<platform::CommandBar> WrapBar(std::shared_ptr<CommandBarStore> store, std::shared_ptr<BarNode> bar,
                                              std::uint64_t* calls);

class ClickConnection : public platform::host::EventConnection {
 public:
  ClickConnection(const std::shared_ptr<ControlNode>& node, platform::ButtonEvents* sink) : node_(node), sink_(sink) {}
  ~ClickConnection() override {
    if (auto n = node_.lock()) std::erase(n->clickSinks, sink_);
  }

 private:
  std::weak_ptr<ControlNode> node_;
  platform::ButtonEvents* sink_;
};

class SimControl : public platform::CommandBarButton, public std::enable_shared_from_this<SimControl> {
 public:
  SimControl(std::shared_ptr<CommandBarStore> store, std::shared_ptr<ControlNode> node, std::uint64_t* calls)
      : store_(std::move(store)), node_(std::move(node)), calls_(calls) {}

  std::string Caption() override { return Live().caption; }
  void SetCaption(const std::string& caption) override { Live().caption = caption; }
  platform::VbBool BeginGroup() override { return Live().beginGroup; }
  void SetBeginGroup(platform::VbBool value) override {
    Live().beginGroup = value ? platform::kTrue : platform::kFalse;
  }
  std::string TooltipText() override { return Live().tooltip; }
  void SetTooltipText(const std::string& text) override { Live().tooltip = text; }
  platform::VbBool Enabled() override { return Live().enabled; }
  void SetEnabled(platform::VbBool value) override { Live().enabled = value ? platform::kTrue : platform::kFalse; }
  std::string Tag() override { return Live().tag; }
  void SetTag(const std::string& tag) override { Live().tag = tag; }
  void Delete() override {
    Live().deleted = true;
    store_->Remove(node_);
  }
  std::shared_ptr<platform::CommandBar> PopupBar() override {
    if (!Live().popupBar) Raise(err::kNotSupported, "Object doesn't support this property or method");
    return WrapBar(store_, node_->popupBar, calls_);
  }
  std::shared_ptr<platform::CommandBarButton> AsButton() override {
    if (Live().type != platform::kMsoControlButton) Raise(err::kTypeMismatch, "Type mismatch");
    return shared_from_this();
  }
  std::int32_t Style() override { return ButtonOnly().style; }
  void SetStyle(std::int32_t style) override { ButtonOnly().style = style; }
  std::int32_t FaceId() override { return ButtonOnly().faceId; }
  void SetFaceId(std::int32_t faceId) override { ButtonOnly().faceId = faceId; }
  bool IsButton() const { return node_->type == platform::kMsoControlButton; }
  std::unique_ptr<platform::host::EventConnection> AdviseClick(platform::ButtonEvents& sink) override {
    ButtonOnly().clickSinks.push_back(&sink);
    return std::make_unique<ClickConnection>(node_, &sink);
  }

 private:
  ControlNode& Live() {
    store_->Called(calls_);
    if (node_->deleted) Raise(kAutomationFailed, "Automation error: the control has been deleted");
    return *node_;
  }
  ControlNode& ButtonOnly() {
    ControlNode& n = Live();
    if (n.type != platform::kMsoControlButton)
      Raise(err::kNotSupported, "Object doesn't support this property or method");
    return n;
  }

  std::shared_ptr<CommandBarStore> store_;
  std::shared_ptr<ControlNode> node_;
  std::uint64_t* calls_;
};

class SimControls : public platform::CommandBarControls {
 public:
  SimControls(std::shared_ptr<CommandBarStore> store, std::shared_ptr<BarNode> bar, std::uint64_t* calls)
      : store_(std::move(store)), bar_(std::move(bar)), calls_(calls) {}

  std::shared_ptr<platform::CommandBarControl> Add(const platform::ControlAddArgs& args) override {
    if (Live().refusesNewControls) Raise(kAutomationFailed, "Method 'Add' of object 'CommandBarControls' failed");
    const std::int32_t type = args.type.value_or(platform::kMsoControlButton);
    if (type != platform::kMsoControlButton && type != platform::kMsoControlPopup)
      Raise(err::kInvalidCall, "Invalid procedure call or argument");
    auto node = type == platform::kMsoControlPopup ? CommandBarStore::NewPopup("") : std::make_shared<ControlNode>();
    node->id = args.id.value_or(1);
    node->parameter = args.parameter.value_or("");
    node->temporary = args.temporary.value_or(platform::kFalse) != platform::kFalse;
    node->added = true;
    auto& list = bar_->controls;
    if (args.before) {
      if (*args.before < 1 || *args.before > static_cast<std::int32_t>(list.size()) + 1)
        Raise(err::kInvalidCall, "Invalid procedure call or argument");
      list.insert(list.begin() + (*args.before - 1), node);
    } else {
      list.push_back(node);
    }
    return std::make_shared<SimControl>(store_, node, calls_);
  }
  std::int32_t Count() override { return static_cast<std::int32_t>(Live().controls.size()); }
  std::shared_ptr<platform::CommandBarControl> Item(std::int16_t index) override {
    auto& list = Live().controls;
    if (index < 1 || index > static_cast<std::int32_t>(list.size()))
      Raise(err::kInvalidCall, "Invalid procedure call or argument");
    return std::make_shared<SimControl>(store_, list[index - 1], calls_);
  }
  std::shared_ptr<platform::CommandBarControl> Item(const std::string& caption) override {
    for (auto& c : Live().controls)
      if (c->caption == caption) return std::make_shared<SimControl>(store_, c, calls_);
    Raise(err::kInvalidCall, "Invalid procedure call or argument");
  }

 private:
  BarNode& Live() {
    store_->Called(calls_);
    if (bar_->deleted) Raise(kAutomationFailed, "Automation error: the command bar has been deleted");
    return *bar_;
  }
  std::shared_ptr<CommandBarStore> store_;
  std::shared_ptr<BarNode> bar_;
  std::uint64_t* calls_;
};

class SimBar : public platform::CommandBar {
 public:
  SimBar(std::shared_ptr<CommandBarStore> store, std::shared_ptr<BarNode> bar, std::uint64_t* calls)
      : store_(std::move(store)), bar_(std::move(bar)), calls_(calls) {}
  std::string Name() override { return Live().name; }
  std::shared_ptr<platform::CommandBarControls> Controls() override {
    Live();
    return std::make_shared<SimControls>(store_, bar_, calls_);
  }
  void SetProtection(std::int32_t protection) override { Live().protection = protection; }
  void SetVisible(platform::VbBool visible) override { Live().visible = visible != platform::kFalse; }
  void Delete() override {
    Live();
    store_->DeleteBar(bar_);
  }

 private:
  BarNode& Live() {
    store_->Called(calls_);
    if (bar_->deleted) Raise(kAutomationFailed, "Automation error: the command bar has been deleted");
    return *bar_;
  }
  std::shared_ptr<CommandBarStore> store_;
  std::shared_ptr<BarNode> bar_;
  std::uint64_t* calls_;
};

std::shared_ptr<platform::CommandBar> WrapBar(std::shared_ptr<CommandBarStore> store, std::shared_ptr<BarNode> bar,
                                              std::uint64_t* calls) {
  return std::make_shared<SimBar>(std::move(store), std::move(bar), calls);
}

class SimBars : public platform::CommandBars {
 public:
  SimBars(std::shared_ptr<CommandBarStore> store, std::uint64_t* calls) : store_(std::move(store)), calls_(calls) {}
  std::shared_ptr<platform::CommandBar> Add(const platform::BarAddArgs& args) override {
    store_->Called(calls_);
    if (store_->refusesNewBars) Raise(kAutomationFailed, "Method 'Add' of object 'CommandBars' failed");
    const std::string name = args.name.value_or("Custom " + std::to_string(store_->bars.size() + 1));
    if (store_->Find(name)) Raise(err::kInvalidCall, "Invalid procedure call or argument");
    auto bar = store_->AddBar(name, args.temporary.value_or(platform::kFalse) != platform::kFalse);
    bar->menuBar = args.menuBar.value_or(platform::kFalse) != platform::kFalse;
    return WrapBar(store_, bar, calls_);
  }
  std::shared_ptr<platform::CommandBar> Item(const std::string& name) override {
    store_->Called(calls_);
    auto bar = store_->Find(name);
    if (!bar) Raise(err::kInvalidCall, "Invalid procedure call or argument");
    return WrapBar(store_, bar, calls_);
  }
  std::vector<std::shared_ptr<platform::CommandBar>> Enumerate() override {
    store_->Called(calls_);
    std::vector<std::shared_ptr<platform::CommandBar>> all;
    for (auto& bar : store_->bars) all.push_back(WrapBar(store_, bar, calls_));
    return all;
  }
  std::shared_ptr<platform::CommandBarControls> FindControls(const std::string& tag) override {
    store_->Called(calls_);
    auto found = std::make_shared<BarNode>();
    for (const auto& c : store_->AllControls())
      if (!tag.empty() && c->tag == tag) found->controls.push_back(c);
    if (found->controls.empty()) return nullptr;
    // A collection of its own over the controls found, where they stand.
    return std::make_shared<SimControls>(store_, found, calls_);
  }
  std::shared_ptr<platform::CommandBar> ActiveMenuBar() override {
    store_->Called(calls_);
    if (!store_->activeMenuBar) Raise(kAutomationFailed, "Automation error: no menu bar");
    return WrapBar(store_, store_->activeMenuBar, calls_);
  }

 private:
  std::shared_ptr<CommandBarStore> store_;
  std::uint64_t* calls_;
};
}  // namespace

std::shared_ptr<platform::CommandBarButton> CommandBarStore::UncountedButton(const std::shared_ptr<ControlNode>& node) {
  static std::uint64_t ignored = 0;
  return std::make_shared<SimControl>(shared_from_this(), node, &ignored);
}

std::shared_ptr<platform::CommandBars> CommandBarStore::Automation(std::uint64_t* callCounter) {
  return std::make_shared<SimBars>(shared_from_this(), callCounter);
}

std::shared_ptr<platform::CommandBarButton> CommandBarStore::ButtonOf(
    const std::shared_ptr<platform::CommandBarControl>& control) {
  auto sim = std::dynamic_pointer_cast<SimControl>(control);
  return sim && sim->IsButton() ? sim : nullptr;
}

}  // namespace rowtint::sim
