// The fonts the forms are drawn in.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/win32/form_painter_fonts.h"
#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {

int CALLBACK FirstFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM out) {
  *reinterpret_cast<std::wstring*>(out) = font->lfFaceName;
  return 0;
}

TEST(FormFonts, AFaceTheSystemLacksIsReplacedByOneItHas) {
  HDC screen = GetDC(nullptr);
  std::wstring present;
  LOGFONTW any{};
  any.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExW(screen, &any, FirstFace, reinterpret_cast<LPARAM>(&present), 0);
  ASSERT_FALSE(present.empty());
  EXPECT_EQ(PresentFace(screen, present, ANSI_CHARSET), present);
  for (const std::wstring wanted : {L"No Such Face Anywhere", L"Tahoma", L"\u5B8B\u4F53"}) {
    const std::wstring chosen = PresentFace(screen, wanted, GB2312_CHARSET);
    EXPECT_TRUE(chosen.empty() || FaceIsPresent(screen, chosen, GB2312_CHARSET)) << Narrow(chosen.c_str());
    EXPECT_NE(chosen, L"No Such Face Anywhere");
  }
  ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace rowtint::win32
