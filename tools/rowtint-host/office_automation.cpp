// Office's command bars by name: the made-up DISPIDs of fake_office.h are
// found only through GetIDsOfNames, as the add-in looks them up.
#include "fake_office.h"
#include "host_automation.h"
#include "platform/sim/sim_command_bars.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::fakes::FakeDispatch;
namespace ids = win32::fakes::office_ids;
using platform::VbBool;

Variant Object(const ComPtr<FakeDispatch>& fake) { return Variant::Object(static_cast<IDispatch*>(fake.Get())); }

template <class T>
std::optional<T> Optional(const ReceivedCall& call, std::size_t position, T (*convert)(const Variant&, const char*)) {
  const Variant* v = Arg(call, position, static_cast<DISPID>(position));
  if (!v) return std::nullopt;
  return convert(*v, "argument");
}

VbBool AsBool(const Variant& v, const char* what) {
  return win32::ToBool(v, what) ? platform::kTrue : platform::kFalse;
}

Variant WrapControls(const std::shared_ptr<platform::CommandBarControls>& controls, const Deliver& deliver) {
  const std::vector<Row<platform::CommandBarControls>> table{
      {ids::kAdd,
       [deliver](platform::CommandBarControls& c, const ReceivedCall& call) {
         platform::ControlAddArgs args;
         args.type = Optional<std::int32_t>(call, 0, win32::ToLong);
         args.id = Optional<std::int32_t>(call, 1, win32::ToLong);
         args.parameter = Optional<std::string>(call, 2, win32::ToText);
         args.before = Optional<std::int32_t>(call, 3, win32::ToLong);
         args.temporary = Optional<VbBool>(call, 4, AsBool);
         return WrapControl(c.Add(args), deliver);
       }},
      {ids::kCount, [](platform::CommandBarControls& c, const ReceivedCall&) { return Variant::Long(c.Count()); }},
      {ids::kItem,
       [deliver](platform::CommandBarControls& c, const ReceivedCall& call) {
         const Variant* index = Arg(call, 0, 0);
         if (!index) platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
         if (index->Type() == VT_BSTR) return WrapControl(c.Item(win32::ToText(*index, "Index")), deliver);
         return WrapControl(c.Item(static_cast<std::int16_t>(win32::ToLong(*index, "Index"))), deliver);
       }},
  };
  return Object(Bind(win32::fakes::FakeControls(), controls, table));
}

Variant WrapBar(const std::shared_ptr<platform::CommandBar>& bar, const Deliver& deliver) {
  const std::vector<Row<platform::CommandBar>> table{
      {ids::kName, [](platform::CommandBar& b, const ReceivedCall&) { return Variant::Text(b.Name()); }},
      {ids::kControls,
       [deliver](platform::CommandBar& b, const ReceivedCall&) { return WrapControls(b.Controls(), deliver); }},
      {ids::kProtection,
       [](platform::CommandBar& b, const ReceivedCall& call) {
         b.SetProtection(win32::ToLong(PutValue(call), "Protection"));
         return Variant();
       }},
      {ids::kVisible,
       [](platform::CommandBar& b, const ReceivedCall& call) {
         b.SetVisible(AsBool(PutValue(call), "Visible"));
         return Variant();
       }},
      {ids::kDelete,
       [](platform::CommandBar& b, const ReceivedCall&) {
         b.Delete();
         return Variant();
       }},
  };
  return Object(Bind(win32::fakes::FakeCommandBar(""), bar, table));
}

// A text, Boolean or whole-number property of a control or button, read or written.
template <class T, class V, class Set>
Row<platform::CommandBarControl> Property(DISPID id, std::shared_ptr<T> target, V (T::*get)(), Set set,
                                          Variant (*make)(V), V (*convert)(const Variant&, const char*)) {
  return {id, [=](platform::CommandBarControl&, const ReceivedCall& call) {
            if (!IsPut(call)) return make(((*target).*get)());
            ((*target).*set)(convert(PutValue(call), "property"));
            return Variant();
          }};
}

Variant Text(std::string text) { return Variant::Text(text); }
Variant Bool(VbBool value) { return Variant::Bool(value); }
Variant Long(std::int32_t value) { return Variant::Long(value); }

// The add-in's sink, advised on a button, as the model's Click sink.
class ClickToSink final : public platform::ButtonEvents {
 public:
  ClickToSink(ComPtr<IDispatch> sink, Deliver deliver) : sink_(std::move(sink)), deliver_(std::move(deliver)) {}
  void Click(const std::shared_ptr<platform::CommandBarButton>& ctrl, VbBool& cancelDefault) override {
    VARIANT_BOOL byRef = cancelDefault ? VARIANT_TRUE : VARIANT_FALSE;
    std::vector<Variant> args;
    args.push_back(WrapControl(ctrl, deliver_));
    args.push_back(Variant::BoolRef(&byRef));
    RaiseInto(deliver_, sink_.Get(), "Click", win32::office::kClick, args);
    cancelDefault = byRef ? platform::kTrue : platform::kFalse;
  }

 private:
  ComPtr<IDispatch> sink_;
  Deliver deliver_;
};

struct AdvisedClick {
  std::unique_ptr<ClickToSink> sink;
  std::unique_ptr<platform::host::EventConnection> connection;
};
}  // namespace

Variant WrapControl(const std::shared_ptr<platform::CommandBarControl>& control, const Deliver& deliver) {
  using Control = platform::CommandBarControl;
  using Button = platform::CommandBarButton;
  std::vector<Row<Control>> table{
      Property(ids::kCaption, control, &Control::Caption, &Control::SetCaption, Text, win32::ToText),
      Property(ids::kTooltipText, control, &Control::TooltipText, &Control::SetTooltipText, Text, win32::ToText),
      Property(ids::kBeginGroup, control, &Control::BeginGroup, &Control::SetBeginGroup, Bool, AsBool),
      Property(ids::kEnabled, control, &Control::Enabled, &Control::SetEnabled, Bool, AsBool),
      Property(ids::kTag, control, &Control::Tag, &Control::SetTag, Text, win32::ToText),
      {ids::kDelete,
       [](Control& c, const ReceivedCall&) {
         c.Delete();
         return Variant();
       }},
  };
  const auto button = sim::CommandBarStore::ButtonOf(control);
  if (button) {
    table.push_back(Property(ids::kStyle, button, &Button::Style, &Button::SetStyle, Long, win32::ToLong));
    table.push_back(Property(ids::kFaceId, button, &Button::FaceId, &Button::SetFaceId, Long, win32::ToLong));
  } else {
    table.push_back(
        {ids::kPopupBar, [deliver](Control& c, const ReceivedCall&) { return WrapBar(c.PopupBar(), deliver); }});
  }
  auto fake = Bind(button ? win32::fakes::FakeButton() : win32::fakes::FakePopup(), control, table);
  if (button)
    fake->OnAdvise(win32::kIidCommandBarButtonEvents, [button, deliver](const ComPtr<IDispatch>& sink) {
      auto advised = std::make_shared<AdvisedClick>();
      advised->sink = std::make_unique<ClickToSink>(sink, deliver);
      advised->connection = button->AdviseClick(*advised->sink);
      return std::static_pointer_cast<void>(advised);
    });
  return Object(fake);
}

Variant WrapCommandBars(const std::shared_ptr<platform::CommandBars>& bars, Deliver deliver) {
  const std::vector<Row<platform::CommandBars>> table{
      {ids::kAdd,
       [deliver](platform::CommandBars& b, const ReceivedCall& call) {
         platform::BarAddArgs args;
         args.name = Optional<std::string>(call, 0, win32::ToText);
         args.position = Optional<std::int32_t>(call, 1, win32::ToLong);
         args.menuBar = Optional<VbBool>(call, 2, AsBool);
         args.temporary = Optional<VbBool>(call, 3, AsBool);
         return WrapBar(b.Add(args), deliver);
       }},
      {ids::kItem,
       [deliver](platform::CommandBars& b, const ReceivedCall& call) {
         const Variant* index = Arg(call, 0, 0);
         if (!index) platform::Raise(platform::err::kInvalidCall, "Invalid procedure call or argument");
         return WrapBar(b.Item(win32::ToText(*index, "Index")), deliver);
       }},
      {ids::kActiveMenuBar,
       [deliver](platform::CommandBars& b, const ReceivedCall&) { return WrapBar(b.ActiveMenuBar(), deliver); }},
      {ids::kFindControls,
       [deliver](platform::CommandBars& b, const ReceivedCall& call) {
         const Variant* tag = Arg(call, 2, 2);
         const auto found = b.FindControls(tag ? win32::ToText(*tag, "Tag") : "");
         return found ? WrapControls(found, deliver) : Variant::Object(nullptr);
       }},
      {DISPID_NEWENUM,
       [deliver](platform::CommandBars& b, const ReceivedCall&) {
         std::vector<Variant> items;
         for (const auto& bar : b.Enumerate()) items.push_back(WrapBar(bar, deliver));
         Variant result;
         EXCEPINFO none{};
         win32::fakes::Enumerates(std::move(items))({}, result, none);
         return result;
       }},
  };
  return Object(Bind(win32::fakes::FakeCommandBars(), bars, table));
}

}  // namespace rowtint::host
