// The host's events into the add-in: arguments decoded from the end,
// counts and types checked before any handler runs, by-reference flags
// written back, connections that unadvise and sinks that ignore late calls.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "support/fake_host_test.h"
#include "fake_office.h"
#include "platform/win32/command_bar_adapters.h"
#include "platform/win32/excel_adapters.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::win32::fakes {
namespace {
namespace host = platform::host;

class EventSinks : public FakeHostTest {};

// Writes down each event with what it could read of its arguments.
class RecordingAppEvents : public host::AppEvents {
 public:
  std::vector<std::string> log;
  platform::VbBool cancelSeen = 0;
  platform::VbBool cancelToSet = 0;

  void SheetActivate(const std::shared_ptr<host::Object>& sh) override { log.push_back("SheetActivate " + Name(sh)); }
  void SheetSelectionChange(const std::shared_ptr<host::Object>& sh,
                            const std::shared_ptr<host::Range>& target) override {
    log.push_back("SheetSelectionChange " + Name(sh) + " " + (target ? target->Address() : "Nothing"));
  }
  void WindowResize(const std::shared_ptr<host::Object>& wb, const std::shared_ptr<host::Object>& wn) override {
    log.push_back("WindowResize " + Name(wb) + " " + Name(wn));
  }
  void WorkbookActivate(const std::shared_ptr<host::Object>& wb) override {
    log.push_back("WorkbookActivate " + Name(wb));
  }
  void WorkbookBeforePrint(const std::shared_ptr<host::Object>& wb, platform::VbBool& cancel) override {
    log.push_back("WorkbookBeforePrint " + Name(wb));
    cancelSeen = cancel;
    cancel = cancelToSet;
  }
  void WorkbookAddinUninstall(const std::shared_ptr<host::Object>& wb) override {
    log.push_back("WorkbookAddinUninstall " + Name(wb));
  }

 private:
  static std::string Name(const std::shared_ptr<host::Object>& o) { return o ? o->TypeName() : "Nothing"; }
};

class RecordingClicks : public platform::ButtonEvents {
 public:
  std::vector<std::string> captions;
  std::function<void(platform::VbBool&)> then = [](platform::VbBool&) {};
  void Click(const std::shared_ptr<platform::CommandBarButton>& ctrl, platform::VbBool& cancelDefault) override {
    captions.push_back(ctrl ? ctrl->Caption() : "Nothing");
    then(cancelDefault);
  }
};

// Invokes a sink the way a host does, with DISPPARAMS laid out by hand.
HRESULT Deliver(const ComPtr<IDispatch>& sink, DISPID event, std::vector<VARIANT> lastFirst, UINT* argError = nullptr) {
  DISPPARAMS params{lastFirst.empty() ? nullptr : lastFirst.data(), nullptr, static_cast<UINT>(lastFirst.size()), 0};
  return sink->Invoke(event, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, argError);
}

VARIANT ObjectArg(FakeDispatch* object) {
  VARIANT v;
  V_VT(&v) = VT_DISPATCH;
  V_DISPATCH(&v) = object;
  return v;
}

VARIANT BoolRefArg(VARIANT_BOOL* flag) {
  VARIANT v;
  V_VT(&v) = VT_BOOL | VT_BYREF;
  V_BOOLREF(&v) = flag;
  return v;
}

TEST_F(EventSinks, ApplicationEventsReachTheirHandlersWithTheArgumentsInDeclaredOrder) {
  auto fakeApp = FakeApplication();
  auto sheet = FakeDispatch::Create("_Worksheet"), book = FakeDispatch::Create("_Workbook");
  auto window = FakeWindow();
  auto target = FakeRange("$C$5");
  RecordingAppEvents events;
  auto app = ApplicationFromDispatch(fakeApp.Get());
  auto connection = app->AdviseEvents(events);
  EXPECT_EQ(fakeApp->Advises(kIidAppEvents), 1);

  auto fire = [&](DISPID event, std::vector<FakeDispatch*> args) {
    std::vector<Variant> values;
    for (auto* a : args) values.push_back(Variant::Object(a));
    return fakeApp->Fire(kIidAppEvents, event, values);
  };
  EXPECT_EQ(fire(excel::kSheetSelectionChange, {sheet.Get(), target.Get()}), S_OK);
  EXPECT_EQ(fire(excel::kWindowResize, {book.Get(), window.Get()}), S_OK);
  EXPECT_EQ(fire(excel::kSheetActivate, {sheet.Get()}), S_OK);
  EXPECT_EQ(fire(excel::kWorkbookActivate, {book.Get()}), S_OK);
  EXPECT_EQ(fire(excel::kWorkbookAddinUninstall, {nullptr}), S_OK);
  EXPECT_EQ(fire(0x61A, {sheet.Get()}), S_OK) << "an event the add-in does not handle";
  EXPECT_EQ(events.log, (std::vector<std::string>{"SheetSelectionChange Worksheet $C$5", "WindowResize Workbook Window",
                                                  "SheetActivate Worksheet", "WorkbookActivate Workbook",
                                                  "WorkbookAddinUninstall Nothing"}));
}

TEST_F(EventSinks, AWrongCountOrTypeIsRefusedBeforeAnyHandlerRunsAndCancelIsWrittenBack) {
  auto fakeApp = FakeApplication();
  auto sheet = FakeDispatch::Create("_Worksheet");
  RecordingAppEvents events;
  auto connection = ApplicationFromDispatch(fakeApp.Get())->AdviseEvents(events);
  auto sink = fakeApp->Sinks(kIidAppEvents).at(0);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT notAnObject, cancelByValue;
  V_VT(&notAnObject) = VT_I4;
  V_I4(&notAnObject) = 1;
  V_VT(&cancelByValue) = VT_BOOL;
  V_BOOL(&cancelByValue) = VARIANT_TRUE;
  const VARIANT object = ObjectArg(sheet.Get()), cancelRef = BoolRefArg(&cancel);
  struct Case {
    DISPID event;
    std::vector<VARIANT> lastFirst;
    HRESULT result;
    UINT argError;  // 99: not set
  } cases[] = {
      {excel::kSheetSelectionChange, {object}, DISP_E_BADPARAMCOUNT, 99},
      {excel::kSheetActivate, {}, DISP_E_BADPARAMCOUNT, 99},
      {excel::kWorkbookBeforePrint, {cancelRef, object, object}, DISP_E_BADPARAMCOUNT, 99},
      {excel::kWorkbookBeforePrint, {cancelByValue, object}, DISP_E_TYPEMISMATCH, 0},
      {excel::kWindowResize, {object, notAnObject}, DISP_E_TYPEMISMATCH, 1},
  };
  for (const auto& c : cases) {
    UINT argError = 99;
    EXPECT_EQ(Deliver(sink, c.event, c.lastFirst, &argError), c.result) << c.event;
    EXPECT_EQ(argError, c.argError) << c.event;
  }
  EXPECT_TRUE(events.log.empty());

  // Cancel is last declared, so first in rgvarg: read and written through its reference.
  for (const platform::VbBool set : {platform::kTrue, platform::kFalse}) {
    const VARIANT_BOOL before = cancel;
    events.cancelToSet = set;
    EXPECT_EQ(Deliver(sink, excel::kWorkbookBeforePrint, {cancelRef, object}), S_OK);
    EXPECT_EQ(events.cancelSeen, before == VARIANT_TRUE ? platform::kTrue : platform::kFalse);
    EXPECT_EQ(cancel, set == platform::kTrue ? VARIANT_TRUE : VARIANT_FALSE);
  }
  EXPECT_EQ(events.log.size(), 2u);
}

TEST_F(EventSinks, EndingTheConnectionUnadvisesAndALateCallIsIgnored) {
  auto fakeApp = FakeApplication();
  auto sheet = FakeDispatch::Create("_Worksheet");
  RecordingAppEvents events;
  auto connection = ApplicationFromDispatch(fakeApp.Get())->AdviseEvents(events);
  ComPtr<IDispatch> late = fakeApp->Sinks(kIidAppEvents).at(0);
  const long sinksAlive = Held(Lifetime::ComObject);

  connection.reset();
  EXPECT_EQ(fakeApp->Unadvises(kIidAppEvents), 1);
  EXPECT_TRUE(fakeApp->Sinks(kIidAppEvents).empty());
  EXPECT_EQ(Deliver(late, excel::kSheetActivate, {ObjectArg(sheet.Get())}), S_OK);
  EXPECT_TRUE(events.log.empty());
  EXPECT_EQ(Held(Lifetime::ComObject), sinksAlive) << "only the late caller holds the sink now";
  late.Reset();
  EXPECT_EQ(Held(Lifetime::ComObject), sinksAlive - 1);
}

// A click: its button delivered, CancelDefault written back, a count
// refused, a handler's failure kept inside Invoke, and a handler that ends
// its own connection.
TEST_F(EventSinks, AClickReachesItsHandlerWhateverTheHandlerDoes) {
  auto button = FakeButton("Switch");
  RecordingClicks clicks;
  auto connection = ButtonFromDispatch(button.Get(), nullptr)->AdviseClick(clicks);
  EXPECT_EQ(button->Advises(kIidCommandBarButtonEvents), 1);
  EXPECT_EQ(Deliver(button->Sinks(kIidCommandBarButtonEvents).at(0), office::kClick, {ObjectArg(button.Get())}),
            DISP_E_BADPARAMCOUNT);
  EXPECT_TRUE(clicks.captions.empty());

  const std::pair<std::function<void(platform::VbBool&)>, HRESULT> handlers[] = {
      {[](platform::VbBool& cancel) { cancel = platform::kTrue; }, S_OK},
      {[](platform::VbBool&) { platform::Raise(1004, "Application-defined or object-defined error"); },
       static_cast<HRESULT>(0x800A03EC)},
      {[](platform::VbBool&) { throw std::runtime_error("not the host's"); }, E_UNEXPECTED},
      {[&](platform::VbBool& cancel) {
         connection.reset();
         cancel = platform::kTrue;
       },
       S_OK},
  };
  for (const auto& [then, result] : handlers) {
    VARIANT_BOOL cancelDefault = VARIANT_FALSE;
    clicks.then = then;
    std::vector<Variant> args;
    args.push_back(Variant::Object(button.Get()));
    args.push_back(Variant::BoolRef(&cancelDefault));
    EXPECT_EQ(button->Fire(kIidCommandBarButtonEvents, office::kClick, args), result);
    if (result == S_OK) {
      EXPECT_EQ(cancelDefault, VARIANT_TRUE);
    }
  }
  EXPECT_EQ(clicks.captions, std::vector<std::string>(4, "Switch"));
  EXPECT_EQ(button->Unadvises(kIidCommandBarButtonEvents), 1);
}

TEST_F(EventSinks, AnObjectThatRaisesNoSuchEventsCannotBeAdvised) {
  auto control = FakePopup("Rowtint");
  control->Implements(kIidCommandBarButton);  // a button by its interface, but with no Click to give
  RecordingClicks clicks;
  auto e = RaisedBy([&] { ButtonFromDispatch(control.Get(), nullptr)->AdviseClick(clicks); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 459);
}

}  // namespace
}  // namespace rowtint::win32::fakes
