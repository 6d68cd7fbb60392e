// The simulated screen: a grid of 0x00BBGGRR pixels that can be saved as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace rowtint::sim {

using Pixel = std::uint32_t;

class FrameBuffer {
 public:
  FrameBuffer(int width, int height, Pixel fill = 0) { Resize(width, height, fill); }
  void Resize(int width, int height, Pixel fill = 0);
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Pixel Get(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
  const Pixel* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  Pixel* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
  void Set(int x, int y, Pixel p) {
    if (Contains(x, y)) pixels_[static_cast<std::size_t>(y) * width_ + x] = p;
  }
  // Fills the part of the rectangle that lies inside both the clip and the screen.
  void Fill(const platform::Rect& rect, const platform::Rect& clip, Pixel p);
  // Draws the rectangle's border, thickness pixels wide, inside the rectangle.
  void Outline(const platform::Rect& rect, const platform::Rect& clip, Pixel p, int thickness = 1);
  platform::Rect Bounds() const { return {0, 0, width_, height_}; }
  friend bool operator==(const FrameBuffer&, const FrameBuffer&) = default;
  // Writes an 8-bit RGB PNG; false when the file cannot be written.
  bool WritePng(const std::string& path) const;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Pixel> pixels_;
};

platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b);

}  // namespace rowtint::sim
