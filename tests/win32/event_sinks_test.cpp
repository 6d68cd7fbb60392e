// The host's events into the add-in: arguments decoded from the end,
// counts and types checked before any handler runs, by-reference flags
// written back, connections that unadvise and sinks that ignore late calls.
#include <gtest/gtest.h>

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

TEST_F(EventSinks, TheCancelFlagIsReadAndWrittenThroughItsReference) {
  auto fakeApp = FakeApplication();
  auto book = FakeDispatch::Create("_Workbook");
  RecordingAppEvents events;
  auto connection = ApplicationFromDispatch(fakeApp.Get())->AdviseEvents(events);
  auto sink = fakeApp->Sinks(kIidAppEvents).at(0);

  // Cancel is last declared, so first in rgvarg.
  VARIANT_BOOL cancel = VARIANT_FALSE;
  events.cancelToSet = platform::kTrue;
  EXPECT_EQ(Deliver(sink, excel::kWorkbookBeforePrint, {BoolRefArg(&cancel), ObjectArg(book.Get())}), S_OK);
  EXPECT_EQ(events.cancelSeen, platform::kFalse);
  EXPECT_EQ(cancel, VARIANT_TRUE);

  events.cancelToSet = platform::kFalse;
  EXPECT_EQ(Deliver(sink, excel::kWorkbookBeforePrint, {BoolRefArg(&cancel), ObjectArg(book.Get())}), S_OK);
  EXPECT_EQ(events.cancelSeen, platform::kTrue);
  EXPECT_EQ(cancel, VARIANT_FALSE);
  EXPECT_EQ(events.log.size(), 2u);
}

TEST_F(EventSinks, AWrongCountOrTypeIsRefusedBeforeAnyHandlerRuns) {
  auto fakeApp = FakeApplication();
  auto sheet = FakeDispatch::Create("_Worksheet");
  RecordingAppEvents events;
  auto connection = ApplicationFromDispatch(fakeApp.Get())->AdviseEvents(events);
  auto sink = fakeApp->Sinks(kIidAppEvents).at(0);
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT notAnObject;
  V_VT(&notAnObject) = VT_I4;
  V_I4(&notAnObject) = 1;
  VARIANT cancelByValue;
  V_VT(&cancelByValue) = VT_BOOL;
  V_BOOL(&cancelByValue) = VARIANT_TRUE;

  EXPECT_EQ(Deliver(sink, excel::kSheetSelectionChange, {ObjectArg(sheet.Get())}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(Deliver(sink, excel::kSheetActivate, {}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(
      Deliver(sink, excel::kWorkbookBeforePrint, {BoolRefArg(&cancel), ObjectArg(sheet.Get()), ObjectArg(sheet.Get())}),
      DISP_E_BADPARAMCOUNT);
  UINT argError = 99;
  EXPECT_EQ(Deliver(sink, excel::kWorkbookBeforePrint, {cancelByValue, ObjectArg(sheet.Get())}, &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 0u);
  EXPECT_EQ(Deliver(sink, excel::kWindowResize, {ObjectArg(sheet.Get()), notAnObject}, &argError), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 1u);
  EXPECT_TRUE(events.log.empty());
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

TEST_F(EventSinks, AClickDeliversItsButtonAndWritesCancelDefaultBack) {
  auto fakeApp = FakeApplication();
  auto bars = FakeCommandBars();
  auto bar = FakeCommandBar("Rowtint");
  auto controls = FakeControls();
  auto button = FakeButton("Switch");
  fakeApp->On(excel::kCommandBars.id, ReturnsObject(bars));
  bars->On(office_ids::kItem, ReturnsObject(bar));
  bar->On(office_ids::kControls, ReturnsObject(controls));
  controls->On(office_ids::kItem, ReturnsObject(button));
  RecordingClicks clicks;
  auto connection = ApplicationFromDispatch(fakeApp.Get())
                        ->GetCommandBars()
                        ->Item("Rowtint")
                        ->Controls()
                        ->Item(std::int16_t{2})
                        ->AsButton()
                        ->AdviseClick(clicks);
  EXPECT_EQ(button->Advises(kIidCommandBarButtonEvents), 1);

  VARIANT_BOOL cancelDefault = VARIANT_FALSE;
  clicks.then = [](platform::VbBool& cancel) { cancel = platform::kTrue; };
  std::vector<Variant> args;
  args.push_back(Variant::Object(button.Get()));
  args.push_back(Variant::BoolRef(&cancelDefault));
  EXPECT_EQ(button->Fire(kIidCommandBarButtonEvents, office::kClick, args), S_OK);
  EXPECT_EQ(clicks.captions, (std::vector<std::string>{"Switch"}));
  EXPECT_EQ(cancelDefault, VARIANT_TRUE);

  auto sink = button->Sinks(kIidCommandBarButtonEvents).at(0);
  EXPECT_EQ(Deliver(sink, office::kClick, {ObjectArg(button.Get())}), DISP_E_BADPARAMCOUNT);
  EXPECT_EQ(clicks.captions.size(), 1u);
}

TEST_F(EventSinks, AHandlerMayEndItsOwnConnectionAndItsFailureStaysInsideInvoke) {
  auto button = FakeButton("FindLastrow");
  RecordingClicks clicks;
  auto connection = ButtonFromDispatch(button.Get(), nullptr)->AdviseClick(clicks);
  VARIANT_BOOL cancelDefault = VARIANT_FALSE;
  auto click = [&] {
    std::vector<Variant> args;
    args.push_back(Variant::Object(button.Get()));
    args.push_back(Variant::BoolRef(&cancelDefault));
    return button->Fire(kIidCommandBarButtonEvents, office::kClick, args);
  };

  clicks.then = [](platform::VbBool&) { platform::Raise(1004, "Application-defined or object-defined error"); };
  EXPECT_EQ(click(), static_cast<HRESULT>(0x800A03EC));
  clicks.then = [](platform::VbBool&) { throw std::runtime_error("not the host's"); };
  EXPECT_EQ(click(), E_UNEXPECTED);

  clicks.then = [&](platform::VbBool& cancel) {
    connection.reset();
    cancel = platform::kTrue;
  };
  EXPECT_EQ(click(), S_OK);
  EXPECT_EQ(cancelDefault, VARIANT_TRUE);
  EXPECT_EQ(button->Unadvises(kIidCommandBarButtonEvents), 1);
  EXPECT_EQ(clicks.captions.size(), 3u);
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
