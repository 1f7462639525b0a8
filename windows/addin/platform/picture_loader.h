// SPDX-License-Identifier: MIT
// Button faces: a BMP file loaded with LoadImage and made an OLE picture with
// OleCreatePictureIndirect, which a command-bar button takes as its Picture. (OleLoadPictureFileEx
// would read the file in one call, but wine does not implement it and ends the process.)
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include "addin/host/services.h"
#include "com_ptr.h"

namespace lunavant::winaddin {

class WindowsPicture final : public host::Picture {
 public:
  WindowsPicture(com::ComPtr<IDispatch> picture, std::int32_t width, std::int32_t height)
      : picture_(std::move(picture)), width_(width), height_(height) {}
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  // The picture's IPictureDisp.
  IDispatch* Dispatch() const { return picture_.get(); }

 private:
  com::ComPtr<IDispatch> picture_;
  std::int32_t width_;
  std::int32_t height_;
};

class WindowsPictureLoader final : public host::PictureLoader {
 public:
  // Beside Lunavant.dll first, then in the current directory.
  std::shared_ptr<const host::Picture> LoadPicture(std::string_view file_name) override;
};

}  // namespace lunavant::winaddin
