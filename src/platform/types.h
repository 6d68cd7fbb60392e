// Value types shared by the host, the operating system and the add-in.
#pragma once

#include <cstdint>

namespace rowtint::platform {

// A colour: 0x00BBGGRR, or 0x80000000 plus a system colour index.
using Color = std::int32_t;

// References to Windows system colours (0x80000000 plus the colour index).
constexpr Color SystemColor(int index) { return static_cast<Color>(0x80000000u | static_cast<unsigned>(index)); }
inline constexpr Color kColorBackground = SystemColor(1);
inline constexpr Color kColorActiveCaption = SystemColor(2);
inline constexpr Color kColorWindowFrame = SystemColor(6);
inline constexpr Color kColorHighlight = SystemColor(13);
inline constexpr Color kColorHighlightText = SystemColor(14);
inline constexpr Color kColorBtnFace = SystemColor(15);
inline constexpr Color kColorBtnText = SystemColor(18);
inline constexpr Color kColorBtnHighlight = SystemColor(20);
inline constexpr Color kColor3DLight = SystemColor(22);

// A 16-bit boolean as the host's automation types store it: True is all bits set.
using VbBool = std::int16_t;
inline constexpr VbBool kTrue = -1;
inline constexpr VbBool kFalse = 0;
constexpr VbBool ToVbBool(bool b) { return b ? kTrue : kFalse; }

// Opaque handles of the windowing system; 0 is "none".
using WindowHandle = std::uintptr_t;
using DcHandle = std::uintptr_t;
using GdiObject = std::uintptr_t;

struct Point {
  std::int32_t x = 0;
  std::int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

// Screen rectangle; right and bottom are exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  friend bool operator==(const Rect&, const Rect&) = default;
  bool Empty() const { return right <= left || bottom <= top; }
};

}  // namespace rowtint::platform
