// Image decoding into A8R8G8B8 texels and PNG writing, on SDL2_image.
// Plain 8-bit RGB and RGBA PNGs (all the game's sheets) are decoded by libpng
// straight into the texture's texels, without the surfaces in between.
//
// Decoding needs no SDL video; it only uses surfaces. Before anything is
// decoded the image header is read here, so an image that claims absurd
// dimensions is refused before the decoder tries to allocate memory for it.
#include <SDL.h>
#include <SDL_image.h>
#include <png.h>

#include <array>
#include <climits>
#include <cstring>

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

bool DecodePlainPng(const uint8_t* bytes, size_t size, Texture* out) {
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

// CRC-32 as PNG chunks use it (polynomial 0xEDB88320).
uint32_t ChunkCrc(const uint8_t* p, size_t n) {
  static const auto table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[i] = c;
    }
    return t;
  }();
  uint32_t c = 0xFFFFFFFFu;
  for (size_t i = 0; i < n; ++i) c = table[(c ^ p[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
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
    if (ChunkCrc(type, size_t{4} + length) != ReadBE32(type + 4 + length)) return false;
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
