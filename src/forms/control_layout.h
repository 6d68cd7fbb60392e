// Shorthands for writing a form's layout table.
#pragma once

#include "forms/control_names.h"
#include "platform/form_surface.h"

namespace rowtint::forms::layout {

using platform::Color;
using platform::ControlKind;
using platform::ControlState;
using platform::TextAlign;

inline ControlState At(ControlState c, std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  return c;
}

inline ControlState Named(ControlName name, ControlKind kind, const char* caption = "") {
  ControlState c;
  c.name = name.text;
  c.kind = kind;
  c.caption = caption;
  return c;
}

inline ControlState Font(ControlState c, const char* name, double size, bool bold = false, std::int32_t charset = 0) {
  c.fontName = name;
  c.fontSize = size;
  c.fontBold = bold;
  c.charset = charset;
  return c;
}

inline ControlState Border(ControlState c, Color color) {
  c.bordered = true;
  c.borderColor = color;
  return c;
}

inline ControlState Centred(ControlState c) {
  c.align = TextAlign::Center;
  return c;
}

// The three layers of a dialog "button": a transparent caption, a hover
// picture hidden at first, and an opaque bordered box.
inline ControlState CaptionLayer(ControlName name, const char* caption, Color text, double fontSize) {
  ControlState c = Centred(Font(Named(name, ControlKind::Label, caption), "Tahoma", fontSize));
  c.transparent = true;
  c.foreColor = text;
  return c;
}

inline ControlState HoverLayer(ControlName name, Color border) {
  ControlState c = Border(Named(name, ControlKind::Image), border);
  c.visible = false;
  c.picture = "hover";
  return c;
}

inline ControlState BoxLayer(ControlName name, Color border) { return Border(Named(name, ControlKind::Label), border); }

}  // namespace rowtint::forms::layout
