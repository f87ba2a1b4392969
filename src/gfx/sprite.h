// The one sprite batch: Begin/End around a frame, a current transform, and
// Draw of a texture rectangle through it onto the device.
#pragma once
#include "platform/render_device.h"

class Sprite {
 public:
  explicit Sprite(RenderDevice* device) : device_(device) {}
  void Begin() { inScene_ = true; }
  void End() { inScene_ = false; }
  void SetTransform(const Matrix2D& m) { transform_ = m; }
  const Matrix2D& Transform() const { return transform_; }
  void Draw(const Texture* texture, const RECT* source, D3DCOLOR colour);
  void OnLostDevice() {}
  void OnResetDevice() {}
  RenderDevice* Device() const { return device_; }

 private:
  RenderDevice* device_;
  Matrix2D transform_;
  bool inScene_ = false;
};
