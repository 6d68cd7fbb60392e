// Office's ribbon (Excel 2007 and later) as the add-in meets it: the add-in
// hands Office its ribbon XML, Office calls back the callbacks the XML names
// by their names, passing the control, and hands over its IRibbonUI at onLoad
// so that the add-in can ask for controls to be drawn again.
#pragma once

#include <memory>
#include <string>

#include "platform/types.h"

namespace rowtint::platform {

class RibbonUI {
 public:
  virtual ~RibbonUI() = default;
  virtual void Invalidate() = 0;
  virtual void InvalidateControl(const std::string& controlId) = 0;
};

// A control's picture: one colour, as big as Office shows the control's image.
struct RibbonSwatch {
  // 0x00BBGGRR, or a system colour (0x80000000 and its index) that the picture is made in.
  Color color = 0;
  int pixels = 16;  // square: 32 for a large control, 16 for a small one or a menu's item
};

// IRibbonExtensibility and the callbacks, by the id of the control Office passes.
class RibbonExtensibility {
 public:
  virtual ~RibbonExtensibility() = default;
  // The ribbon XML for one of Office's ribbons; "" for one the add-in leaves alone.
  virtual std::string GetCustomUI(const std::string& ribbonId) = 0;
  virtual void RibbonLoad(const std::shared_ptr<RibbonUI>& ribbon) = 0;
  virtual void RibbonAction(const std::string& controlId) = 0;
  virtual void RibbonToggle(const std::string& controlId, bool pressed) = 0;
  virtual bool RibbonPressed(const std::string& controlId) = 0;
  virtual bool RibbonEnabled(const std::string& controlId) = 0;
  virtual RibbonSwatch RibbonImage(const std::string& controlId) = 0;
};

// The callbacks' names, as the XML names them and the add-in's object resolves them.
inline constexpr const char* kRibbonCallbackNames[] = {"RibbonLoad",    "RibbonAction",  "RibbonToggle",
                                                       "RibbonPressed", "RibbonEnabled", "RibbonImage"};

}  // namespace rowtint::platform
