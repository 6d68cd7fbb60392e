#include "fake_office.h"

#include "platform/win32/excel_com_ids.h"

namespace rowtint::win32::fakes {
namespace ids = office_ids;

namespace {
void DefineExcel(FakeDispatch& fake, const Member& member, std::vector<std::string> argNames = {}) {
  fake.Define(member.id, member.name, std::move(argNames));
}

void DefineControlMembers(FakeDispatch& fake, const std::string& caption) {
  fake.Implements(kIidCommandBarControl)
      .Property(ids::kCaption, "Caption", Variant::Text(caption))
      .Property(ids::kBeginGroup, "BeginGroup", Variant::Bool(platform::kFalse))
      .Property(ids::kTooltipText, "TooltipText", Variant::Text(""))
      .Property(ids::kEnabled, "Enabled", Variant::Bool(platform::kTrue))
      .Property(ids::kTag, "Tag", Variant::Text(""))
      .Define(ids::kDelete, "Delete", {"Temporary"});
}
}  // namespace

ComPtr<FakeDispatch> FakeApplication() {
  auto app = FakeDispatch::Create("_Application");
  app->Implements(kIidApplication).Sources(kIidAppEvents);
  for (const Member& m : {excel::kActiveWindow, excel::kActiveCell, excel::kSelection, excel::kVersion, excel::kCells,
                          excel::kWorksheetFunction, excel::kCommandBars})
    DefineExcel(*app.Get(), m);
  DefineExcel(*app.Get(), excel::kRange, {"Cell1", "Cell2"});
  app->Define(kHwndId, excel::kHwnd.name, {});
  app->Define(kBuildId, excel::kBuild.name, {});
  return app;
}

ComPtr<FakeDispatch> FakeWindow() {
  auto window = FakeDispatch::Create("Window");
  window->Implements(kIidWindow);
  for (const Member& m :
       {excel::kZoom, excel::kScrollRow, excel::kScrollColumn, excel::kVisibleRange, excel::kActiveCell,
        excel::kActivePane, excel::kPanes, excel::kFreezePanes, excel::kSplitRow, excel::kSplitColumn})
    DefineExcel(*window.Get(), m);
  window->Define(kRangeFromPointId, excel::kRangeFromPoint.name, {"x", "y"});
  return window;
}

ComPtr<FakeDispatch> FakePanes() {
  auto panes = FakeDispatch::Create("Panes");
  DefineExcel(*panes.Get(), excel::kCount);
  DefineExcel(*panes.Get(), excel::kItem, {"Index"});
  return panes;
}

ComPtr<FakeDispatch> FakePane() {
  auto pane = FakeDispatch::Create("Pane");
  for (const Member& m : {excel::kScrollRow, excel::kScrollColumn, excel::kVisibleRange}) DefineExcel(*pane.Get(), m);
  DefineExcel(*pane.Get(), excel::kPointsToScreenPixelsX, {"Points"});
  DefineExcel(*pane.Get(), excel::kPointsToScreenPixelsY, {"Points"});
  return pane;
}

ComPtr<FakeDispatch> FakeRange(const std::string& address) {
  auto range = FakeDispatch::Create("Range");
  range->Implements(kIidRange);
  for (const Member& m : {excel::kRow, excel::kColumn, excel::kHeight, excel::kWidth, excel::kLeft, excel::kTop,
                          excel::kRows, excel::kColumns, excel::kCount, excel::kSelect})
    DefineExcel(*range.Get(), m);
  DefineExcel(*range.Get(), excel::kAddress,
              {"RowAbsolute", "ColumnAbsolute", "ReferenceStyle", "External", "RelativeTo"});
  DefineExcel(*range.Get(), excel::kFind,
              {"What", "After", "LookIn", "LookAt", "SearchOrder", "SearchDirection", "MatchCase", "MatchByte",
               "SearchFormat"});
  DefineExcel(*range.Get(), excel::kItem, {"RowIndex", "ColumnIndex"});
  range->Define(kRowHeightId, excel::kRowHeight.name, {});
  range->Define(kColumnWidthId, excel::kColumnWidth.name, {});
  range->On(excel::kAddress.id, Returns(Variant::Text(address)));
  return range;
}

ComPtr<FakeDispatch> FakeWorksheetFunction() {
  auto function = FakeDispatch::Create("WorksheetFunction");
  function->Implements(kIidWorksheetFunction);
  DefineExcel(*function.Get(), excel::kCountA, {"Arg1", "Arg2", "Arg3"});
  return function;
}

ComPtr<FakeDispatch> FakeCommandBars() {
  auto bars = FakeDispatch::Create("_CommandBars");
  bars->Implements(kIidCommandBars)
      .Define(ids::kAdd, "Add", {"Name", "Position", "MenuBar", "Temporary"})
      .Define(ids::kItem, "Item", {"Index"})
      .Define(ids::kActiveMenuBar, "ActiveMenuBar")
      .Define(ids::kFindControls, "FindControls", {"Type", "Id", "Tag", "Visible", "Recursive"})
      .Define(ids::kCount, "Count")
      .Define(DISPID_NEWENUM, "_NewEnum");
  return bars;
}

ComPtr<FakeDispatch> FakeCommandBar(const std::string& name) {
  auto bar = FakeDispatch::Create("CommandBar");
  bar->Implements(kIidCommandBar)
      .Property(ids::kName, "Name", Variant::Text(name))
      .Property(ids::kProtection, "Protection", Variant::Long(0))
      .Property(ids::kVisible, "Visible", Variant::Bool(platform::kFalse))
      .Define(ids::kControls, "Controls")
      .Define(ids::kDelete, "Delete");
  return bar;
}

ComPtr<FakeDispatch> FakeControls() {
  auto controls = FakeDispatch::Create("CommandBarControls");
  controls->Implements(kIidCommandBarControls)
      .Define(ids::kAdd, "Add", {"Type", "Id", "Parameter", "Before", "Temporary"})
      .Define(ids::kItem, "Item", {"Index"})
      .Define(ids::kCount, "Count");
  return controls;
}

ComPtr<FakeDispatch> FakeButton(const std::string& caption) {
  auto button = FakeDispatch::Create("_CommandBarButton");
  DefineControlMembers(*button.Get(), caption);
  button->Implements(kIidCommandBarButton)
      .Property(ids::kStyle, "Style", Variant::Long(0))
      .Property(ids::kFaceId, "FaceId", Variant::Long(0))
      .Sources(kIidCommandBarButtonEvents);
  return button;
}

ComPtr<FakeDispatch> FakePopup(const std::string& caption) {
  auto popup = FakeDispatch::Create("CommandBarPopup");
  DefineControlMembers(*popup.Get(), caption);
  popup->Implements(kIidCommandBarPopup).Define(ids::kPopupBar, "CommandBar");
  return popup;
}

}  // namespace rowtint::win32::fakes
