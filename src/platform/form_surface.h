// Modal dialog windows built from lightweight controls (labels, pictures,
// option buttons, frames). A form describes its controls; the platform
// draws them, reports the user's clicks and mouse movements back, and runs
// a modal loop while the form is shown.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace rowtint::platform {

enum class ControlKind { Label, Image, OptionButton, Frame };
enum class TextAlign { Left, Center };

struct ControlState {
  std::string name;
  ControlKind kind = ControlKind::Label;
  std::string caption;
  // Position within the client area, in twips (15 to the pixel at 96 dots per inch).
  std::int32_t left = 0, top = 0, width = 0, height = 0;
  Color backColor = kColor3DLight;
  Color foreColor = kColorBtnText;
  bool transparent = false;
  bool bordered = false;
  Color borderColor = 0;
  std::string fontName = "Tahoma";
  double fontSize = 9;
  bool fontBold = false;
  std::int32_t charset = 0;
  TextAlign align = TextAlign::Left;
  bool visible = true;
  bool value = false;  // option buttons: selected
  // The frame an option button lies in: choosing one clears the others of
  // the same frame only ("" is the form itself).
  std::string container;
  std::string picture;      // images: what the picture shows
  bool handCursor = false;  // the pointer turns into a pointing hand over it
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  virtual std::string Name() const = 0;
  virtual std::string Caption() const = 0;
  virtual std::int32_t ClientWidthTwips() const = 0;
  virtual std::int32_t ClientHeightTwips() const = 0;
  virtual Color BackColor() const = 0;
  // Earlier controls lie above later ones.
  virtual const std::vector<ControlState>& Controls() const = 0;
  virtual bool Visible() const = 0;

  // What the user does; an empty control name is the form's own background.
  virtual void Click(const std::string& control) = 0;
  virtual void MouseMove(const std::string& control) = 0;
  // The window is closed other than through the form's own buttons.
  virtual void CloseWindow() = 0;
};

class FormsHost {
 public:
  virtual ~FormsHost() = default;
  // Shows the form modally with no owner form, sized for the resolution of
  // the monitor `anchor` lies on and centred on that monitor's work area;
  // returns once it is hidden or unloaded.
  virtual void ShowModal(const std::shared_ptr<FormWindow>& form, WindowHandle anchor) = 0;
  // The form's controls changed: redraw them.
  virtual void Invalidate(FormWindow& form) = 0;
  // The form instance is gone for good, or it will not be shown again before
  // a new connection: whatever shows it goes, and a later showing makes it anew.
  virtual void Unloaded(FormWindow& /*form*/) {}
};

}  // namespace rowtint::platform
