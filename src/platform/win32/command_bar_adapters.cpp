#include "platform/win32/command_bar_adapters.h"

#include <ocidl.h>

#include "platform/error.h"
#include "platform/win32/event_sinks.h"
#include "platform/win32/excel_com_ids.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {
using platform::VbBool;

// Members inherited from CommandBarControl keep their DISPIDs in every
// derived interface (buttons, popups), so they are all asked of that one.
template <class Base>
class ControlMembers : public Base, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;

  std::string Caption() override { return ToText(Control().Get({"Caption"}), "Caption"); }
  void SetCaption(const std::string& caption) override { Control().Put({"Caption"}, Variant::Text(caption)); }
  VbBool BeginGroup() override { return ToBool(Control().Get({"BeginGroup"}), "BeginGroup"); }
  void SetBeginGroup(VbBool value) override { Control().Put({"BeginGroup"}, Variant::Bool(value)); }
  std::string TooltipText() override { return ToText(Control().Get({"TooltipText"}), "TooltipText"); }
  void SetTooltipText(const std::string& text) override { Control().Put({"TooltipText"}, Variant::Text(text)); }
  VbBool Enabled() override { return ToBool(Control().Get({"Enabled"}), "Enabled"); }
  void SetEnabled(VbBool value) override { Control().Put({"Enabled"}, Variant::Bool(value)); }
  std::string Tag() override { return ToText(Control().Get({"Tag"}), "Tag"); }
  void SetTag(const std::string& tag) override { Control().Put({"Tag"}, Variant::Text(tag)); }
  void Delete() override { Control().Call({"Delete"}); }

  std::shared_ptr<platform::CommandBar> PopupBar() override;

  std::shared_ptr<platform::CommandBarButton> AsButton() override;

 protected:
  Dispatcher Control() const { return d_.Other(d_.ObjectRef(), kIidCommandBarControl); }
};

class OfficeControl final : public ControlMembers<platform::CommandBarControl> {
 public:
  using ControlMembers::ControlMembers;
};

class OfficeButton final : public ControlMembers<platform::CommandBarButton> {
 public:
  using ControlMembers::ControlMembers;
  std::int32_t Style() override { return ToLong(d_.Get({"Style"}), "Style"); }
  void SetStyle(std::int32_t style) override { d_.Put({"Style"}, Variant::Long(style)); }
  std::int32_t FaceId() override { return ToLong(d_.Get({"FaceId"}), "FaceId"); }
  void SetFaceId(std::int32_t faceId) override { d_.Put({"FaceId"}, Variant::Long(faceId)); }
  std::unique_ptr<platform::host::EventConnection> AdviseClick(platform::ButtonEvents& sink) override {
    return AdviseButtonClick(d_, sink);
  }
};

class OfficeControls final : public platform::CommandBarControls, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;

  std::shared_ptr<platform::CommandBarControl> Add(const platform::ControlAddArgs& args) override {
    std::vector<NamedArg> named;
    if (args.type) named.push_back({"Type", Variant::Long(*args.type)});
    if (args.id) named.push_back({"Id", Variant::Long(*args.id)});
    if (args.parameter) named.push_back({"Parameter", Variant::Text(*args.parameter)});
    if (args.before) named.push_back({"Before", Variant::Long(*args.before)});
    if (args.temporary) named.push_back({"Temporary", Variant::Bool(*args.temporary)});
    return ControlAt(d_.Call({"Add"}, {}, std::move(named)), "Add");
  }
  std::int32_t Count() override { return ToLong(d_.Get({"Count"}), "Count"); }
  std::shared_ptr<platform::CommandBarControl> Item(std::int16_t index) override {
    std::vector<Variant> args;
    args.push_back(Variant::Short(index));
    return ControlAt(d_.Get({"Item"}, std::move(args)), "Item");
  }
  std::shared_ptr<platform::CommandBarControl> Item(const std::string& caption) override {
    std::vector<Variant> args;
    args.push_back(Variant::Text(caption));
    return ControlAt(d_.Get({"Item"}, std::move(args)), "Item");
  }

 private:
  std::shared_ptr<platform::CommandBarControl> ControlAt(const Variant& result, const char* member) const {
    return std::make_shared<OfficeControl>(d_.Other(RequireObject(result, member), kIidCommandBarControl));
  }
};

class OfficeBar final : public platform::CommandBar, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;
  std::string Name() override { return ToText(d_.Get({"Name"}), "Name"); }
  std::shared_ptr<platform::CommandBarControls> Controls() override {
    return std::make_shared<OfficeControls>(
        d_.Other(RequireObject(d_.Get({"Controls"}), "Controls"), kIidCommandBarControls));
  }
  void SetProtection(std::int32_t protection) override { d_.Put({"Protection"}, Variant::Long(protection)); }
  void SetVisible(VbBool visible) override { d_.Put({"Visible"}, Variant::Bool(visible)); }
  void Delete() override { d_.Call({"Delete"}); }
};

std::shared_ptr<platform::CommandBar> BarOf(const Dispatcher& context, const Variant& result, const char* member) {
  return std::make_shared<OfficeBar>(context.Other(RequireObject(result, member), kIidCommandBar));
}

template <class Base>
std::shared_ptr<platform::CommandBar> ControlMembers<Base>::PopupBar() {
  ComPtr<IDispatch> popup = d_.Query(kIidCommandBarPopup);
  if (!popup) platform::Raise(platform::err::kNotSupported, "Object doesn't support this property or method");
  const Dispatcher p = d_.Other(std::move(popup), kIidCommandBarPopup);
  return BarOf(p, p.Get({"CommandBar"}), "CommandBar");
}

template <class Base>
std::shared_ptr<platform::CommandBarButton> ControlMembers<Base>::AsButton() {
  ComPtr<IDispatch> button = d_.Query(kIidCommandBarButton);
  if (!button) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
  return std::make_shared<OfficeButton>(d_.Other(std::move(button), kIidCommandBarButton));
}

class OfficeBars final : public platform::CommandBars, public DispatchBacked {
 public:
  using DispatchBacked::DispatchBacked;

  std::shared_ptr<platform::CommandBar> Add(const platform::BarAddArgs& args) override {
    std::vector<NamedArg> named;
    if (args.name) named.push_back({"Name", Variant::Text(*args.name)});
    if (args.position) named.push_back({"Position", Variant::Long(*args.position)});
    if (args.menuBar) named.push_back({"MenuBar", Variant::Bool(*args.menuBar)});
    if (args.temporary) named.push_back({"Temporary", Variant::Bool(*args.temporary)});
    return BarOf(d_, d_.Call({"Add"}, {}, std::move(named)), "Add");
  }
  std::shared_ptr<platform::CommandBar> Item(const std::string& name) override {
    std::vector<Variant> args;
    args.push_back(Variant::Text(name));
    return BarOf(d_, d_.Get({"Item"}, std::move(args)), "Item");
  }
  std::shared_ptr<platform::CommandBar> ActiveMenuBar() override {
    return BarOf(d_, d_.Get({"ActiveMenuBar"}), "ActiveMenuBar");
  }

  std::shared_ptr<platform::CommandBarControls> FindControls(const std::string& tag) override {
    std::vector<NamedArg> named;
    named.push_back({"Tag", Variant::Text(tag)});
    ComPtr<IDispatch> found = ToObject(d_.Call({"FindControls"}, {}, std::move(named)), "FindControls");
    if (!found) return nullptr;
    return std::make_shared<OfficeControls>(d_.Other(std::move(found), kIidCommandBarControls));
  }

  // For Each: the collection's _NewEnum, then IEnumVARIANT one item at a time.
  std::vector<std::shared_ptr<platform::CommandBar>> Enumerate() override {
    const Variant enumerator =
        d_.Invoke({"_NewEnum", DISPID_NEWENUM}, static_cast<Invocation>(DISPATCH_METHOD | DISPATCH_PROPERTYGET), {}, {},
                  kUserLocale);
    ComPtr<IEnumVARIANT> items;
    const VARIANT& raw = enumerator.Raw();
    IUnknown* unknown = V_VT(&raw) == VT_UNKNOWN    ? V_UNKNOWN(&raw)
                        : V_VT(&raw) == VT_DISPATCH ? static_cast<IUnknown*>(V_DISPATCH(&raw))
                                                    : nullptr;
    if (!unknown) platform::Raise(platform::err::kNotSupported, "Object doesn't support this property or method");
    const HRESULT hr = unknown->QueryInterface(IID_IEnumVARIANT, items.PutVoid());
    if (FAILED(hr)) RaiseFromHresult(hr, nullptr, "_NewEnum");

    std::vector<std::shared_ptr<platform::CommandBar>> bars;
    for (;;) {
      Variant item;
      ULONG fetched = 0;
      const HRESULT next = items->Next(1, item.Put(), &fetched);
      if (FAILED(next)) RaiseFromHresult(next, nullptr, "_NewEnum");
      if (next != S_OK || fetched == 0) break;
      bars.push_back(BarOf(d_, item, "_NewEnum"));
    }
    return bars;
  }
};

}  // namespace

std::shared_ptr<platform::CommandBars> CommandBarsFromDispatch(Dispatcher commandBars) {
  return std::make_shared<OfficeBars>(std::move(commandBars));
}

std::shared_ptr<platform::CommandBarButton> ButtonFromDispatch(IDispatch* button, std::shared_ptr<DispidCache> names) {
  if (!button) return nullptr;
  return std::make_shared<OfficeButton>(Dispatcher(ComPtr<IDispatch>(button), kIidCommandBarButton, std::move(names)));
}

}  // namespace rowtint::win32
