// SPDX-License-Identifier: MIT
#include "platform/picture_loader.h"

#include <windows.h>

#include "addin/host/error.h"
#include "platform/module_folder.h"
#include "text.h"

namespace lunavant::winaddin {

std::shared_ptr<const host::Picture> WindowsPictureLoader::LoadPicture(std::string_view file_name) {
  const std::wstring name = com::Widen(file_name);
  std::wstring path = ModuleFolder() + name;
  if (!FileExists(path)) path = name;
  if (!FileExists(path)) host::Raise(host::kFileNotFound, "File not found");
  auto* bitmap = static_cast<HBITMAP>(
      LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (bitmap == nullptr) host::Raise(host::kInvalidPicture, "Invalid picture");
  BITMAP size{};
  GetObjectW(bitmap, sizeof size, &size);
  PICTDESC description{};
  description.cbSizeofstruct = sizeof description;
  description.picType = PICTYPE_BITMAP;
  description.bmp.hbitmap = bitmap;
  com::ComPtr<IDispatch> picture;
  // The picture owns the bitmap from here on and deletes it with itself.
  const HRESULT hr =
      OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, picture.put_void());
  if (FAILED(hr) || !picture) {
    DeleteObject(bitmap);
    host::Raise(host::kInvalidPicture, "Invalid picture");
  }
  return std::make_shared<WindowsPicture>(std::move(picture), size.bmWidth, size.bmHeight);
}

}  // namespace lunavant::winaddin
