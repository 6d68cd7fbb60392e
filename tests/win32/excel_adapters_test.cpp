// Excel's objects through the host interface: Nothing, type names, the
// _Application check, locales, host exceptions and the objects handed back.
#include <gtest/gtest.h>

#include "support/fake_host_test.h"
#include "fake_office.h"
#include "platform/win32/excel_adapters.h"
#include "platform/win32/excel_com_ids.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {

namespace host = platform::host;

class ExcelAdapters : public FakeHostTest {};

bool SameObject(IUnknown* a, IUnknown* b) {
  ComPtr<IUnknown> ia, ib;
  a->QueryInterface(IID_IUnknown, ia.PutVoid());
  b->QueryInterface(IID_IUnknown, ib.PutVoid());
  return ia.Get() == ib.Get();
}

TEST_F(ExcelAdapters, NothingFromTheHostIsObjectNotSet) {
  auto fakeApp = FakeApplication();
  auto window = FakeWindow();
  fakeApp->On(excel::kActiveCell.id, ReturnsEmpty());
  fakeApp->On(excel::kSelection.id, ReturnsNothing());
  fakeApp->On(excel::kActiveWindow.id, ReturnsEmpty());
  auto app = ApplicationFromDispatch(fakeApp.Get());

  for (auto* read : {+[](host::Application& a) { a.ActiveWindow(); }, +[](host::Application& a) { a.ActiveCell(); },
                     +[](host::Application& a) { a.Selection(); }}) {
    auto e = RaisedBy([&] { read(*app); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Number(), 91);
    EXPECT_EQ(e->Description(), "Object variable or With block variable not set");
  }

  // With a window but no workbook in it: its active cell is Nothing too.
  fakeApp->On(excel::kActiveWindow.id, ReturnsObject(window));
  window->On(excel::kActiveCell.id, ReturnsNothing());
  auto e = RaisedBy([&] { app->ActiveWindow()->ActiveCell(); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 91);
}

TEST_F(ExcelAdapters, FindReturnsNullptrForNothingAndTheCellItFound) {
  auto fakeApp = FakeApplication();
  auto cells = FakeRange("$1:$1048576");
  auto found = FakeRange("$Z$5");
  fakeApp->On(excel::kCells.id, ReturnsObject(cells));
  found->On(excel::kRow.id, Returns(Variant::Long(5)));
  auto app = ApplicationFromDispatch(fakeApp.Get());

  cells->On(excel::kFind.id, ReturnsNothing());
  EXPECT_EQ(app->Cells()->Find("*", host::kXlByRows, host::kXlPrevious, {}), nullptr);
  cells->On(excel::kFind.id, ReturnsEmpty());
  EXPECT_EQ(app->Cells()->Find("*", host::kXlByRows, host::kXlPrevious, {}), nullptr);

  cells->On(excel::kFind.id, ReturnsObject(found));
  auto cell = app->Cells()->Find("*", host::kXlByRows, host::kXlPrevious, {host::kXlFormulas, host::kXlPart, false});
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->Row(), 5);
  // The arguments given and no others, each by name, last first and beside
  // the DISPID the host gave for its name.
  const ReceivedCall call = cells->CallsTo(excel::kFind.id).back();
  EXPECT_EQ(call.flags, DISPATCH_METHOD);
  EXPECT_TRUE(call.args.empty());
  EXPECT_EQ(call.namedIds, (std::vector<DISPID>{5, 4, 6, 3, 2, 0}));
  EXPECT_EQ(Narrow(V_BSTR(&call.Named(0)->Raw())), "*");
  EXPECT_EQ(V_I4(&call.Named(2)->Raw()), host::kXlFormulas);
  EXPECT_EQ(V_I4(&call.Named(3)->Raw()), host::kXlPart);
  EXPECT_EQ(V_BOOL(&call.Named(6)->Raw()), VARIANT_FALSE);
  EXPECT_EQ(V_I4(&call.Named(4)->Raw()), host::kXlByRows);
  EXPECT_EQ(V_I4(&call.Named(5)->Raw()), host::kXlPrevious);
  EXPECT_EQ(cells->CallsTo(excel::kFind.id).front().namedIds, (std::vector<DISPID>{5, 4, 0})) << "none not given";
}

TEST_F(ExcelAdapters, VersionAndSelectionAreAskedInEnglish) {
  auto fakeApp = FakeApplication();
  auto cell = FakeRange("$C$5");
  fakeApp->On(excel::kVersion.id, Returns(Variant::Text("16.0")));
  fakeApp->On(excel::kSelection.id, ReturnsObject(cell));
  fakeApp->On(excel::kActiveCell.id, ReturnsObject(cell));
  auto app = ApplicationFromDispatch(fakeApp.Get());

  EXPECT_EQ(app->Version(), "16.0");
  app->Selection();
  app->ActiveCell();
  EXPECT_EQ(fakeApp->CallsTo(excel::kVersion.id).back().lcid, 1033u);
  EXPECT_EQ(fakeApp->CallsTo(excel::kSelection.id).back().lcid, 1033u);
  EXPECT_EQ(fakeApp->CallsTo(excel::kActiveCell.id).back().lcid, static_cast<LCID>(LOCALE_USER_DEFAULT));
}

TEST_F(ExcelAdapters, AnObjectWithoutExcelsApplicationIsATypeMismatchAndIsLeftAlone) {
  auto notExcel = FakeDispatch::Create("Application");
  notExcel->Define(excel::kVersion.id, "Version").On(excel::kVersion.id, Returns(Variant::Text("1.0")));
  auto e = RaisedBy([&] { ApplicationFromDispatch(notExcel.Get()); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 13);
  EXPECT_TRUE(notExcel->Calls().empty());
  EXPECT_EQ(notExcel->References(), 1u);
  EXPECT_EQ(ApplicationFromDispatch(nullptr), nullptr);
}

TEST_F(ExcelAdapters, AHostFailureReachesTheCoreAsTheRuntimesNumberWithItsDescription) {
  struct Case {
    Behaviour behaviour;
    std::int32_t number;
    const char* description;
  } cases[] = {
      {Raises(static_cast<HRESULT>(0x800A03EC), L"Unable to get the WorksheetFunction property"), 1004,
       "Unable to get the WorksheetFunction property"},
      {FailsWith(DISP_E_MEMBERNOTFOUND), 438, nullptr},
  };
  for (const auto& c : cases) {
    auto fakeApp = FakeApplication();
    fakeApp->On(excel::kWorksheetFunction.id, c.behaviour);
    auto app = ApplicationFromDispatch(fakeApp.Get());
    auto e = RaisedBy([&] { app->GetWorksheetFunction(); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Number(), c.number);
    if (c.description) {
      EXPECT_EQ(e->Description(), c.description);
    }
  }
}

TEST_F(ExcelAdapters, TheSelectionIsNamedByItsTypeInformationAndTakenAsARangeOnlyWhenItIsOne) {
  auto fakeApp = FakeApplication();
  auto cells = FakeRange("$B$2:$D$4");
  auto shape = FakeDispatch::Create("Rectangle");
  auto anonymous = FakeDispatch::Create();
  auto sheet = FakeDispatch::Create("_Worksheet");
  auto app = ApplicationFromDispatch(fakeApp.Get());

  fakeApp->On(excel::kSelection.id, ReturnsObject(cells));
  EXPECT_EQ(app->Selection()->TypeName(), "Range");
  EXPECT_EQ(app->Selection()->AsRange()->Address(), "$B$2:$D$4");

  fakeApp->On(excel::kSelection.id, ReturnsObject(shape));
  EXPECT_EQ(app->Selection()->TypeName(), "Rectangle");
  auto e = RaisedBy([&] { app->Selection()->AsRange(); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 13);

  EXPECT_EQ(ObjectFromDispatch(anonymous.Get())->TypeName(), "Object");
  EXPECT_EQ(ObjectFromDispatch(sheet.Get())->TypeName(), "Worksheet");
  EXPECT_EQ(ObjectFromDispatch(nullptr), nullptr);
}

TEST_F(ExcelAdapters, MembersReachTheirOwnDispids) {
  auto fakeApp = FakeApplication();
  auto window = FakeWindow();
  auto visible = FakeRange("$A$1:$P$30");
  auto cell = FakeRange("$C$5");
  fakeApp->On(excel::kActiveWindow.id, ReturnsObject(window));
  fakeApp->On(excel::kRange.id, ReturnsObject(cell));
  window->On(excel::kZoom.id, Returns(Variant::Long(125)))
      .On(excel::kScrollRow.id, Returns(Variant::Long(40)))
      .On(excel::kScrollColumn.id, Returns(Variant::Long(3)))
      .On(excel::kVisibleRange.id, ReturnsObject(visible));
  cell->On(excel::kColumn.id, Returns(Variant::Long(3)))
      .On(excel::kHeight.id, Returns(Variant::Double(15)))
      .On(excel::kWidth.id, Returns(Variant::Double(48)));
  auto app = ApplicationFromDispatch(fakeApp.Get());

  auto w = app->ActiveWindow();
  EXPECT_DOUBLE_EQ(w->Zoom(), 125.0);
  EXPECT_EQ(w->ScrollRow(), 40);
  EXPECT_EQ(w->ScrollColumn(), 3);
  EXPECT_EQ(w->VisibleRange()->Address(), "$A$1:$P$30");

  auto r = app->GetRange("$C$5");
  EXPECT_EQ(r->Column(), 3);
  EXPECT_DOUBLE_EQ(r->Height(), 15.0);
  EXPECT_DOUBLE_EQ(r->Width(), 48.0);
  // Application.Range with its second cell left out.
  const ReceivedCall range = fakeApp->CallsTo(excel::kRange.id).back();
  ASSERT_EQ(range.args.size(), 2u);
  EXPECT_EQ(Narrow(V_BSTR(&range.args[0].Raw())), "$C$5");
  EXPECT_EQ(range.args[1].Type(), VT_ERROR);
}

TEST_F(ExcelAdapters, CellsItemSelectsRowThenColumnAndCountAGetsTheRangeItself) {
  auto fakeApp = FakeApplication();
  auto cells = FakeRange();
  auto target = FakeRange("$D$11");
  auto function = FakeWorksheetFunction();
  fakeApp->On(excel::kCells.id, ReturnsObject(cells)).On(excel::kWorksheetFunction.id, ReturnsObject(function));
  cells->On(excel::kItem.id, ReturnsObject(target));
  target->On(excel::kSelect.id, Returns(Variant::Bool(platform::kTrue)));
  function->On(excel::kCountA.id, Returns(Variant::Double(30)));
  auto app = ApplicationFromDispatch(fakeApp.Get());

  app->Cells()->Item(11, 4)->Select();
  const ReceivedCall item = cells->CallsTo(excel::kItem.id).back();
  ASSERT_EQ(item.args.size(), 2u);
  EXPECT_EQ(V_I4(&item.args[0].Raw()), 11);
  EXPECT_EQ(V_I4(&item.args[1].Raw()), 4);
  EXPECT_EQ(target->CallsTo(excel::kSelect.id).back().flags, DISPATCH_METHOD);

  auto all = app->Cells();
  EXPECT_DOUBLE_EQ(app->GetWorksheetFunction()->CountA(*all), 30.0);
  const ReceivedCall count = function->CallsTo(excel::kCountA.id).back();
  ASSERT_EQ(count.args.size(), 1u);
  ASSERT_EQ(count.args[0].Type(), VT_DISPATCH);
  EXPECT_TRUE(SameObject(V_DISPATCH(&count.args[0].Raw()), static_cast<IDispatch*>(cells.Get())));
}

TEST_F(ExcelAdapters, TheApplicationGivesBackItsOwnObject) {
  auto fakeApp = FakeApplication();
  auto app = ApplicationFromDispatch(fakeApp.Get());
  ComPtr<IDispatch> back = DispatchOf(*app);
  ASSERT_TRUE(back);
  EXPECT_TRUE(SameObject(back.Get(), static_cast<IDispatch*>(fakeApp.Get())));

  struct Elsewhere : host::Object {
    std::string TypeName() override { return "Elsewhere"; }
    std::shared_ptr<host::Range> AsRange() override { return nullptr; }
  } elsewhere;
  EXPECT_FALSE(DispatchOf(elsewhere));
}

class DispatchCall : public FakeHostTest {};

std::size_t LookupsOf(const FakeDispatch& fake, const std::string& member) {
  std::size_t n = 0;
  for (const auto& names : fake.NameLookups()) n += !names.empty() && names[0] == member;
  return n;
}

TEST_F(DispatchCall, NamesAreAskedOncePerInterfaceAndName) {
  auto names = std::make_shared<DispidCache>();
  auto first = FakeControls(), second = FakeControls();
  first->On("Count", Returns(Variant::Long(1)));
  second->On("Count", Returns(Variant::Long(2)));
  second->On("Add", ReturnsEmpty());
  Dispatcher a(AsDispatch(first), kIidCommandBarControls, names), b(AsDispatch(second), kIidCommandBarControls, names);

  EXPECT_EQ(ToLong(a.Get({"Count"}), "Count"), 1);
  EXPECT_EQ(ToLong(b.Get({"Count"}), "Count"), 2);
  EXPECT_EQ(ToLong(a.Get({"Count"}), "Count"), 1);
  EXPECT_EQ(LookupsOf(*first.Get(), "Count") + LookupsOf(*second.Get(), "Count"), 1u);
  EXPECT_EQ(second->CallsTo(fakes::office_ids::kCount).size(), 1u) << "the cached DISPID reaches the other object";

  // An argument name not asked before is asked with its member, and only it.
  std::vector<NamedArg> typeOnly;
  typeOnly.push_back({"Type", Variant::Long(1)});
  b.Call({"Add"}, {}, std::move(typeOnly));
  std::vector<NamedArg> typeAndTemporary;
  typeAndTemporary.push_back({"Type", Variant::Long(10)});
  typeAndTemporary.push_back({"Temporary", Variant::Bool(platform::kTrue)});
  b.Call({"Add"}, {}, std::move(typeAndTemporary));
  EXPECT_EQ(second->NameLookups().back(), (std::vector<std::string>{"Add", "Temporary"}));
  EXPECT_EQ(second->CallsTo(fakes::office_ids::kAdd).back().namedIds, (std::vector<DISPID>{4, 0}));

  // Another interface may number the same name differently.
  auto bars = FakeCommandBars();
  bars->On("Count", Returns(Variant::Long(3)));
  EXPECT_EQ(ToLong(Dispatcher(AsDispatch(bars), kIidCommandBars, names).Get({"Count"}), "Count"), 3);
  EXPECT_EQ(LookupsOf(*bars.Get(), "Count"), 1u);
}

TEST_F(DispatchCall, AnUnknownNameIsNotSupportedAndNotRemembered) {
  auto controls = FakeControls();
  Dispatcher d(AsDispatch(controls), kIidCommandBarControls, nullptr);
  for (int i = 0; i < 2; ++i) {
    auto e = RaisedBy([&] { d.Get({"Caption"}); });
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Number(), 438);
  }
  EXPECT_EQ(LookupsOf(*controls.Get(), "Caption"), 2u);
}

TEST_F(DispatchCall, APutPassesItsValueAsThePropertyPutArgument) {
  auto button = FakeButton("old");
  Dispatcher d(AsDispatch(button), kIidCommandBarControl, nullptr);
  d.Put({"Caption"}, Variant::Text("Rowtint"));
  const ReceivedCall& call = button->Calls().back();
  EXPECT_EQ(call.flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(call.namedIds, (std::vector<DISPID>{DISPID_PROPERTYPUT}));
  EXPECT_TRUE(call.args.empty());
  EXPECT_EQ(Narrow(V_BSTR(&button->Value(fakes::office_ids::kCaption).Raw())), "Rowtint");
}

TEST_F(DispatchCall, ResultsAreReadAsTheHostLanguageReadsThem) {
  EXPECT_EQ(ToLong(Variant::Text("12"), "Row"), 12);
  EXPECT_DOUBLE_EQ(ToDouble(Variant::Long(100), "Zoom"), 100.0);
  EXPECT_EQ(ToBool(Variant::Bool(platform::kTrue), "Enabled"), platform::kTrue);
  EXPECT_EQ(ToText(Variant::Text("16.0"), "Version"), "16.0");

  const std::pair<std::function<void()>, std::int32_t> failures[] = {
      {[] { ToLong(Variant::Text("twelve"), "Row"); }, 13},
      {[] { ToLong(Variant::Double(2.5e9), "Row"); }, 6},
      {[] { RequireObject(Variant(), "ActiveCell"); }, 91},
      {[] { RequireObject(Variant::Object(nullptr), "ActiveCell"); }, 91},
      {[] { ToObject(Variant::Long(1), "ActiveCell"); }, 424},
  };
  for (const auto& [read, number] : failures) {
    auto e = RaisedBy(read);
    ASSERT_TRUE(e) << number;
    EXPECT_EQ(e->Number(), number);
  }
  EXPECT_FALSE(ToObject(Variant(), "Find")) << "Nothing is no failure to a caller that allows it";
}

TEST_F(DispatchCall, VariantsHoldAReferenceOfTheirOwnAndGiveItBack) {
  auto range = FakeRange();
  {
    Variant held = Variant::Object(range.Get());
    EXPECT_EQ(range->References(), 2u);
    Variant copy = held;
    EXPECT_EQ(range->References(), 3u);
    Variant moved = std::move(copy);
    EXPECT_EQ(range->References(), 3u);
    moved = Variant::Long(0);
    EXPECT_EQ(range->References(), 2u);
  }
  EXPECT_EQ(range->References(), 1u);
}

}  // namespace
}  // namespace rowtint::win32::fakes
