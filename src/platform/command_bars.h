// The host's command bars: bars, their controls, buttons and the button Click event.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

namespace rowtint::platform {

inline constexpr std::int32_t kMsoControlButton = 1;
inline constexpr std::int32_t kMsoControlPopup = 10;
inline constexpr std::int32_t kMsoButtonIcon = 1;
inline constexpr std::int32_t kMsoButtonIconAndCaption = 3;
inline constexpr std::int32_t kMsoBarNoCustomize = 1;

class CommandBar;
class CommandBarButton;

class ButtonEvents {
 public:
  virtual ~ButtonEvents() = default;
  virtual void Click(const std::shared_ptr<CommandBarButton>& ctrl, VbBool& cancelDefault) = 0;
};

class CommandBarControl {
 public:
  virtual ~CommandBarControl() = default;
  virtual std::string Caption() = 0;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual VbBool BeginGroup() = 0;
  virtual void SetBeginGroup(VbBool value) = 0;
  virtual std::string TooltipText() = 0;
  virtual void SetTooltipText(const std::string& text) = 0;
  virtual VbBool Enabled() = 0;
  virtual void SetEnabled(VbBool value) = 0;
  // The host raises a button's Click on every button object with the same
  // Id and Tag: a tag of its own keeps a click to its own button.
  virtual std::string Tag() = 0;
  virtual void SetTag(const std::string& tag) = 0;
  virtual void Delete() = 0;
  // The popup's own bar; fails on a control that is not a popup.
  virtual std::shared_ptr<CommandBar> PopupBar() = 0;
  // This control as a button; fails (type mismatch) when it is not one.
  virtual std::shared_ptr<CommandBarButton> AsButton() = 0;
};

class CommandBarButton : public CommandBarControl {
 public:
  virtual std::int32_t Style() = 0;
  virtual void SetStyle(std::int32_t style) = 0;
  virtual std::int32_t FaceId() = 0;
  virtual void SetFaceId(std::int32_t faceId) = 0;
  virtual std::unique_ptr<host::EventConnection> AdviseClick(ButtonEvents& sink) = 0;
};

// Arguments of CommandBarControls.Add; one left empty is not passed.
struct ControlAddArgs {
  std::optional<std::int32_t> type;
  std::optional<std::int32_t> id;
  std::optional<std::string> parameter;
  std::optional<std::int32_t> before;
  std::optional<VbBool> temporary;
};

class CommandBarControls {
 public:
  virtual ~CommandBarControls() = default;
  virtual std::shared_ptr<CommandBarControl> Add(const ControlAddArgs& args) = 0;
  virtual std::int32_t Count() = 0;
  virtual std::shared_ptr<CommandBarControl> Item(std::int16_t index) = 0;
  virtual std::shared_ptr<CommandBarControl> Item(const std::string& caption) = 0;
};

class CommandBar {
 public:
  virtual ~CommandBar() = default;
  virtual std::string Name() = 0;
  virtual std::shared_ptr<CommandBarControls> Controls() = 0;
  virtual void SetProtection(std::int32_t protection) = 0;
  virtual void SetVisible(VbBool visible) = 0;
  virtual void Delete() = 0;
};

// Arguments of CommandBars.Add; one left empty is not passed.
struct BarAddArgs {
  std::optional<std::string> name;
  std::optional<std::int32_t> position;
  std::optional<VbBool> menuBar;
  std::optional<VbBool> temporary;
};

class CommandBars {
 public:
  virtual ~CommandBars() = default;
  virtual std::shared_ptr<CommandBar> Add(const BarAddArgs& args) = 0;
  virtual std::shared_ptr<CommandBar> Item(const std::string& name) = 0;
  // For Each over the collection, in the host's order.
  virtual std::vector<std::shared_ptr<CommandBar>> Enumerate() = 0;
  virtual std::shared_ptr<CommandBar> ActiveMenuBar() = 0;
  // Every control with the tag, on any bar; nullptr (Nothing) when there is none.
  virtual std::shared_ptr<CommandBarControls> FindControls(const std::string& tag) = 0;
};

}  // namespace rowtint::platform
