// The permanent toolbar "Rowtint" and the temporary "Rowtint" popup on the
// host's active menu bar, with their buttons bound to Connect.
#include <optional>

#include "addin/connect.h"
#include "engine/failure_styles.h"
#include "engine/numeric.h"
#include "platform/error.h"

namespace rowtint::addin {
using engine::SkipOnFailure;
using platform::kTrue;
using platform::Required;

namespace {
constexpr const char* kBarName = "Rowtint";
constexpr const char* kButtonParameter = "Rowtintbar";
}  // namespace

void Connect::CreateToolbar() {
  engine::StopAndTell(library_.Services().dialogs, [&] {
    auto bar = App().GetCommandBars()->Add({.name = kBarName});
    BoundButton* buttons[] = {&toolbarOptions_, &toolbarSwitch_, &toolbarFindLastRow_};
    for (BoundButton* button : buttons)
      button->Set(
          bar->Controls()->Add({.type = platform::kMsoControlButton, .parameter = kButtonParameter})->AsButton());

    struct Look {
      std::int32_t faceId;
      const char* tooltip;
    };
    constexpr Look looks[] = {{209, "Option"}, {279, "Switch"}, {317, "FindLastrow"}};
    for (int i = 0; i < 3; ++i) {
      auto& button = Required(buttons[i]->Get());
      button.SetStyle(platform::kMsoButtonIcon);
      button.SetBeginGroup(kTrue);
      button.SetFaceId(looks[i].faceId);
      button.SetTooltipText(looks[i].tooltip);
      button.SetTag(kToolbarTags[i]);
    }
    bar->SetProtection(platform::kMsoBarNoCustomize);
    bar->SetVisible(kTrue);
  });
}

std::shared_ptr<platform::CommandBarButton> Connect::CreateMubar() {
  std::shared_ptr<platform::CommandBarControl> popup;
  SkipOnFailure([&] {
    popup = App().GetCommandBars()->ActiveMenuBar()->Controls()->Add(
        {.type = platform::kMsoControlPopup, .temporary = kTrue});
  });
  SkipOnFailure([&] { Required(popup).SetCaption(kBarName); });

  struct Item {
    BoundButton* button;
    const char* caption;
    std::optional<std::int32_t> faceId;
    bool beginsGroup;
    const char* tag;
  };
  const Item items[] = {{&menuOptions_, "Option", 209, true, kMenuTags[0]},
                        {&menuWober_, "Wober", std::nullopt, true, kMenuTags[1]},
                        {&menuWarm_, "Warm", std::nullopt, false, kMenuTags[2]},
                        {&menuAbout_, "About", std::nullopt, true, kMenuTags[3]}};
  for (const Item& item : items) {
    SkipOnFailure([&] {
      item.button->Set(Required(popup).PopupBar()->Controls()->Add({.type = platform::kMsoControlButton})->AsButton());
    });
    SkipOnFailure([&] { Required(item.button->Get()).SetCaption(item.caption); });
    SkipOnFailure([&] { Required(item.button->Get()).SetStyle(platform::kMsoButtonIconAndCaption); });
    if (item.faceId) SkipOnFailure([&] { Required(item.button->Get()).SetFaceId(*item.faceId); });
    if (item.beginsGroup) SkipOnFailure([&] { Required(item.button->Get()).SetBeginGroup(kTrue); });
    SkipOnFailure([&] { Required(item.button->Get()).SetTag(item.tag); });
  }

  // A separator before whatever is last on the menu bar now, normally the popup.
  std::int32_t last = 0;
  SkipOnFailure([&] { last = App().GetCommandBars()->ActiveMenuBar()->Controls()->Count(); });
  SkipOnFailure(
      [&] { App().GetCommandBars()->ActiveMenuBar()->Controls()->Item(engine::ToInt16(last))->SetBeginGroup(kTrue); });
  return nullptr;
}

void Connect::DeleteTagged(const char* const* tags, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    std::shared_ptr<platform::CommandBarControls> found;
    SkipOnFailure([&] { found = App().GetCommandBars()->FindControls(tags[i]); });
    std::int32_t n = 0;
    SkipOnFailure([&] { n = found ? found->Count() : 0; });
    // From the last: each deletion takes one out of the collection.
    for (std::int32_t j = n; j >= 1; --j) SkipOnFailure([&] { found->Item(static_cast<std::int16_t>(j))->Delete(); });
  }
}

void Connect::DeleteMubar() {
  App().GetCommandBars()->Item("Worksheet Menu Bar")->Controls()->Item(std::string(kBarName))->Delete();
}

}  // namespace rowtint::addin
