// Excel's objects by their DISPIDs; each member calls the model object's own.
#include "fake_office.h"
#include "host_automation.h"
#include "platform/sim/sim_excel_objects.h"
#include "platform/win32/excel_com_ids.h"

namespace rowtint::host {
namespace {
using win32::ComPtr;
using win32::fakes::FakeDispatch;
namespace excel = win32::excel;
namespace xl = platform::host;

Variant Object(const ComPtr<FakeDispatch>& fake) { return Variant::Object(static_cast<IDispatch*>(fake.Get())); }

std::int32_t LongArg(const ReceivedCall& call, std::size_t position, std::int32_t missing) {
  const Variant* v = Arg(call, position, static_cast<DISPID>(position));
  return v ? win32::ToLong(*v, "argument") : missing;
}

// Excel's answer for rows or columns of different sizes is Null.
Variant SizeOrNull(const std::optional<double>& size) {
  if (size) return Variant::Double(*size);
  Variant null;
  V_VT(null.Ptr()) = VT_NULL;
  return null;
}

Variant WrapRange(const std::shared_ptr<xl::Range>& range) {
  if (!range) return Variant::Object(nullptr);  // Nothing
  static const std::vector<Row<xl::Range>> table{
      {excel::kAddress.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Text(r.Address()); }},
      {excel::kRow.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Long(r.Row()); }},
      {excel::kColumn.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Long(r.Column()); }},
      {excel::kHeight.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Double(r.Height()); }},
      {excel::kWidth.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Double(r.Width()); }},
      {excel::kLeft.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Double(r.Left()); }},
      {excel::kTop.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Double(r.Top()); }},
      {win32::fakes::kRowHeightId, [](xl::Range& r, const ReceivedCall&) { return SizeOrNull(r.RowHeight()); }},
      {win32::fakes::kColumnWidthId, [](xl::Range& r, const ReceivedCall&) { return SizeOrNull(r.ColumnWidth()); }},
      {excel::kRows.id, [](xl::Range& r, const ReceivedCall&) { return WrapRange(r.Rows()); }},
      {excel::kColumns.id, [](xl::Range& r, const ReceivedCall&) { return WrapRange(r.Columns()); }},
      {excel::kCount.id, [](xl::Range& r, const ReceivedCall&) { return Variant::Long(r.Count()); }},
      {excel::kFind.id,
       [](xl::Range& r, const ReceivedCall& call) {
         const Variant* what = Arg(call, 0, 0);
         xl::SearchOptions options;
         if (const Variant* lookIn = Arg(call, 2, 2)) options.lookIn = win32::ToLong(*lookIn, "LookIn");
         if (const Variant* lookAt = Arg(call, 3, 3)) options.lookAt = win32::ToLong(*lookAt, "LookAt");
         if (const Variant* matchCase = Arg(call, 6, 6))
           options.matchCase = win32::ToBool(*matchCase, "MatchCase") != platform::kFalse;
         return WrapRange(
             r.Find(what ? win32::ToText(*what, "What") : "", LongArg(call, 4, 0), LongArg(call, 5, 0), options));
       }},
      {excel::kItem.id,
       [](xl::Range& r, const ReceivedCall& call) {
         return WrapRange(r.Item(LongArg(call, 0, 1), LongArg(call, 1, 1)));
       }},
      {excel::kSelect.id,
       [](xl::Range& r, const ReceivedCall&) {
         r.Select();
         return Variant::Bool(platform::kTrue);
       }},
  };
  auto fake = Bind(win32::fakes::FakeRange(), range, table);
  fake->Wraps(std::static_pointer_cast<xl::Object>(range));
  return Object(fake);
}

Variant WrapPane(const std::shared_ptr<xl::Pane>& pane) {
  static const std::vector<Row<xl::Pane>> table{
      {excel::kScrollRow.id, [](xl::Pane& p, const ReceivedCall&) { return Variant::Long(p.ScrollRow()); }},
      {excel::kScrollColumn.id, [](xl::Pane& p, const ReceivedCall&) { return Variant::Long(p.ScrollColumn()); }},
      {excel::kVisibleRange.id, [](xl::Pane& p, const ReceivedCall&) { return WrapRange(p.VisibleRange()); }},
      {excel::kPointsToScreenPixelsX.id,
       [](xl::Pane& p, const ReceivedCall& call) {
         return Variant::Long(p.PointsToScreenPixelsX(LongArg(call, 0, 0)));
       }},
      {excel::kPointsToScreenPixelsY.id,
       [](xl::Pane& p, const ReceivedCall& call) {
         return Variant::Long(p.PointsToScreenPixelsY(LongArg(call, 0, 0)));
       }},
  };
  return Object(Bind(win32::fakes::FakePane(), pane, table));
}

// Window.Panes: a collection over the window's own panes.
Variant WrapPanes(const std::shared_ptr<xl::Window>& window) {
  static const std::vector<Row<xl::Window>> table{
      {excel::kCount.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Long(w.PaneCount()); }},
      {excel::kItem.id,
       [](xl::Window& w, const ReceivedCall& call) { return WrapPane(w.PaneAt(LongArg(call, 0, 1))); }},
  };
  return Object(Bind(win32::fakes::FakePanes(), window, table));
}

Variant WrapWindow(const std::shared_ptr<xl::Window>& window) {
  const std::vector<Row<xl::Window>> table{
      {excel::kActivePane.id, [](xl::Window& w, const ReceivedCall&) { return WrapPane(w.ActivePane()); }},
      {excel::kPanes.id, [window](xl::Window&, const ReceivedCall&) { return WrapPanes(window); }},
      {excel::kFreezePanes.id,
       [](xl::Window& w, const ReceivedCall&) {
         return Variant::Bool(w.FreezePanes() ? platform::kTrue : platform::kFalse);
       }},
      {excel::kSplitRow.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Long(w.SplitRow()); }},
      {excel::kSplitColumn.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Long(w.SplitColumn()); }},
      {excel::kZoom.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Double(w.Zoom()); }},
      {excel::kScrollRow.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Long(w.ScrollRow()); }},
      {excel::kScrollColumn.id, [](xl::Window& w, const ReceivedCall&) { return Variant::Long(w.ScrollColumn()); }},
      {excel::kVisibleRange.id, [](xl::Window& w, const ReceivedCall&) { return WrapRange(w.VisibleRange()); }},
      {excel::kActiveCell.id, [](xl::Window& w, const ReceivedCall&) { return WrapRange(w.ActiveCell()); }},
      {win32::fakes::kRangeFromPointId,
       [](xl::Window& w, const ReceivedCall& call) {
         return WrapRange(w.RangeFromPoint(LongArg(call, 0, 0), LongArg(call, 1, 0)));
       }},
  };
  auto fake = Bind(win32::fakes::FakeWindow(), window, table);
  // Only a version that has Window.Hwnd knows the name; before, it is DISP_E_UNKNOWNNAME.
  auto main = std::dynamic_pointer_cast<sim::WindowMainHandle>(window);
  if (main && main->HasMainHandle()) {
    fake->Define(win32::fakes::kWindowHwndId, excel::kHwnd.name, {});
    fake->On(win32::fakes::kWindowHwndId, Member([main](const ReceivedCall&) {
               const auto hwnd = main->MainHandle();
               return Variant::Long(static_cast<std::int32_t>(static_cast<std::uint32_t>(hwnd.value_or(0))));
             }));
  }
  return Object(fake);
}

Variant WrapWorksheetFunction(const std::shared_ptr<xl::WorksheetFunction>& function) {
  static const std::vector<Row<xl::WorksheetFunction>> table{
      {excel::kCountA.id,
       [](xl::WorksheetFunction& f, const ReceivedCall& call) {
         // The range comes back as the stand-in handed it out: the model's own object is behind it.
         const Variant* arg = Arg(call, 0, 0);
         ComPtr<FakeDispatch> fake;
         if (arg && arg->Type() == VT_DISPATCH) fake = FakeDispatch::From(V_DISPATCH(&arg->Raw()));
         auto range = fake ? std::dynamic_pointer_cast<xl::Range>(std::static_pointer_cast<xl::Object>(fake->Wrapped()))
                           : nullptr;
         if (!range) platform::Raise(platform::err::kTypeMismatch, "Type mismatch");
         return Variant::Double(f.CountA(*range));
       }},
  };
  return Object(Bind(win32::fakes::FakeWorksheetFunction(), function, table));
}

// The add-in's sink, advised on the Application, as the model's event sink.
class EventsToSink final : public xl::AppEvents {
 public:
  EventsToSink(ComPtr<IDispatch> sink, Deliver deliver) : sink_(std::move(sink)), deliver_(std::move(deliver)) {}
  void SheetActivate(const std::shared_ptr<xl::Object>& sh) override {
    Raise("SheetActivate", excel::kSheetActivate, {WrapObject(sh)});
  }
  void SheetSelectionChange(const std::shared_ptr<xl::Object>& sh, const std::shared_ptr<xl::Range>& target) override {
    Raise("SheetSelectionChange", excel::kSheetSelectionChange, {WrapObject(sh), WrapRange(target)});
  }
  void WindowResize(const std::shared_ptr<xl::Object>& wb, const std::shared_ptr<xl::Object>& wn) override {
    Raise("WindowResize", excel::kWindowResize, {WrapObject(wb), WrapObject(wn)});
  }
  void WorkbookActivate(const std::shared_ptr<xl::Object>& wb) override {
    Raise("WorkbookActivate", excel::kWorkbookActivate, {WrapObject(wb)});
  }
  void WorkbookBeforePrint(const std::shared_ptr<xl::Object>& wb, platform::VbBool& cancel) override {
    VARIANT_BOOL byRef = cancel ? VARIANT_TRUE : VARIANT_FALSE;
    Raise("WorkbookBeforePrint", excel::kWorkbookBeforePrint, {WrapObject(wb), Variant::BoolRef(&byRef)});
    cancel = byRef ? platform::kTrue : platform::kFalse;
  }
  void WorkbookAddinUninstall(const std::shared_ptr<xl::Object>& wb) override {
    Raise("WorkbookAddinUninstall", excel::kWorkbookAddinUninstall, {WrapObject(wb)});
  }

 private:
  void Raise(const char* what, DISPID event, std::vector<Variant> args) {
    RaiseInto(deliver_, sink_.Get(), what, event, args);
  }
  ComPtr<IDispatch> sink_;
  Deliver deliver_;
};

// An advised sink and its connection to the model's events, which ends first.
struct AdvisedEvents {
  std::unique_ptr<EventsToSink> sink;
  std::unique_ptr<xl::EventConnection> connection;
};
}  // namespace

Variant WrapObject(const std::shared_ptr<xl::Object>& object) {
  if (auto range = std::dynamic_pointer_cast<xl::Range>(object)) return WrapRange(range);
  if (!object) return Variant::Object(nullptr);
  auto fake = FakeDispatch::Create(object->TypeName());
  fake->Unrecorded().Wraps(object);
  return Object(fake);
}

ComPtr<FakeDispatch> WrapApplication(const std::shared_ptr<xl::Application>& app, Deliver deliver) {
  const std::vector<Row<xl::Application>> table{
      {excel::kActiveWindow.id, [](xl::Application& a, const ReceivedCall&) { return WrapWindow(a.ActiveWindow()); }},
      {excel::kActiveCell.id, [](xl::Application& a, const ReceivedCall&) { return WrapRange(a.ActiveCell()); }},
      {excel::kSelection.id, [](xl::Application& a, const ReceivedCall&) { return WrapObject(a.Selection()); }},
      {excel::kVersion.id, [](xl::Application& a, const ReceivedCall&) { return Variant::Text(a.Version()); }},
      {win32::fakes::kBuildId, [](xl::Application& a, const ReceivedCall&) { return Variant::Long(a.Build()); }},
      {win32::fakes::kHwndId,
       [](xl::Application& a, const ReceivedCall&) {
         return Variant::Long(static_cast<std::int32_t>(static_cast<std::uint32_t>(a.Hwnd())));
       }},
      {excel::kRange.id,
       [](xl::Application& a, const ReceivedCall& call) {
         const Variant* cell1 = Arg(call, 0, 0);
         return WrapRange(a.GetRange(cell1 ? win32::ToText(*cell1, "Cell1") : ""));
       }},
      {excel::kCells.id, [](xl::Application& a, const ReceivedCall&) { return WrapRange(a.Cells()); }},
      {excel::kWorksheetFunction.id,
       [](xl::Application& a, const ReceivedCall&) { return WrapWorksheetFunction(a.GetWorksheetFunction()); }},
      {excel::kCommandBars.id,
       [deliver](xl::Application& a, const ReceivedCall&) { return WrapCommandBars(a.GetCommandBars(), deliver); }},
  };
  auto fake = Bind(win32::fakes::FakeApplication(), app, table);
  fake->Wraps(std::static_pointer_cast<xl::Object>(app));
  fake->OnAdvise(win32::kIidAppEvents, [app, deliver](const ComPtr<IDispatch>& sink) {
    auto advised = std::make_shared<AdvisedEvents>();
    advised->sink = std::make_unique<EventsToSink>(sink, deliver);
    advised->connection = app->AdviseEvents(*advised->sink);
    return std::static_pointer_cast<void>(advised);
  });
  return fake;
}

}  // namespace rowtint::host
