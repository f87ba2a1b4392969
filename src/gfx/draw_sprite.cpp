// AppContext's drawing operations: loading one texture and drawing a
// texture rectangle through the 2D transform.
#include <cstdio>
#include <memory>
#include <vector>
#include "data/data_file.h"
#include "gfx/graphics.h"
#include "gfx/sprite.h"
#include "platform/render_device.h"
#include "util/app_context.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Texels of exactly the colour key become fully transparent.
void ApplyColourKey(std::vector<uint32_t>& texels) {
  uint32_t* p = texels.data();
  const size_t n = texels.size();
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i key = _mm_set1_epi32(static_cast<int>(TEXTURE_COLOUR_KEY));
  for (; i + 4 <= n; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    const __m128i hit = _mm_cmpeq_epi32(v, key);
    if (_mm_movemask_epi8(hit) != 0)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_andnot_si128(hit, v));
  }
#endif
  for (; i < n; ++i)
    if (p[i] == TEXTURE_COLOUR_KEY) p[i] = 0x00000000;
}

}  // namespace

// Decodes an image, trying a second time when the first attempt fails, and
// makes the colour-key texels transparent.
Texture* CreateTextureFromBytes(const std::vector<uint8_t>& bytes) {
  if (bytes.empty()) return nullptr;
  auto texture = std::make_unique<Texture>();
  bool decoded = DecodeImage(bytes.data(), bytes.size(), texture.get());
  if (!decoded) {
    *texture = Texture{};
    decoded = DecodeImage(bytes.data(), bytes.size(), texture.get());
  }
  if (!decoded || texture->width <= 0 || texture->height <= 0 ||
      texture->texels.size() != static_cast<size_t>(texture->width) * texture->height) {
    return nullptr;
  }
  ApplyColourKey(texture->texels);
  return texture.release();
}

namespace {

bool ReadDiskFile(const char* name, std::vector<uint8_t>* out) {
  out->clear();
  FILE* file = fopen(name, "rb");
  if (file == nullptr) return false;
  uint8_t chunk[65536];
  size_t got;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) out->insert(out->end(), chunk, chunk + got);
  const bool ok = ferror(file) == 0;
  fclose(file);
  return ok && !out->empty();
}

HRESULT LoadFromDisk(const char* name, Texture** out) {
  std::vector<uint8_t> bytes;
  if (!ReadDiskFile(name, &bytes)) return E_FAIL;
  *out = CreateTextureFromBytes(bytes);
  return *out != nullptr ? S_OK : E_FAIL;
}

}  // namespace

HRESULT AppContext::LoadTexture(const char* name, Texture** out, FILE* file, bool allowDisk) {
  if (out == nullptr || name == nullptr) return E_FAIL;
  *out = nullptr;
  if (file == nullptr) return allowDisk ? LoadFromDisk(name, out) : E_FAIL;
  std::vector<uint8_t> bytes;
  if (ReadMember(file, name, &bytes)) {
    *out = CreateTextureFromBytes(bytes);
    if (*out != nullptr) return S_OK;
  }
  return allowDisk ? LoadFromDisk(name, out) : E_FAIL;
}

void AppContext::DrawSprite(const Texture* texture, const RECT* source, const D3DXVECTOR2* scaling,
                            const D3DXVECTOR2* rotationCentre, double rotation,
                            const D3DXVECTOR2* translation, D3DCOLOR colour) {
  if (sprite == nullptr) return;
  DecodeSheetOnFirstUse(texture);
  sprite->SetTransform(
      MatrixTransformation2D(scaling, rotationCentre, static_cast<float>(rotation), translation));
  sprite->Draw(texture, source, colour);
}
