#include "host_command_bars.h"

#include <algorithm>

#include "host_behaviours.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::fakes::FakeDispatch;
namespace ids = win32::fakes::office_ids;
namespace err = platform::err;
using platform::Raise;

constexpr std::int32_t kAutomationFailed = -2147467259;  // E_FAIL as Office reports it

Variant ObjectResult(const ComPtr<FakeDispatch>& object) {
  return Variant::Object(static_cast<IDispatch*>(object.Get()));
}

bool IsPut(const ReceivedCall& call) { return (call.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0; }

const Variant& PutValue(const ReceivedCall& call) {
  const Variant* value = call.Named(DISPID_PROPERTYPUT);
  if (!value) Raise(err::kInvalidCall, "Invalid procedure call or argument");
  return *value;
}

sim::BarNode& LiveBar(const std::shared_ptr<sim::BarNode>& bar) {
  if (bar->deleted) Raise(kAutomationFailed, "Automation error: the command bar has been deleted");
  return *bar;
}

sim::ControlNode& LiveControl(const std::shared_ptr<sim::ControlNode>& control) {
  if (control->deleted) Raise(kAutomationFailed, "Automation error: the control has been deleted");
  return *control;
}

sim::ControlNode& ButtonOnly(const std::shared_ptr<sim::ControlNode>& control) {
  sim::ControlNode& c = LiveControl(control);
  if (c.type != platform::kMsoControlButton)
    Raise(err::kNotSupported, "Object doesn't support this property or method");
  return c;
}

// A text property of a control, read and written through the node.
template <class Field>
Behaviour TextProperty(std::shared_ptr<sim::ControlNode> control, Field field) {
  return Member([control, field](const ReceivedCall& call) {
    sim::ControlNode& c = LiveControl(control);
    if (IsPut(call)) {
      c.*field = win32::ToText(PutValue(call), "property");
      return Variant();
    }
    return Variant::Text(c.*field);
  });
}

Behaviour BoolProperty(std::shared_ptr<sim::ControlNode> control, platform::VbBool sim::ControlNode::*field) {
  return Member([control, field](const ReceivedCall& call) {
    sim::ControlNode& c = LiveControl(control);
    if (IsPut(call)) {
      c.*field = win32::ToBool(PutValue(call), "property") ? platform::kTrue : platform::kFalse;
      return Variant();
    }
    return Variant::Bool(c.*field);
  });
}

Behaviour LongProperty(std::shared_ptr<sim::ControlNode> control, std::int32_t sim::ControlNode::*field) {
  return Member([control, field](const ReceivedCall& call) {
    sim::ControlNode& c = ButtonOnly(control);
    if (IsPut(call)) {
      c.*field = win32::ToLong(PutValue(call), "property");
      return Variant();
    }
    return Variant::Long(c.*field);
  });
}

std::shared_ptr<sim::ControlNode> NewControl(std::int32_t type) {
  auto c = std::make_shared<sim::ControlNode>();
  c->type = type;
  if (type == platform::kMsoControlPopup) c->popupBar = std::make_shared<sim::BarNode>();
  return c;
}
}  // namespace

HostCommandBars::HostCommandBars(std::shared_ptr<sim::CommandBarStore> store) : store_(std::move(store)) {}

ComPtr<IDispatch> HostCommandBars::Automation() {
  auto bars = win32::fakes::FakeCommandBars();
  bars->Unrecorded();
  bars->On(ids::kAdd, Member([this](const ReceivedCall& call) {
             if (store_->refusesNewBars) Raise(kAutomationFailed, "Method 'Add' of object 'CommandBars' failed");
             const Variant* name = Arg(call, 0, 0);
             const Variant* menuBar = Arg(call, 2, 2);
             const Variant* temporary = Arg(call, 3, 3);
             const std::string text =
                 name ? win32::ToText(*name, "Name") : "Custom " + std::to_string(store_->bars.size() + 1);
             if (store_->Find(text)) Raise(err::kInvalidCall, "Invalid procedure call or argument");
             auto bar = store_->AddBar(text, temporary && win32::ToBool(*temporary, "Temporary"));
             bar->menuBar = menuBar && win32::ToBool(*menuBar, "MenuBar");
             return ObjectResult(BarObject(bar));
           }));
  auto item = Member([this](const ReceivedCall& call) {
    const Variant* index = Arg(call, 0, 0);
    if (!index) Raise(err::kInvalidCall, "Invalid procedure call or argument");
    std::shared_ptr<sim::BarNode> bar;
    if (index->Type() == VT_BSTR) {
      bar = store_->Find(win32::ToText(*index, "Item"));
    } else {
      const std::int32_t i = win32::ToLong(*index, "Item");
      if (i >= 1 && i <= static_cast<std::int32_t>(store_->bars.size())) bar = store_->bars[i - 1];
    }
    if (!bar) Raise(err::kInvalidCall, "Invalid procedure call or argument");
    return ObjectResult(BarObject(bar));
  });
  bars->On(ids::kItem, item);
  bars->On(DISPID_VALUE, item);
  bars->On(ids::kActiveMenuBar, Member([this](const ReceivedCall&) {
             if (!store_->activeMenuBar) Raise(kAutomationFailed, "Automation error: no menu bar");
             return ObjectResult(BarObject(store_->activeMenuBar));
           }));
  bars->On(ids::kCount, Member([this](const ReceivedCall&) {
             return Variant::Long(static_cast<std::int32_t>(store_->bars.size()));
           }));
  bars->On(DISPID_NEWENUM, [this](const ReceivedCall& call, Variant& result, EXCEPINFO& info) {
    std::vector<Variant> items;
    for (const auto& bar : store_->bars) items.push_back(ObjectResult(BarObject(bar)));
    return win32::fakes::Enumerates(std::move(items))(call, result, info);
  });
  return win32::fakes::AsDispatch(bars);
}

ComPtr<FakeDispatch> HostCommandBars::BarObject(const std::shared_ptr<sim::BarNode>& bar) {
  auto object = win32::fakes::FakeCommandBar(bar->name);
  object->Unrecorded();
  object->On(ids::kName, Member([bar](const ReceivedCall&) { return Variant::Text(LiveBar(bar).name); }));
  object->On(ids::kControls, Member([this, bar](const ReceivedCall&) {
               LiveBar(bar);
               return ObjectResult(ControlsObject(bar));
             }));
  object->On(ids::kProtection, Member([bar](const ReceivedCall& call) {
               sim::BarNode& b = LiveBar(bar);
               if (!IsPut(call)) return Variant::Long(b.protection);
               b.protection = win32::ToLong(PutValue(call), "Protection");
               return Variant();
             }));
  object->On(ids::kVisible, Member([bar](const ReceivedCall& call) {
               sim::BarNode& b = LiveBar(bar);
               if (!IsPut(call)) return Variant::Bool(b.visible ? platform::kTrue : platform::kFalse);
               b.visible = win32::ToBool(PutValue(call), "Visible") != platform::kFalse;
               return Variant();
             }));
  object->On(ids::kDelete, Member([this, bar](const ReceivedCall&) {
               LiveBar(bar).deleted = true;
               for (const auto& c : bar->controls) Forget(c.get());
               std::erase(store_->bars, bar);
               return Variant();
             }));
  return object;
}

ComPtr<FakeDispatch> HostCommandBars::ControlsObject(const std::shared_ptr<sim::BarNode>& bar) {
  auto controls = win32::fakes::FakeControls();
  controls->Unrecorded();
  controls->On(ids::kAdd, Member([this, bar](const ReceivedCall& call) {
                 sim::BarNode& b = LiveBar(bar);
                 if (b.refusesNewControls)
                   Raise(kAutomationFailed, "Method 'Add' of object 'CommandBarControls' failed");
                 const Variant* type = Arg(call, 0, 0);
                 const Variant* parameter = Arg(call, 2, 2);
                 const Variant* before = Arg(call, 3, 3);
                 const Variant* temporary = Arg(call, 4, 4);
                 const std::int32_t kind = type ? win32::ToLong(*type, "Type") : platform::kMsoControlButton;
                 if (kind != platform::kMsoControlButton && kind != platform::kMsoControlPopup)
                   Raise(err::kInvalidCall, "Invalid procedure call or argument");
                 auto node = NewControl(kind);
                 if (parameter) node->parameter = win32::ToText(*parameter, "Parameter");
                 node->temporary = temporary && win32::ToBool(*temporary, "Temporary") != platform::kFalse;
                 if (before) {
                   const std::int32_t at = win32::ToLong(*before, "Before");
                   if (at < 1 || at > static_cast<std::int32_t>(b.controls.size()) + 1)
                     Raise(err::kInvalidCall, "Invalid procedure call or argument");
                   b.controls.insert(b.controls.begin() + (at - 1), node);
                 } else {
                   b.controls.push_back(node);
                 }
                 return ObjectResult(ControlObject(node));
               }));
  controls->On(ids::kCount, Member([bar](const ReceivedCall&) {
                 return Variant::Long(static_cast<std::int32_t>(LiveBar(bar).controls.size()));
               }));
  auto item = Member([this, bar](const ReceivedCall& call) {
    auto& list = LiveBar(bar).controls;
    const Variant* index = Arg(call, 0, 0);
    if (!index) Raise(err::kInvalidCall, "Invalid procedure call or argument");
    if (index->Type() == VT_BSTR) {
      const std::string caption = win32::ToText(*index, "Item");
      for (const auto& c : list)
        if (c->caption == caption) return ObjectResult(ControlObject(c));
      Raise(err::kInvalidCall, "Invalid procedure call or argument");
    }
    const std::int32_t i = win32::ToLong(*index, "Item");
    if (i < 1 || i > static_cast<std::int32_t>(list.size()))
      Raise(err::kInvalidCall, "Invalid procedure call or argument");
    return ObjectResult(ControlObject(list[i - 1]));
  });
  controls->On(ids::kItem, item);
  controls->On(DISPID_VALUE, item);
  return controls;
}

ComPtr<FakeDispatch> HostCommandBars::ControlObject(const std::shared_ptr<sim::ControlNode>& control) {
  if (auto cached = controls_.find(control.get()); cached != controls_.end()) return cached->second;
  const bool popup = control->type == platform::kMsoControlPopup;
  auto object = popup ? win32::fakes::FakePopup() : win32::fakes::FakeButton();
  object->Unrecorded();
  object->On(ids::kCaption, TextProperty(control, &sim::ControlNode::caption));
  object->On(ids::kTooltipText, TextProperty(control, &sim::ControlNode::tooltip));
  object->On(ids::kBeginGroup, BoolProperty(control, &sim::ControlNode::beginGroup));
  object->On(ids::kEnabled, BoolProperty(control, &sim::ControlNode::enabled));
  object->On(ids::kDelete, Member([this, control](const ReceivedCall&) {
               LiveControl(control).deleted = true;
               for (auto& bar : store_->bars) {
                 std::erase(bar->controls, control);
                 for (auto& c : bar->controls)
                   if (c->popupBar) std::erase(c->popupBar->controls, control);
               }
               if (control->popupBar)
                 for (const auto& c : control->popupBar->controls) Forget(c.get());
               Forget(control.get());
               return Variant();
             }));
  if (popup) {
    object->On(ids::kPopupBar, Member([this, control](const ReceivedCall&) {
                 LiveControl(control);
                 return ObjectResult(BarObject(control->popupBar));
               }));
  } else {
    object->On(ids::kStyle, LongProperty(control, &sim::ControlNode::style));
    object->On(ids::kFaceId, LongProperty(control, &sim::ControlNode::faceId));
  }
  controls_[control.get()] = object;
  return object;
}

void HostCommandBars::Forget(const sim::ControlNode* control) { controls_.erase(control); }

HRESULT HostCommandBars::Click(const std::shared_ptr<sim::ControlNode>& control) {
  auto object = ControlObject(control);
  VARIANT_BOOL cancelDefault = VARIANT_FALSE;
  std::vector<Variant> args;
  args.push_back(Variant::Object(static_cast<IDispatch*>(object.Get())));
  args.push_back(Variant::BoolRef(&cancelDefault));
  return object->Fire(win32::kIidCommandBarButtonEvents, win32::office::kClick, args);
}

int HostCommandBars::ClickSinks(const std::shared_ptr<sim::ControlNode>& control) {
  auto cached = controls_.find(control.get());
  if (cached == controls_.end()) return 0;
  return static_cast<int>(cached->second->Sinks(win32::kIidCommandBarButtonEvents).size());
}

void HostCommandBars::NewRun() {
  store_->DropTemporary();
  // A control that stays keeps its object, but no sink of the ended run.
  std::map<const sim::ControlNode*, ComPtr<FakeDispatch>> kept;
  for (const auto& bar : store_->bars)
    for (const auto& c : bar->controls)
      if (auto it = controls_.find(c.get()); it != controls_.end()) kept[c.get()] = it->second;
  controls_ = std::move(kept);
}

long HostCommandBars::OutstandingReferences() const {
  long held = 0;
  for (const auto& [node, object] : controls_) held += static_cast<long>(object->References()) - 1;
  return held;
}

}  // namespace rowtint::host
