#include "platform/win32/form_painter_fonts.h"

#include <cmath>
#include <cwchar>
#include <initializer_list>

#include "platform/win32/hresult_errors.h"

namespace rowtint::win32 {
namespace {

int CALLBACK CountFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

// Faces that look like Tahoma, and the Chinese faces that can stand in for
// SimSun ("宋体"), in order of preference.
constexpr std::initializer_list<const wchar_t*> kSansLookAlikes = {L"Tahoma", L"Verdana", L"Segoe UI",
                                                                   L"Microsoft Sans Serif", L"Arial"};
constexpr std::initializer_list<const wchar_t*> kSongLookAlikes = {L"\u5B8B\u4F53", L"SimSun", L"NSimSun",
                                                                   L"Microsoft YaHei", L"SimHei"};

}  // namespace

bool FaceIsPresent(HDC dc, const std::wstring& face, BYTE charset) {
  if (face.empty() || face.size() >= LF_FACESIZE) return false;
  LOGFONTW wanted{};
  wanted.lfCharSet = charset == ANSI_CHARSET ? DEFAULT_CHARSET : charset;
  std::wcsncpy(wanted.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  bool found = false;
  EnumFontFamiliesExW(dc, &wanted, CountFace, reinterpret_cast<LPARAM>(&found), 0);
  return found;
}

std::wstring PresentFace(HDC dc, const std::wstring& wanted, BYTE charset) {
  if (FaceIsPresent(dc, wanted, charset)) return wanted;
  if (charset == GB2312_CHARSET)
    for (const wchar_t* face : kSongLookAlikes)
      if (FaceIsPresent(dc, face, charset)) return face;
  for (const wchar_t* face : kSansLookAlikes)
    if (FaceIsPresent(dc, face, charset)) return face;
  return {};
}

HFONT FontCache::Get(HDC dc, const std::string& face, double points, bool bold, int charset) {
  const int tenths = static_cast<int>(std::lround(points * 10));
  const Key key{face, tenths, bold, charset};
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second.Get();

  LOGFONTW font{};
  font.lfHeight = -MulDiv(tenths, dpiY_, 720);
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfCharSet = static_cast<BYTE>(charset);
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  const std::wstring present = PresentFace(dc, Widen(face), font.lfCharSet);
  std::wcsncpy(font.lfFaceName, present.c_str(), LF_FACESIZE - 1);
  // With neither the face nor a look-alike the mapper picks the plain sans
  // face of the system; held to a character set it might pick one without
  // Latin letters and digits, which all the captions are.
  if (present.empty()) font.lfCharSet = DEFAULT_CHARSET;
  return fonts_.emplace(key, UniqueFont(CreateFontIndirectW(&font))).first->second.Get();
}

}  // namespace rowtint::win32
