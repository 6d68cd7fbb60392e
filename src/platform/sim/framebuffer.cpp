#include "platform/sim/framebuffer.h"

#include <algorithm>
#include <array>
#include <fstream>

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

// PNG with stored (uncompressed) deflate blocks: no compression library needed.
namespace {
std::uint32_t Crc32(const std::uint8_t* data, std::size_t n, std::uint32_t crc = 0) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

void PutChunk(std::ofstream& f, const char* type, const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> buf;
  PutBe32(buf, static_cast<std::uint32_t>(data.size()));
  buf.insert(buf.end(), type, type + 4);
  buf.insert(buf.end(), data.begin(), data.end());
  std::uint32_t crc = Crc32(buf.data() + 4, buf.size() - 4);
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
  std::vector<std::uint8_t> z = {0x78, 0x01};
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535) {
    std::size_t len = std::min<std::size_t>(65535, raw.size() - pos);
    bool last = pos + len >= raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(len & 0xFF));
    z.push_back(static_cast<std::uint8_t>(len >> 8));
    z.push_back(static_cast<std::uint8_t>(~len & 0xFF));
    z.push_back(static_cast<std::uint8_t>((~len >> 8) & 0xFF));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
    if (last) break;
  }
  PutBe32(z, (b << 16) | a);
  PutChunk(f, "IDAT", z);
  PutChunk(f, "IEND", {});
  return static_cast<bool>(f);
}

}  // namespace rowtint::sim
