// The names of the forms' controls, each written once: code that names a
// control uses these, so that a misspelt name does not compile. The texts
// are the controls' own names, which the forms' windows and scripts see.
#pragma once

#include <optional>
#include <string_view>

namespace rowtint::forms {

struct ControlName {
  const char* text;
};

// The options form.
namespace option {
inline constexpr ControlName kFrame{"Frame1"};
inline constexpr ControlName kCancelCaption{"Label25"};
inline constexpr ControlName kCancelHover{"Image3"};
inline constexpr ControlName kCancelBox{"cb_cancel"};
inline constexpr ControlName kOkCaption{"Label24"};
inline constexpr ControlName kOkHover{"Image2"};
inline constexpr ControlName kOkBox{"cb_ok"};
inline constexpr ControlName kHistoryTitle{"Label4"};
inline constexpr ControlName kDeepBackNote{"Label9"};
inline constexpr ControlName kTingeBackNote{"Label8"};
inline constexpr ControlName kInvertMode{"Opt_white"};
inline constexpr ControlName kPrimitiveMode{"Opt_primi"};
inline constexpr ControlName kSelectCaption{"Label23"};
inline constexpr ControlName kSelectHover{"Image4"};
inline constexpr ControlName kSelectBox{"cb_Select"};
inline constexpr ControlName kSwatches[3] = {{"Lab_his1"}, {"Lab_his2"}, {"Lab_his3"}};
inline constexpr ControlName kHistoryFrame{"frm_His"};
inline constexpr ControlName kNewColor{"new_color_lab"};
inline constexpr ControlName kCurrentColor{"curr_color_lab"};
// Which way the band runs: the frame and its three option buttons.
inline constexpr ControlName kAcrossFrame{"Frame2"};
inline constexpr ControlName kAcrossRow{"Opt_row"};
inline constexpr ControlName kAcrossColumn{"Opt_column"};
inline constexpr ControlName kAcrossBoth{"Opt_both"};
}  // namespace option

// The About form.
namespace about {
inline constexpr ControlName kFrame{"Frame1"};
inline constexpr ControlName kHelpLink{"Label10"};
inline constexpr ControlName kDateLine{"Label8"};
inline constexpr ControlName kOkCaption{"Label7"};
inline constexpr ControlName kOkHover{"Image2"};
inline constexpr ControlName kOkBox{"Label5"};
inline constexpr ControlName kSupportTitle{"Label4"};
inline constexpr ControlName kSupportLink{"Label3"};
inline constexpr ControlName kVersion{"Label2"};
inline constexpr ControlName kTitle{"Label1"};
inline constexpr ControlName kLogo{"Image1"};
}  // namespace about

// A control by what it does on its form, for whoever works a form from
// outside (the scripts, the tests): "ok" stays "ok" whatever the layout
// names the control that takes the click.
struct ControlRole {
  std::string_view role;
  ControlName control;
};

namespace option {
inline constexpr ControlRole kRoles[] = {
    {"ok", kOkBox},
    {"cancel", kCancelBox},
    {"select", kSelectBox},
    {"invert", kInvertMode},
    {"primitive", kPrimitiveMode},
    {"history1", kSwatches[0]},
    {"history2", kSwatches[1]},
    {"history3", kSwatches[2]},
    {"new", kNewColor},
    {"current", kCurrentColor},
    {"row", kAcrossRow},
    {"column", kAcrossColumn},
    {"both", kAcrossBoth},
};
}  // namespace option

namespace about {
inline constexpr ControlRole kRoles[] = {{"ok", kOkBox}, {"help", kHelpLink}, {"support", kSupportLink}};
}  // namespace about

// The control a role names on the form of that name (fm_Option or
// fm_About); nullopt for another form or a word that is no role there.
constexpr std::optional<ControlName> ControlOfRole(std::string_view form, std::string_view role) {
  const auto find = [role](const auto& roles) -> std::optional<ControlName> {
    for (const ControlRole& r : roles)
      if (r.role == role) return r.control;
    return std::nullopt;
  };
  if (form == "fm_Option") return find(option::kRoles);
  if (form == "fm_About") return find(about::kRoles);
  return std::nullopt;
}

}  // namespace rowtint::forms
