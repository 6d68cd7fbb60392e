// Office's side of an add-in's ribbon, as both hosts keep it: the controls
// the add-in's XML declares with the callbacks it names, what the add-in
// answered for each, and a user's clicks. Each host parses the XML with a
// real parser of its own and reaches the callbacks its own way (the
// simulator on the add-in's object, the stand-in through IDispatch); this
// part resolves, asks and clicks alike in both.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/types.h"

namespace rowtint::sim {

struct RibbonControl {
  std::string id;
  std::string kind;  // the element's name: toggleButton, button, menu, ...
  std::string label;
  std::string menu;  // the id of the menu holding it, if any
  // The callbacks the XML names, by attribute: onAction, getPressed, getEnabled, getImage.
  std::map<std::string, std::string> callbacks;
  bool pressed = false;
  bool enabled = true;
  std::optional<platform::Color> swatch;  // 0x00BBGGRR, read from the picture getImage returned
};

// What the XML holds, as a host's parser found it.
struct RibbonXml {
  std::string xmlNamespace;
  std::string onLoad;
  std::vector<RibbonControl> controls;
};

// How a host reaches the add-in's callbacks; each raises the add-in's failure.
class RibbonCallbacks {
 public:
  virtual ~RibbonCallbacks() = default;
  // Whether the add-in's object resolves the name, as GetIDsOfNames does.
  virtual bool Resolves(const std::string& name) = 0;
  // onLoad, handing over the host's IRibbonUI.
  virtual void Load(const std::string& name) = 0;
  virtual void Action(const std::string& name, const std::string& id) = 0;
  virtual void Toggle(const std::string& name, const std::string& id, bool pressed) = 0;
  virtual bool Boolean(const std::string& name, const std::string& id) = 0;
  // The colour of the picture a getImage callback returned.
  virtual platform::Color Image(const std::string& name, const std::string& id) = 0;
};

class RibbonModel {
 public:
  // After connecting, from version 12.0 on: the add-in's XML, parsed; every
  // callback resolved, onLoad called, every control asked for its look.
  void Load(RibbonXml xml, RibbonCallbacks& callbacks);
  // The add-in is gone: nothing is called any more.
  void Unload();
  bool Loaded() const { return callbacks_ != nullptr; }

  // IRibbonUI: the controls are asked again when the host next draws them (Refresh).
  void Invalidate();
  void InvalidateControl(const std::string& id);
  void Refresh();

  // A user's click on a button, a toggle's change and a menu item's click
  // (an item that is a toggle button changes and is told its new state);
  // a disabled control, or one in a disabled menu, takes no click. What a
  // click needs to have, if the ribbon lacks it: a control of that id and kind.
  std::optional<std::string> Click(const std::string& id);
  std::optional<std::string> Toggle(const std::string& id);
  std::optional<std::string> Menu(const std::string& menu, const std::string& item);

  const std::string& Namespace() const { return xml_.xmlNamespace; }
  const std::vector<RibbonControl>& Controls() const { return xml_.controls; }
  const std::vector<std::string>& Unresolved() const { return unresolved_; }
  // The handlers' runs by "ribbon:ID", and the failures the add-in's callbacks handed back.
  std::map<std::string, int> clicksHandled;
  std::vector<std::string> TakeErrors();

 private:
  RibbonControl* Find(const std::string& id);
  void Ask(RibbonControl& control);
  // Calls one callback named on the control, if it names one that resolves; a failure is recorded.
  template <class Call>
  void Named(const RibbonControl& control, const char* attribute, Call call);
  void Run(const RibbonControl& control, const char* attribute, bool pressed);

  RibbonXml xml_;
  RibbonCallbacks* callbacks_ = nullptr;
  std::vector<std::string> unresolved_;
  std::set<std::string> resolved_;
  std::set<std::string> stale_;
  bool allStale_ = false;
  std::vector<std::string> errors_;
};

}  // namespace rowtint::sim
