#include "ui/draw/png_writer.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace vantor::ui {
namespace {

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

std::uint32_t Adler32(const std::vector<std::uint8_t>& data) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : data) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
  PutBigEndian(out, static_cast<std::uint32_t>(body.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// Bits into bytes, least significant first, as deflate packs them.
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}
  void Put(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) PutBit((value >> i) & 1);
  }
  // Huffman codes go most significant bit first.
  void PutCode(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) PutBit((code >> i) & 1);
  }
  void Flush() {
    if (used_) out_.push_back(current_);
    current_ = 0;
    used_ = 0;
  }

 private:
  void PutBit(std::uint32_t bit) {
    current_ |= static_cast<std::uint8_t>(bit << used_);
    if (++used_ == 8) Flush();
  }
  std::vector<std::uint8_t>& out_;
  std::uint8_t current_ = 0;
  int used_ = 0;
};

constexpr int kLengthBase[] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr int kLengthExtra[] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr int kDistanceBase[] = {1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
                                 193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr int kDistanceExtra[] = {0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// The fixed literal/length code of deflate.
void PutSymbol(BitWriter& bits, int symbol) {
  if (symbol < 144) bits.PutCode(0x30 + symbol, 8);
  else if (symbol < 256) bits.PutCode(0x190 + symbol - 144, 9);
  else if (symbol < 280) bits.PutCode(symbol - 256, 7);
  else bits.PutCode(0xC0 + symbol - 280, 8);
}

void PutMatch(BitWriter& bits, int length, int distance) {
  int l = 28;
  while (kLengthBase[l] > length) --l;
  PutSymbol(bits, 257 + l);
  bits.Put(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
  int d = 29;
  while (kDistanceBase[d] > distance) --d;
  bits.PutCode(static_cast<std::uint32_t>(d), 5);
  bits.Put(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

// One fixed-Huffman block; matches are looked for at the last position with
// the same three bytes, one pixel back and one row up (screen images repeat
// mostly there).
std::vector<std::uint8_t> CompressedZlib(const std::vector<std::uint8_t>& raw, int rowBytes) {
  constexpr int kWindow = 32768, kMaxMatch = 258, kHashBits = 15;
  std::vector<std::uint8_t> out{0x78, 0x01};
  BitWriter bits(out);
  bits.Put(1, 1);  // last block
  bits.Put(1, 2);  // fixed codes
  std::vector<int> head(1 << kHashBits, -1);
  const int size = static_cast<int>(raw.size());
  auto hash = [&](int i) {
    return ((raw[i] << 10) ^ (raw[i + 1] << 5) ^ raw[i + 2]) & ((1 << kHashBits) - 1);
  };
  auto matchLength = [&](int from, int at) {
    int n = 0;
    while (n < kMaxMatch && at + n < size && raw[from + n] == raw[at + n]) ++n;
    return n;
  };
  for (int i = 0; i < size;) {
    int bestLength = 0, bestDistance = 0;
    if (i + 2 < size) {
      const int h = hash(i);
      for (int from : {head[h], i - 3, i - rowBytes}) {
        if (from < 0 || from >= i || i - from > kWindow) continue;
        const int length = matchLength(from, i);
        if (length > bestLength) {
          bestLength = length;
          bestDistance = i - from;
        }
      }
      head[h] = i;
    }
    if (bestLength >= 3) {
      PutMatch(bits, bestLength, bestDistance);
      for (int k = 1; k < bestLength && i + k + 2 < size; ++k) head[hash(i + k)] = i + k;
      i += bestLength;
    } else {
      PutSymbol(bits, raw[i]);
      ++i;
    }
  }
  PutSymbol(bits, 256);
  bits.Flush();
  PutBigEndian(out, Adler32(raw));
  return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(int width, int height, const std::uint32_t* pixels) {
  std::vector<std::uint8_t> raw;
  raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * width));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = pixels[static_cast<std::size_t>(y) * width + x];
      raw.push_back(static_cast<std::uint8_t>(v >> 16));
      raw.push_back(static_cast<std::uint8_t>(v >> 8));
      raw.push_back(static_cast<std::uint8_t>(v));
    }
  }
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  std::vector<std::uint8_t> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, no filter set, no interlace
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", CompressedZlib(raw, 1 + 3 * width));
  PutChunk(png, "IEND", {});
  return png;
}

bool WritePng(const std::string& path, int width, int height, const std::uint32_t* pixels, std::string* error) {
  const std::vector<std::uint8_t> png = EncodePng(width, height, pixels);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!file) {
    *error = "Can not create " + path + ": " + std::strerror(errno);
    return false;
  }
  if (std::fwrite(png.data(), 1, png.size(), file.get()) != png.size() || std::fflush(file.get()) != 0) {
    *error = "Can not write " + path + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace vantor::ui
