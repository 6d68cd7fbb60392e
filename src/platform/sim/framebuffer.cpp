#include "platform/sim/framebuffer.h"

#include <algorithm>
#include <fstream>

#include <zlib.h>

namespace rowtint::sim {

void FrameBuffer::Resize(int width, int height, Pixel fill) {
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * height, fill);
}

platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b) {
  platform::Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
  if (r.Empty()) return {};
  return r;
}

void FrameBuffer::Fill(const platform::Rect& rect, const platform::Rect& clip, Pixel p) {
  const auto r = Intersect(Intersect(rect, clip), Bounds());
  for (int y = r.top; y < r.bottom; ++y)
    std::fill_n(pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + r.left, r.right - r.left, p);
}

void FrameBuffer::Outline(const platform::Rect& r, const platform::Rect& clip, Pixel p, int thickness) {
  Fill({r.left, r.top, r.right, r.top + thickness}, clip, p);
  Fill({r.left, r.bottom - thickness, r.right, r.bottom}, clip, p);
  Fill({r.left, r.top, r.left + thickness, r.bottom}, clip, p);
  Fill({r.right - thickness, r.top, r.right, r.bottom}, clip, p);
}

namespace {
void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void PutChunk(std::ofstream& f, const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> buf;
  buf.reserve(data.size() + 12);
  PutBe32(buf, static_cast<std::uint32_t>(data.size()));
  for (int i = 0; i < 4; ++i) buf.push_back(static_cast<std::uint8_t>(type[i]));
  buf.insert(buf.end(), data.begin(), data.end());
  const auto crc = static_cast<std::uint32_t>(crc32(0, buf.data() + 4, static_cast<uInt>(buf.size() - 4)));
  PutBe32(buf, crc);
  f.write(reinterpret_cast<const char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
}
}  // namespace

bool FrameBuffer::WritePng(const std::string& path) const {
  std::ofstream f(path, std::ios::binary);
  if (!f) return false;
  static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  f.write(reinterpret_cast<const char*>(kSignature), sizeof kSignature);

  std::vector<std::uint8_t> header;
  PutBe32(header, static_cast<std::uint32_t>(width_));
  PutBe32(header, static_cast<std::uint32_t>(height_));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
  PutChunk(f, "IHDR", header);

  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(height_) * (1 + 3 * width_));
  for (int y = 0; y < height_; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width_; ++x) {
      Pixel p = Get(x, y);
      raw.push_back(static_cast<std::uint8_t>(p & 0xFF));
      raw.push_back(static_cast<std::uint8_t>((p >> 8) & 0xFF));
      raw.push_back(static_cast<std::uint8_t>((p >> 16) & 0xFF));
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> z(size);
  if (compress2(z.data(), &size, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_SPEED) != Z_OK) return false;
  z.resize(size);
  PutChunk(f, "IDAT", z);
  PutChunk(f, "IEND", {});
  return static_cast<bool>(f);
}

}  // namespace rowtint::sim
