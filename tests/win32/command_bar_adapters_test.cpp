// Office's command bars through the platform interface: members by the
// names the host numbers, arguments passed by name and only when given,
// 16-bit indexes, For Each, and buttons told apart from other controls.
#include <gtest/gtest.h>

#include "support/fake_host_test.h"
#include "fake_office.h"
#include "platform/win32/command_bar_adapters.h"
#include "platform/win32/excel_adapters.h"
#include "platform/win32/excel_com_ids.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32::fakes {
namespace {
namespace ids = office_ids;

class CommandBarAdapters : public FakeHostTest {
 protected:
  // The host's CommandBars, reached as the add-in reaches them.
  std::shared_ptr<platform::CommandBars> BarsOf(const ComPtr<FakeDispatch>& bars) {
    app_ = FakeApplication();
    app_->On(excel::kCommandBars.id, ReturnsObject(bars));
    auto bound = ApplicationFromDispatch(app_.Get())->GetCommandBars();
    app_.Reset();
    return bound;
  }

 private:
  ComPtr<FakeDispatch> app_;
};

std::string TextOf(const Variant* v) { return v && v->Type() == VT_BSTR ? Narrow(V_BSTR(&v->Raw())) : "<none>"; }

TEST_F(CommandBarAdapters, AddPassesOnlyTheArgumentsGivenAndEachByNameAndTheNewBarTakesItsSettings) {
  auto fakeBars = FakeCommandBars();
  auto toolbar = FakeCommandBar("Rowtint");
  auto controls = FakeControls();
  auto button = FakeButton();
  fakeBars->On(ids::kAdd, ReturnsObject(toolbar));
  toolbar->On(ids::kControls, ReturnsObject(controls));
  controls->On(ids::kAdd, ReturnsObject(button));
  auto bars = BarsOf(fakeBars);

  auto bar = bars->Add({.name = "Rowtint"});
  const ReceivedCall addBar = fakeBars->CallsTo(ids::kAdd).back();
  EXPECT_EQ(addBar.flags, DISPATCH_METHOD);
  EXPECT_TRUE(addBar.args.empty());
  EXPECT_EQ(addBar.namedIds, (std::vector<DISPID>{0}));
  EXPECT_EQ(TextOf(addBar.Named(0)), "Rowtint");
  bar->SetProtection(platform::kMsoBarNoCustomize);
  bar->SetVisible(platform::kTrue);
  EXPECT_EQ(V_I4(&toolbar->Value(ids::kProtection).Raw()), 1);
  EXPECT_EQ(V_BOOL(&toolbar->Value(ids::kVisible).Raw()), VARIANT_TRUE);

  bar->Controls()->Add({.type = platform::kMsoControlButton, .parameter = "Rowtintbar"});
  const ReceivedCall addButton = controls->CallsTo(ids::kAdd).back();
  EXPECT_TRUE(addButton.args.empty());
  EXPECT_EQ(addButton.namedIds, (std::vector<DISPID>{2, 0}));  // Parameter, Type
  EXPECT_EQ(V_I4(&addButton.Named(0)->Raw()), 1);
  EXPECT_EQ(TextOf(addButton.Named(2)), "Rowtintbar");

  bar->Controls()->Add({.type = platform::kMsoControlPopup, .temporary = platform::kTrue});
  const ReceivedCall addPopup = controls->CallsTo(ids::kAdd).back();
  EXPECT_EQ(addPopup.namedIds, (std::vector<DISPID>{4, 0}));  // Temporary, Type
  EXPECT_EQ(addPopup.Named(4)->Type(), VT_BOOL);
  EXPECT_EQ(V_BOOL(&addPopup.Named(4)->Raw()), VARIANT_TRUE);
  EXPECT_EQ(V_I4(&addPopup.Named(0)->Raw()), 10);
}

TEST_F(CommandBarAdapters, EachNameIsAskedOnceForTheWholeHost) {
  auto fakeBars = FakeCommandBars();
  auto bar = FakeCommandBar("Rowtint");
  auto controls = FakeControls();
  std::vector<ComPtr<FakeDispatch>> buttons{FakeButton("Option"), FakeButton("Switch"), FakeButton("FindLastrow")};
  fakeBars->On(ids::kItem, ReturnsObject(bar));
  bar->On(ids::kControls, ReturnsObject(controls));
  controls->On(ids::kItem, [&](const ReceivedCall& call, Variant& result, EXCEPINFO&) {
    result = Variant::Object(buttons.at(V_I2(&call.args.at(0).Raw()) - 1).Get());
    return S_OK;
  });
  auto bars = BarsOf(fakeBars);

  std::vector<std::string> captions;
  for (std::int16_t i = 1; i <= 3; ++i) captions.push_back(bars->Item("Rowtint")->Controls()->Item(i)->Caption());
  EXPECT_EQ(captions, (std::vector<std::string>{"Option", "Switch", "FindLastrow"}));

  std::size_t asked = 0;
  for (auto* fake : {fakeBars.Get(), bar.Get(), controls.Get(), buttons[0].Get(), buttons[1].Get(), buttons[2].Get()})
    asked += fake->NameLookups().size();
  EXPECT_EQ(asked, 4u) << "Item, Controls, Item and Caption, once each";
  buttons.clear();
}

TEST_F(CommandBarAdapters, ItemsAreFoundBy16BitIndexOrByCaption) {
  auto fakeBars = FakeCommandBars();
  auto menu = FakeCommandBar("Worksheet Menu Bar");
  auto controls = FakeControls();
  auto popup = FakePopup("Rowtint");
  fakeBars->On(ids::kActiveMenuBar, ReturnsObject(menu));
  menu->On(ids::kControls, ReturnsObject(controls));
  controls->On(ids::kItem, ReturnsObject(popup)).On(ids::kCount, Returns(Variant::Long(10)));
  popup->On(ids::kDelete, ReturnsEmpty());
  auto bars = BarsOf(fakeBars);

  auto menuControls = bars->ActiveMenuBar()->Controls();
  EXPECT_EQ(menuControls->Count(), 10);
  menuControls->Item(std::int16_t{10})->SetBeginGroup(platform::kTrue);
  const ReceivedCall byIndex = controls->CallsTo(ids::kItem).back();
  ASSERT_EQ(byIndex.args.size(), 1u);
  EXPECT_EQ(byIndex.args[0].Type(), VT_I2);
  EXPECT_EQ(V_I2(&byIndex.args[0].Raw()), 10);
  EXPECT_EQ(V_BOOL(&popup->Value(ids::kBeginGroup).Raw()), VARIANT_TRUE);

  menuControls->Item("Rowtint")->Delete();
  const ReceivedCall byCaption = controls->CallsTo(ids::kItem).back();
  EXPECT_EQ(TextOf(&byCaption.args.at(0)), "Rowtint");
  const ReceivedCall deleted = popup->CallsTo(ids::kDelete).back();
  EXPECT_EQ(deleted.flags, DISPATCH_METHOD);
  EXPECT_TRUE(deleted.args.empty()) << "Temporary is not passed";
}

TEST_F(CommandBarAdapters, ForEachWalksTheCollectionsEnumeratorInOrder) {
  auto fakeBars = FakeCommandBars();
  std::vector<Variant> items;
  for (const char* name : {"Worksheet Menu Bar", "Rowtint", "File"})
    items.push_back(Variant::Object(FakeCommandBar(name).Get()));
  fakeBars->On(DISPID_NEWENUM, Enumerates(std::move(items)));
  auto bars = BarsOf(fakeBars);

  std::vector<std::string> names;
  for (const auto& bar : bars->Enumerate()) names.push_back(bar->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Worksheet Menu Bar", "Rowtint", "File"}));
  EXPECT_EQ(fakeBars->CallsTo(DISPID_NEWENUM).back().flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
}

TEST_F(CommandBarAdapters, OnlyAButtonIsAButtonAndOnlyAPopupHasABar) {
  auto fakeBars = FakeCommandBars();
  auto bar = FakeCommandBar("Rowtint");
  auto popupBar = FakeCommandBar("Rowtint");
  auto controls = FakeControls();
  auto button = FakeButton();
  auto popup = FakePopup();
  fakeBars->On(ids::kItem, ReturnsObject(bar));
  bar->On(ids::kControls, ReturnsObject(controls));
  popup->On(ids::kPopupBar, ReturnsObject(popupBar));
  auto bars = BarsOf(fakeBars);
  auto barControls = bars->Item("Rowtint")->Controls();

  controls->On(ids::kItem, ReturnsObject(popup));
  auto e = RaisedBy([&] { barControls->Item(std::int16_t{1})->AsButton(); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 13);
  EXPECT_EQ(barControls->Item(std::int16_t{1})->PopupBar()->Name(), "Rowtint");

  controls->On(ids::kItem, ReturnsObject(button));
  auto asButton = barControls->Item(std::int16_t{1})->AsButton();
  asButton->SetStyle(platform::kMsoButtonIcon);
  asButton->SetFaceId(279);
  asButton->SetTooltipText("Switch");
  EXPECT_EQ(V_I4(&button->Value(ids::kStyle).Raw()), 1);
  EXPECT_EQ(V_I4(&button->Value(ids::kFaceId).Raw()), 279);
  EXPECT_EQ(TextOf(&button->Value(ids::kTooltipText)), "Switch");
  e = RaisedBy([&] { asButton->PopupBar(); });
  ASSERT_TRUE(e);
  EXPECT_EQ(e->Number(), 438);
}

}  // namespace
}  // namespace rowtint::win32::fakes
