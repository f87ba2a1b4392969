// Image decoding into A8R8G8B8 texels and PNG writing, on SDL2_image.
// Plain 8-bit RGB and RGBA PNGs (all the game's sheets) are decoded by libpng
// straight into the texture's texels, without the surfaces in between.
//
// Decoding needs no SDL video; it only uses surfaces. Before anything is
// decoded the image header is read here, so an image that claims absurd
// dimensions is refused before the decoder tries to allocate memory for it.
#include <SDL.h>
#include <SDL_image.h>
#include <libdeflate.h>
#include <png.h>

#include <cstdlib>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/render_device.h"

namespace {

constexpr int64_t kMaxImageSide = 8192;

uint32_t ReadBE32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}
uint32_t ReadBE16(const uint8_t* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t ReadLE16(const uint8_t* p) { return uint32_t{p[0]} | (uint32_t{p[1]} << 8); }
uint32_t ReadLE32(const uint8_t* p) { return ReadLE16(p) | (ReadLE16(p + 2) << 16); }

bool SizeAcceptable(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide;
}

bool PngHeaderOk(const uint8_t* b, size_t n) {
  static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (n < 33 || std::memcmp(b, kSig, 8) != 0 || std::memcmp(b + 12, "IHDR", 4) != 0) return false;
  return SizeAcceptable(ReadBE32(b + 16), ReadBE32(b + 20));
}

bool BmpHeaderOk(const uint8_t* b, size_t n) {
  if (n < 26 || b[0] != 'B' || b[1] != 'M') return false;
  const uint32_t infoSize = ReadLE32(b + 14);
  if (infoSize == 12) return SizeAcceptable(ReadLE16(b + 18), ReadLE16(b + 20));
  const int64_t w = static_cast<int32_t>(ReadLE32(b + 18));
  const int64_t h = static_cast<int32_t>(ReadLE32(b + 22));
  return SizeAcceptable(w, h < 0 ? -h : h);
}

bool JpegHeaderOk(const uint8_t* b, size_t n) {
  if (n < 4 || b[0] != 0xFF || b[1] != 0xD8) return false;
  size_t pos = 2;
  bool sawFrame = false;
  while (pos + 4 <= n) {
    if (b[pos] != 0xFF) return false;
    const uint8_t marker = b[pos + 1];
    if (marker == 0xFF) {  // fill byte
      ++pos;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length field
      pos += 2;
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) break;  // end of image / start of scan
    const size_t length = ReadBE16(b + pos + 2);
    if (length < 2 || pos + 2 + length > n) return false;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 &&
                       marker != 0xCC;
    if (frame) {
      if (length < 7) return false;
      if (!SizeAcceptable(ReadBE16(b + pos + 7), ReadBE16(b + pos + 5))) return false;
      sawFrame = true;
    }
    pos += 2 + length;
  }
  return sawFrame;
}

// Only formats whose size can be checked up front are decoded.
bool HeaderAcceptable(const uint8_t* bytes, size_t size) {
  return PngHeaderOk(bytes, size) || BmpHeaderOk(bytes, size) || JpegHeaderOk(bytes, size);
}

// An 8-bit RGB or RGBA PNG without colour-space chunks, whose texels libpng
// gives exactly as the general decoder does (no gamma or profile applied).
bool PlainPng(const uint8_t* b, size_t n) {
  if (!PngHeaderOk(b, n) || b[24] != 8 || (b[25] != 2 && b[25] != 6) || b[28] != 0) return false;
  size_t pos = 8;
  while (pos + 8 <= n) {
    const uint32_t length = ReadBE32(b + pos);
    const uint8_t* type = b + pos + 4;
    if (std::memcmp(type, "IDAT", 4) == 0) return true;
    for (const char* t : {"gAMA", "sRGB", "iCCP", "cHRM", "sBIT"})
      if (std::memcmp(type, t, 4) == 0) return false;
    if (length > n - pos - 8) return false;
    pos += size_t{12} + length;
  }
  return false;
}

// Paeth predictor of the PNG filters, without branches.
inline uint8_t Paeth(int a, int b, int c) {
  const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  const int bc = pb <= pc ? b : c;
  return static_cast<uint8_t>(pa <= pb && pa <= pc ? a : bc);
}

// Undoes the row filter in place; `prev` is the row above (zeros for the
// first). The pixel size is fixed at compile time, so the loops stay tight.
template <size_t bpp>
bool Unfilter(uint8_t filter, uint8_t* row, const uint8_t* prev, size_t length) {
  switch (filter) {
    case 0:
      return true;
    case 1:
      for (size_t i = bpp; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + row[i - bpp]);
      return true;
    case 2:
      for (size_t i = 0; i < length; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
      return true;
    case 3:
      for (size_t i = 0; i < bpp; ++i) row[i] = static_cast<uint8_t>(row[i] + (prev[i] >> 1));
      for (size_t i = bpp; i < length; ++i)
        row[i] = static_cast<uint8_t>(row[i] + ((row[i - bpp] + prev[i]) >> 1));
      return true;
    case 4:
      for (size_t i = 0; i < bpp; ++i) row[i] = static_cast<uint8_t>(row[i] + prev[i]);
      for (size_t i = bpp; i < length; i += bpp)
        for (size_t k = 0; k < bpp; ++k)
          row[i + k] = static_cast<uint8_t>(row[i + k] + Paeth(row[i + k - bpp], prev[i + k], prev[i + k - bpp]));
      return true;
    default:
      return false;
  }
}

// The quick way for a plain PNG: the image data inflated in one call by
// libdeflate (much faster than zlib; it checks the stream's checksum too),
// the rows unfiltered and turned into A8R8G8B8 words. False for anything it
// does not take (a transparency chunk, data that does not inflate to exactly
// the rows), which then goes through libpng.
bool DecodePlainPngDirect(const uint8_t* b, size_t n, Texture* out) {
  const uint32_t width = ReadBE32(b + 16), height = ReadBE32(b + 20);
  const size_t bpp = b[25] == 6 ? 4 : 3;
  std::vector<uint8_t> compressed;
  bool ended = false;
  for (size_t pos = 8; pos + 12 <= n && !ended;) {
    const uint32_t length = ReadBE32(b + pos);
    if (length > n - pos - 12) return false;
    const uint8_t* type = b + pos + 4;
    if (std::memcmp(type, "IDAT", 4) == 0) compressed.insert(compressed.end(), type + 4, type + 4 + length);
    if (std::memcmp(type, "tRNS", 4) == 0) return false;
    ended = std::memcmp(type, "IEND", 4) == 0;
    pos += size_t{12} + length;
  }
  if (compressed.empty()) return false;
  const size_t stride = size_t{width} * bpp;
  const size_t rawSize = (stride + 1) * height;
  std::unique_ptr<uint8_t[]> raw(new uint8_t[rawSize]);
  libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
  if (!inflater) return false;
  const libdeflate_result result =
      libdeflate_zlib_decompress(inflater, compressed.data(), compressed.size(), raw.get(), rawSize, nullptr);
  libdeflate_free_decompressor(inflater);
  if (result != LIBDEFLATE_SUCCESS) return false;

  Texture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.texels.resize(size_t{width} * height);
  const std::vector<uint8_t> zeros(stride, 0);
  const uint8_t* prev = zeros.data();
  uint32_t* texel = picture.texels.data();
  for (uint32_t y = 0; y < height; ++y) {
    uint8_t* row = raw.get() + y * (stride + 1);
    const bool unfiltered = bpp == 4 ? Unfilter<4>(row[0], row + 1, prev, stride)
                                     : Unfilter<3>(row[0], row + 1, prev, stride);
    if (!unfiltered) return false;
    const uint8_t* p = row + 1;
    if (bpp == 4) {
      for (uint32_t x = 0; x < width; ++x, p += 4)
        *texel++ = (uint32_t{p[3]} << 24) | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    } else {
      for (uint32_t x = 0; x < width; ++x, p += 3)
        *texel++ = 0xFF000000u | (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
    }
    prev = row + 1;
  }
  *out = std::move(picture);
  return true;
}

bool DecodePlainPng(const uint8_t* bytes, size_t size, Texture* out) {
  if (DecodePlainPngDirect(bytes, size, out)) return true;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes, size)) return false;
  if (!SizeAcceptable(image.width, image.height)) {
    png_image_free(&image);
    return false;
  }
  // BGRA bytes are A8R8G8B8 words on a little-endian machine.
  image.format = PNG_FORMAT_BGRA;
  Texture result;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  result.texels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&image, nullptr, result.texels.data(),
                             static_cast<png_int_32>(image.width * sizeof(uint32_t)), nullptr)) {
    png_image_free(&image);
    return false;
  }
  *out = std::move(result);
  return true;
}

}  // namespace

bool CheckPngWhole(const uint8_t* bytes, size_t size, int* width, int* height) {
  if (!bytes || !PngHeaderOk(bytes, size)) return false;
  bool sawData = false;
  size_t pos = 8;
  while (pos + 12 <= size) {
    const uint32_t length = ReadBE32(bytes + pos);
    if (length > size - pos - 12) return false;  // the chunk runs past the end
    const uint8_t* type = bytes + pos + 4;
    if (libdeflate_crc32(0, type, size_t{4} + length) != ReadBE32(type + 4 + length)) return false;
    if (std::memcmp(type, "IDAT", 4) == 0) sawData = true;
    if (std::memcmp(type, "IEND", 4) == 0) {
      if (!sawData) return false;
      if (width) *width = static_cast<int>(ReadBE32(bytes + 16));
      if (height) *height = static_cast<int>(ReadBE32(bytes + 20));
      return true;
    }
    pos += size_t{12} + length;
  }
  return false;  // no end chunk
}

bool DecodeImage(const uint8_t* bytes, size_t size, Texture* out) {
  if (!bytes || !out || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  if (SDL_BYTEORDER == SDL_LIL_ENDIAN && PlainPng(bytes, size)) return DecodePlainPng(bytes, size, out);
  return DecodeImageGeneral(bytes, size, out);
}

bool DecodeImageGeneral(const uint8_t* bytes, size_t size, Texture* out) {
  if (!bytes || !out || size == 0 || size > static_cast<size_t>(INT_MAX)) return false;
  if (!HeaderAcceptable(bytes, size)) return false;
  SDL_RWops* rw = SDL_RWFromConstMem(bytes, static_cast<int>(size));
  if (!rw) return false;
  SDL_Surface* loaded = IMG_Load_RW(rw, 1);
  if (!loaded) return false;
  if (!SizeAcceptable(loaded->w, loaded->h)) {
    SDL_FreeSurface(loaded);
    return false;
  }
  // Converting to a format with alpha also turns a colour key (paletted images
  // with a transparent entry) into alpha 0.
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(loaded);
  if (!argb) return false;
  Texture result;
  result.width = argb->w;
  result.height = argb->h;
  result.texels.resize(static_cast<size_t>(argb->w) * argb->h);
  bool locked = SDL_MUSTLOCK(argb) ? SDL_LockSurface(argb) == 0 : true;
  if (locked) {
    const auto* src = static_cast<const uint8_t*>(argb->pixels);
    for (int y = 0; y < argb->h; ++y)
      std::memcpy(&result.texels[static_cast<size_t>(y) * argb->w], src + static_cast<size_t>(y) * argb->pitch,
                  static_cast<size_t>(argb->w) * sizeof(uint32_t));
    if (SDL_MUSTLOCK(argb)) SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  if (!locked) return false;
  *out = std::move(result);
  return true;
}

bool WritePNG(const std::string& path, const uint32_t* pixels, int width, int height, bool opaque) {
  if (!pixels || path.empty() || !SizeAcceptable(width, height)) return false;
  // X8R8G8B8 pixels are written as RGB, whatever their unused byte holds.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(pixels), width, height, 32, width * static_cast<int>(sizeof(uint32_t)),
      opaque ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return false;
  const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
  SDL_FreeSurface(surface);
  return ok;
}
