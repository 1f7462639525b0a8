// SPDX-License-Identifier: MIT
#include "workbench/platform/picture_loader.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>
#include <utility>

#include "addin/host/error.h"

namespace lunavant::workbench {
namespace {

constexpr std::int32_t kLargestSide = 4096;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

std::uint32_t Read32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  }
  return value;
}

std::uint16_t Read16(const std::string& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

[[noreturn]] void RaiseInvalid(const std::filesystem::path& source) {
  host::Raise(host::kInvalidPicture, std::string(kInvalidPictureText) + source.filename().string());
}

bool IsRegularFile(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

}  // namespace

BitmapPicture::BitmapPicture(std::int32_t width, std::int32_t height,
                             std::vector<std::uint32_t> pixels, std::filesystem::path source)
    : width_(width), height_(height), pixels_(std::move(pixels)), source_(std::move(source)) {}

std::uint32_t BitmapPicture::Pixel(std::int32_t x, std::int32_t y) const {
  return pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                 static_cast<std::size_t>(x)];
}

std::shared_ptr<const BitmapPicture> DecodeBitmap(const std::string& bytes,
                                                  const std::filesystem::path& source) {
  if (bytes.size() < kFileHeaderSize + kInfoHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
    RaiseInvalid(source);
  }
  const std::uint32_t pixel_offset = Read32(bytes, 10);
  const std::uint32_t header_size = Read32(bytes, 14);
  const auto width = static_cast<std::int32_t>(Read32(bytes, 18));
  const auto stored_height = static_cast<std::int32_t>(Read32(bytes, 22));
  const std::uint16_t planes = Read16(bytes, 26);
  const std::uint16_t bits = Read16(bytes, 28);
  const std::uint32_t compression = Read32(bytes, 30);
  if (header_size < kInfoHeaderSize || planes != 1 || (bits != 24 && bits != 32) ||
      compression != 0 || width < 1 || width > kLargestSide || stored_height == 0 ||
      stored_height < -kLargestSide || stored_height > kLargestSide) {
    RaiseInvalid(source);
  }
  const bool bottom_up = stored_height > 0;
  const std::int32_t height = bottom_up ? stored_height : -stored_height;
  const std::size_t bytes_per_pixel = bits / 8u;
  // Rows are padded to a multiple of four bytes.
  const std::size_t row_size = (static_cast<std::size_t>(width) * bytes_per_pixel + 3u) / 4u * 4u;
  const std::size_t needed =
      static_cast<std::size_t>(pixel_offset) + row_size * static_cast<std::size_t>(height);
  if (pixel_offset < kFileHeaderSize + header_size || needed > bytes.size()) RaiseInvalid(source);

  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                    static_cast<std::size_t>(height));
  for (std::int32_t y = 0; y < height; ++y) {
    const std::int32_t stored_row = bottom_up ? height - 1 - y : y;
    const std::size_t row_at = pixel_offset + row_size * static_cast<std::size_t>(stored_row);
    for (std::int32_t x = 0; x < width; ++x) {
      const std::size_t at = row_at + static_cast<std::size_t>(x) * bytes_per_pixel;
      const auto blue = static_cast<unsigned char>(bytes[at]);
      const auto green = static_cast<unsigned char>(bytes[at + 1]);
      const auto red = static_cast<unsigned char>(bytes[at + 2]);
      pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
             static_cast<std::size_t>(x)] =
          (std::uint32_t{red} << 16) | (std::uint32_t{green} << 8) | blue;
    }
  }
  return std::make_shared<BitmapPicture>(width, height, std::move(pixels), source);
}

void PictureFileLoader::AddSearchFolderFirst(std::filesystem::path folder) {
  std::erase(folders_, folder);
  folders_.insert(folders_.begin(), std::move(folder));
}

std::shared_ptr<const host::Picture> PictureFileLoader::LoadPicture(std::string_view file_name) {
  const std::string name(file_name);
  if (name.empty() || name.find_first_of(std::string_view("/\0", 2)) != std::string::npos ||
      name == "." || name == "..") {
    host::Raise(host::kFileNotFound, std::string(kPictureNotFoundText) + name);
  }
  std::vector<std::filesystem::path> candidates;
  for (const std::filesystem::path& folder : folders_) {
    if (!folder.empty()) candidates.push_back(folder / name);
  }
  candidates.emplace_back(name);
  for (const std::filesystem::path& candidate : candidates) {
    if (!IsRegularFile(candidate)) continue;
    std::ifstream in(candidate, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) RaiseInvalid(candidate);
    return DecodeBitmap(std::move(bytes).str(), candidate);
  }
  host::Raise(host::kFileNotFound, std::string(kPictureNotFoundText) + name);
}

}  // namespace lunavant::workbench
