// Calls through IDispatch: argument order, left-out and named arguments,
// names asked once, host exceptions, results read as the host language reads them.
#include <gtest/gtest.h>

#include <functional>

#include "support/fake_host_test.h"
#include "fake_office.h"
#include "platform/win32/excel_com_ids.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {

class DispatchCall : public FakeHostTest {};

std::string TextOf(const Variant& v) { return V_VT(&v.Raw()) == VT_BSTR ? Narrow(V_BSTR(&v.Raw())) : "<not text>"; }

std::size_t LookupsOf(const FakeDispatch& fake, const std::string& member) {
  std::size_t n = 0;
  for (const auto& names : fake.NameLookups()) n += !names.empty() && names[0] == member;
  return n;
}

TEST_F(DispatchCall, TheFakeReadsArgumentsLastFirstAsTheHostDoes) {
  auto range = FakeRange();
  range->On(excel::kItem.id, ReturnsEmpty());
  // Item(3, 7) as a caller lays it out, with one named argument in front.
  VARIANT slots[3];
  V_VT(&slots[0]) = VT_I4, V_I4(&slots[0]) = 99;
  V_VT(&slots[1]) = VT_I4, V_I4(&slots[1]) = 7;
  V_VT(&slots[2]) = VT_I4, V_I4(&slots[2]) = 3;
  DISPID named = 42;
  DISPPARAMS params{slots, &named, 3, 1};
  ASSERT_EQ(range->Invoke(excel::kItem.id, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, nullptr, nullptr, nullptr),
            S_OK);
  const ReceivedCall& call = range->Calls().back();
  ASSERT_EQ(call.args.size(), 2u);
  EXPECT_EQ(V_I4(&call.args[0].Raw()), 3);
  EXPECT_EQ(V_I4(&call.args[1].Raw()), 7);
  ASSERT_NE(call.Named(42), nullptr);
  EXPECT_EQ(V_I4(&call.Named(42)->Raw()), 99);
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
  EXPECT_EQ(TextOf(button->Value(fakes::office_ids::kCaption)), "Rowtint");
}

TEST_F(DispatchCall, AHostExceptionRaisesItsNumberAndDescription) {
  auto app = FakeApplication();
  app->On(excel::kCells.id, Raises(static_cast<HRESULT>(0x800A03EC), L"Unable to get the Cells property"));
  app->On(excel::kActiveCell.id, FailsWith(DISP_E_MEMBERNOTFOUND));
  Dispatcher d(AsDispatch(app), kIidApplication, nullptr);

  auto e = RaisedBy([&] { d.Get(excel::kCells); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 1004);
  EXPECT_EQ(e->Description(), "Unable to get the Cells property");
  e = RaisedBy([&] { d.Get(excel::kActiveCell); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 438);
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
