// SPDX-License-Identifier: MIT
#include "workbench/platform/picture_loader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "addin/host/error.h"
#include "tests/support/error_of.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

using test_support::ErrorOf;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PictureFileLoaderTest : public ::testing::Test {
 protected:
  PictureFileLoaderTest() {
    std::string folder = (fs::temp_directory_path() / "lunavant-pictures-XXXXXX").string();
    folder_ = mkdtemp(folder.data());
  }
  ~PictureFileLoaderTest() override { fs::remove_all(folder_); }
  fs::path folder_;
};

TEST_F(PictureFileLoaderTest, ReadsTheButtonFacesFromTheFolderGivenFirst) {
  // Given the add-in's faces folder searched first, expect each face read as 16 x 16 pixels with
  // the toolbar's grey in its top-left corner.
  PictureFileLoader loader;
  loader.AddSearchFolderFirst(folder_);
  loader.AddSearchFolderFirst(LUNAVANT_FACES_DIR);
  for (const char* name : {"Lunavant_Add.bmp", "Lunavant_Remove.bmp", "Lunavant_Refresh.bmp"}) {
    auto face = std::dynamic_pointer_cast<const BitmapPicture>(loader.LoadPicture(name));
    ASSERT_NE(face, nullptr) << name;
    EXPECT_EQ(face->Width(), 16);
    EXPECT_EQ(face->Height(), 16);
    EXPECT_EQ(face->Pixel(0, 0), 0xC0C0C0u) << name;
    EXPECT_EQ(face->Source(), fs::path(LUNAVANT_FACES_DIR) / name);
  }
}

TEST_F(PictureFileLoaderTest, RowsStoredBottomUpOrTopDownReadTheSame) {
  // Note: a positive height stores the bottom row first; the face's mark sits at the bottom right.
  const std::string bottom_up = ReadFile(fs::path(LUNAVANT_FACES_DIR) / "Lunavant_Add.bmp");
  std::string top_down = bottom_up;
  const std::int32_t minus_sixteen = -16;
  std::memcpy(top_down.data() + 22, &minus_sixteen, 4);
  for (int row = 0; row < 16; ++row) {
    std::memcpy(top_down.data() + 54 + row * 48, bottom_up.data() + 54 + (15 - row) * 48, 48);
  }
  EXPECT_EQ(DecodeBitmap(bottom_up, "a.bmp")->Pixels(), DecodeBitmap(top_down, "b.bmp")->Pixels());
  EXPECT_EQ(DecodeBitmap(bottom_up, "a.bmp")->Pixel(12, 12), 0x008000u);
}

TEST_F(PictureFileLoaderTest, AMissingOrBrokenFileFails) {
  // Given no such file, a folder in the name, a truncated bitmap and one of 8 bits per pixel,
  // expect File not found for the first two and Invalid picture for the others.
  PictureFileLoader loader;
  loader.AddSearchFolderFirst(folder_);
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture("Lunavant_Add.bmp"); }),
            (host::ErrorRecord{host::kFileNotFound, "File not found: Lunavant_Add.bmp"}));
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture("../Lunavant_Add.bmp"); }).number,
            host::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture(""); }).number, host::kFileNotFound);

  const std::string face = ReadFile(fs::path(LUNAVANT_FACES_DIR) / "Lunavant_Add.bmp");
  std::ofstream(folder_ / "short.bmp", std::ios::binary) << face.substr(0, face.size() - 1);
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture("short.bmp"); }),
            (host::ErrorRecord{host::kInvalidPicture, "Invalid picture: short.bmp"}));
  std::string eight_bits = face;
  eight_bits[28] = 8;
  std::ofstream(folder_ / "eight.bmp", std::ios::binary) << eight_bits;
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture("eight.bmp"); }).number, host::kInvalidPicture);
  std::ofstream(folder_ / "empty.bmp", std::ios::binary) << "";
  EXPECT_EQ(ErrorOf([&] { loader.LoadPicture("empty.bmp"); }).number, host::kInvalidPicture);
}

}  // namespace
}  // namespace lunavant::workbench
