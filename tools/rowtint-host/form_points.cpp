#include "form_points.h"

#include "forms/about_form.h"
#include "forms/options_form.h"
#include "platform/win32/form_painter_layout.h"

namespace rowtint::host {

std::optional<POINT> FormPoint(HWND form, const std::string& control) {
  RECT client{};
  GetClientRect(form, &client);
  if (control == "background") return POINT{client.left + 2, client.bottom - 2};

  wchar_t caption[64] = {};
  GetWindowTextW(form, caption, 64);
  const auto layout = std::wstring(caption) == L"Option" ? forms::OptionsFormLayout() : forms::AboutFormLayout();
  for (const auto& c : layout) {
    if (c.name != control) continue;
    const RECT r = win32::ControlPixels(win32::FormScale::OfScreen(), c);
    RECT shown{};
    IntersectRect(&shown, &r, &client);
    return POINT{(shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2};
  }
  return std::nullopt;
}

}  // namespace rowtint::host
