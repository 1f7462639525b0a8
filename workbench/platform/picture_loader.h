// SPDX-License-Identifier: MIT
// Loads button faces from Windows bitmap files, as the host's platform does: by bare file name,
// from the folders given first (the add-in module's folder), then from the current directory.
// Reads uncompressed bitmaps of 24 or 32 bits per pixel, stored bottom-up or top-down.
//
//   PictureFileLoader pictures;
//   pictures.AddSearchFolderFirst(module_path.parent_path());
//   auto face = pictures.LoadPicture("Lunavant_Add.bmp");   // a BitmapPicture, 16 x 16
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "addin/host/services.h"

namespace lunavant::workbench {

inline constexpr std::string_view kPictureNotFoundText = "File not found: ";
inline constexpr std::string_view kInvalidPictureText = "Invalid picture: ";

class BitmapPicture final : public host::Picture {
 public:
  // `pixels` holds width * height values 0xRRGGBB, the top row first.
  BitmapPicture(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels,
                std::filesystem::path source);
  std::int32_t Width() const override { return width_; }
  std::int32_t Height() const override { return height_; }
  // 0xRRGGBB of the pixel in column x, row y (row 0 at the top); both must be in range.
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) const;
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  // The file it was read from.
  const std::filesystem::path& Source() const { return source_; }

 private:
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint32_t> pixels_;
  std::filesystem::path source_;
};

// Reads a bitmap file's bytes. Fails with host::kInvalidPicture, naming the file, on anything that
// is not an uncompressed 24- or 32-bit bitmap of 1..4096 pixels a side whose pixels are all there.
std::shared_ptr<const BitmapPicture> DecodeBitmap(const std::string& bytes,
                                                  const std::filesystem::path& source);

class PictureFileLoader final : public host::PictureLoader {
 public:
  // Puts `folder` before every other folder (moving it there when it is already in the list).
  void AddSearchFolderFirst(std::filesystem::path folder);
  const std::vector<std::filesystem::path>& SearchFolders() const { return folders_; }

  // The first file of that name in the folders, then in the current directory. Fails with
  // host::kFileNotFound ("File not found: Lunavant_Add.bmp") when there is none, or the name is
  // empty or holds a folder; with host::kInvalidPicture when the file found cannot be read.
  std::shared_ptr<const host::Picture> LoadPicture(std::string_view file_name) override;

 private:
  std::vector<std::filesystem::path> folders_;
};

}  // namespace lunavant::workbench
