#include "gfx/sprite.h"

void Sprite::Draw(const Texture* texture, const RECT* source, D3DCOLOR colour) {
  if (texture == nullptr || device_ == nullptr) return;
  if (texture->width <= 0 || texture->height <= 0) return;
  RECT rect = source != nullptr ? *source : RECT{0, 0, texture->width, texture->height};
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;  // nothing to draw
  device_->DrawTexture(*texture, rect, transform_, colour);
}
