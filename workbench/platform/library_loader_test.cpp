// SPDX-License-Identifier: MIT
#include "workbench/platform/library_loader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "addin/host/error.h"
#include "orbelune.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

using G2HAFunction = OrbeluneG2HA;

const fs::path kConverterDir = LUNAVANT_CONVERTER_DIR;

// A fresh folder for the test, removed with everything in it when the test ends.
class LibraryLoaderTest : public testing::Test {
 protected:
  LibraryLoaderTest() {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("lunavant-loader-" + std::string(test->name()) + "-" + std::to_string(getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  ~LibraryLoaderTest() override {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  // A file named liborbelune.so that holds no library.
  void WriteGarbageConverter() { std::ofstream(folder_ / "liborbelune.so") << "not an ELF file"; }

  template <typename Call>
  static host::ErrorRecord ErrorOf(Call call) {
    try {
      call();
    } catch (const host::HostError& error) {
      return error.record();
    }
    return {};
  }

  fs::path folder_;
};

TEST_F(LibraryLoaderTest, LoadsTheConverterFromAFolderGivenFirst) {
  // Given the converter's folder, expect its G2HA bound and working.
  PosixLibraryLoader loader({folder_, kConverterDir});
  std::unique_ptr<host::Library> orbelune = loader.Load("orbelune");
  auto g2ha = reinterpret_cast<G2HAFunction>(orbelune->Symbol("G2HA"));
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t weekday = -1;
  EXPECT_EQ(g2ha(2024, 12, 2, &year, &month, &day, &weekday), 0);
  EXPECT_EQ(year, 1446);
  EXPECT_EQ(month, 6);
  EXPECT_EQ(day, 1);
  EXPECT_NE(orbelune->Symbol("H2GA"), nullptr);
}

TEST_F(LibraryLoaderTest, FallsBackOnTheSystemSearch) {
  // Given no folders, expect the system's search to find the converter (the test program's run
  // path names its folder).
  PosixLibraryLoader loader;
  EXPECT_NE(loader.Load("orbelune")->Symbol("G2HA"), nullptr);
}

TEST_F(LibraryLoaderTest, MissingLibraryIsFileNotFound) {
  // Given a name no file has, in the folders or in the system's search, expect error 53.
  PosixLibraryLoader loader({folder_});
  EXPECT_EQ(
      ErrorOf([&] { loader.Load("lunavant-no-such-library"); }),
      (host::ErrorRecord{host::kFileNotFound, "File not found: liblunavant-no-such-library.so"}));
}

TEST_F(LibraryLoaderTest, NameThatCannotBeAFileIsFileNotFound) {
  // Given an empty name or one with a folder or a zero in it, expect error 53 and no search.
  PosixLibraryLoader loader({kConverterDir});
  EXPECT_EQ(ErrorOf([&] { loader.Load(""); }).number, host::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { loader.Load("../orbelune"); }).number, host::kFileNotFound);
  EXPECT_EQ(ErrorOf([&] { loader.Load(std::string("orbelune\0x", 10)); }).number,
            host::kFileNotFound);
}

TEST_F(LibraryLoaderTest, FileThatIsNoLibraryIsErrorLoading) {
  // Given a garbage liborbelune.so in the first folder, expect error 48 with the loader's text,
  // and the good converter of a later folder not tried.
  WriteGarbageConverter();
  PosixLibraryLoader loader({folder_, kConverterDir});
  const host::ErrorRecord error = ErrorOf([&] { loader.Load("orbelune"); });
  EXPECT_EQ(error.number, host::kErrorLoadingLibrary);
  const std::string prefix = std::string(kErrorLoadingText) + (folder_ / "liborbelune.so").string();
  EXPECT_EQ(error.description.substr(0, prefix.size()), prefix) << error.description;
}

TEST_F(LibraryLoaderTest, FolderAddedFirstIsSearchedFirst) {
  // Given the converter's folder added before a folder holding garbage, expect the converter;
  // then the garbage folder added first, expect error 48.
  WriteGarbageConverter();
  PosixLibraryLoader loader({folder_});
  loader.AddSearchFolderFirst(kConverterDir);
  EXPECT_EQ(loader.SearchFolders(), (std::vector<fs::path>{kConverterDir, folder_}));
  EXPECT_NE(loader.Load("orbelune")->Symbol("G2HA"), nullptr);
  loader.AddSearchFolderFirst(folder_);
  EXPECT_EQ(loader.SearchFolders(), (std::vector<fs::path>{folder_, kConverterDir}));
  EXPECT_EQ(ErrorOf([&] { loader.Load("orbelune"); }).number, host::kErrorLoadingLibrary);
}

TEST_F(LibraryLoaderTest, MissingSymbolIsEntryPointNotFound) {
  // Given a loaded converter, expect a name it does not export to fail with 453 and its file name.
  PosixLibraryLoader loader({kConverterDir});
  std::unique_ptr<host::Library> orbelune = loader.Load("orbelune");
  EXPECT_EQ(ErrorOf([&] { orbelune->Symbol("G2HB"); }),
            (host::ErrorRecord{host::kEntryPointNotFound,
                               "Can't find DLL entry point G2HB in liborbelune.so"}));
  // Note: the C library's malloc is reachable through the converter's handle, but the converter
  // does not export it.
  EXPECT_EQ(ErrorOf([&] { orbelune->Symbol("malloc"); }),
            (host::ErrorRecord{host::kEntryPointNotFound,
                               "Can't find DLL entry point malloc in liborbelune.so"}));
  EXPECT_EQ(ErrorOf([&] { orbelune->Symbol(""); }).number, host::kEntryPointNotFound);
  EXPECT_EQ(ErrorOf([&] { orbelune->Symbol(std::string("G2HA\0", 5)); }).number,
            host::kEntryPointNotFound);
}

TEST_F(LibraryLoaderTest, EachLoadHoldsItsOwnHandle) {
  // Given two loads of one library and the first released, expect the second still usable.
  PosixLibraryLoader loader({kConverterDir});
  std::unique_ptr<host::Library> first = loader.Load("orbelune");
  std::unique_ptr<host::Library> second = loader.Load("orbelune");
  first.reset();
  auto g2ha = reinterpret_cast<G2HAFunction>(second->Symbol("G2HA"));
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t weekday = 0;
  EXPECT_EQ(g2ha(2024, 12, 2, &year, &month, &day, &weekday), 0);
  EXPECT_EQ(year, 1446);
}

}  // namespace
}  // namespace lunavant::workbench
