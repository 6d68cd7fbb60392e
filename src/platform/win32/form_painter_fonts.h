// The fonts a form's captions are drawn in, made once per window. A face the
// system lacks is replaced by the first present one of a few look-alikes.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "platform/win32/gdi_handles.h"

namespace rowtint::win32 {

// Whether the system has the face in the character set (any set for ANSI text).
bool FaceIsPresent(HDC dc, const std::wstring& face, BYTE charset);

// The face to ask for: the wanted one when present, else a present
// look-alike in the same character set, else empty (the font mapper's own
// choice of a plain sans face).
std::wstring PresentFace(HDC dc, const std::wstring& wanted, BYTE charset);

class FontCache {
 public:
  explicit FontCache(int dpiY) : dpiY_(dpiY) {}
  // `face` is UTF-8; sizes are in points.
  HFONT Get(HDC dc, const std::string& face, double points, bool bold, int charset);

 private:
  using Key = std::tuple<std::string, int, bool, int>;
  int dpiY_;
  std::map<Key, UniqueFont> fonts_;
};

}  // namespace rowtint::win32
