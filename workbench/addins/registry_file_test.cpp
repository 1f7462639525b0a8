// SPDX-License-Identifier: MIT
#include "workbench/addins/registry_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "addin/host/error.h"
#include "tests/support/error_of.h"
#include "workbench/addins/messages.h"

namespace lunavant::workbench {
namespace {

namespace fs = std::filesystem;

using test_support::ErrorOf;

class RegistryFileTest : public ::testing::Test {
 protected:
  RegistryFileTest() {
    std::string folder = (fs::temp_directory_path() / "lunavant-registry-XXXXXX").string();
    folder_ = mkdtemp(folder.data());
    path_ = folder_ / "registry.reg";
  }
  ~RegistryFileTest() override { fs::remove_all(folder_); }

  void Write(const std::string& text) { std::ofstream(path_, std::ios::binary) << text; }
  host::ErrorRecord LoadError(const std::string& text) {
    Write(text);
    return ErrorOf([&] { RegistryFile::Load(path_); });
  }

  fs::path folder_;
  fs::path path_;
};

TEST_F(RegistryFileTest, ReadsBackWhatItWrote) {
  // Given texts with quotes and backslashes, a default value and a number, expect the saved file
  // to read back as the same registry, keys and names matched in any letter case.
  RegistryFile registry(path_);
  registry.SetText("Software\\A\\B", "Path", "C:\\Program Files\\\"x\"");
  registry.SetText("Software\\A\\B", "", "default");
  registry.SetNumber("Software\\A\\C", "LoadBehavior", 0xfffffffe);
  registry.SetText("Software\\A\\C\\D", "Name", "");
  registry.Save();

  const RegistryFile read = RegistryFile::Load(path_);
  EXPECT_EQ(read.Serialize(), registry.Serialize());
  EXPECT_EQ(read.Text("software\\a\\b", "PATH"), "C:\\Program Files\\\"x\"");
  EXPECT_EQ(read.Text("Software\\A\\B", ""), "default");
  EXPECT_EQ(read.Number("Software\\A\\C", "LoadBehavior"), 0xfffffffeu);
  EXPECT_EQ(read.Text("Software\\A\\C", "LoadBehavior"), std::nullopt);
  EXPECT_EQ(read.Text("Software\\A\\C\\D", "Name"), "");
  EXPECT_EQ(read.SubKeys("Software\\A"), (std::vector<std::string>{"B", "C"}));
  EXPECT_NE(registry.Serialize().find("\"LoadBehavior\"=dword:fffffffe\r\n"), std::string::npos);
  // Only the file itself is left in the folder: the temporary file was renamed over it.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(RegistryFileTest, DeletingAKeyTakesItsSubkeysButNotItsNamesakes) {
  RegistryFile registry(path_);
  registry.SetText("Addins\\Lunavant", "a", "1");
  registry.SetText("Addins\\Lunavant\\Sub", "a", "2");
  registry.SetText("Addins\\Lunavant.Connect", "a", "3");
  registry.DeleteKey("ADDINS\\lunavant");
  EXPECT_FALSE(registry.HasKey("Addins\\Lunavant"));
  EXPECT_FALSE(registry.HasKey("Addins\\Lunavant\\Sub"));
  EXPECT_EQ(registry.Text("Addins\\Lunavant.Connect", "a"), "3");
  registry.DeleteKey("Addins\\Absent");
}

TEST_F(RegistryFileTest, AMissingFileIsAnEmptyRegistry) {
  const RegistryFile registry = RegistryFile::Load(folder_ / "absent.reg");
  EXPECT_EQ(registry.Serialize(), "REGEDIT4\r\n\r\n");
}

TEST_F(RegistryFileTest, AMalformedFileIsReportedWithItsLine) {
  // Given each kind of broken line, expect error 321 naming the file, the line and the problem;
  // LF line ends read as well as CR LF.
  struct Case {
    std::string text;
    std::string description;
  };
  const std::string key = "[HKEY_CURRENT_USER\\Software\\X]\n";
  const std::vector<Case> cases = {
      {"", "registry.reg, line 1: " + std::string(addin_message::kNoHeader)},
      {"Windows Registry Editor Version 5.00\r\n",
       "registry.reg, line 1: " + std::string(addin_message::kNoHeader)},
      {"REGEDIT4\n\n\"A\"=\"b\"\n",
       "registry.reg, line 3: " + std::string(addin_message::kValueOutsideKey)},
      {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\Software]\n",
       "registry.reg, line 2: " + std::string(addin_message::kNotCurrentUser)},
      {"REGEDIT4\n[-HKEY_CURRENT_USER\\Software]\n",
       "registry.reg, line 2: " + std::string(addin_message::kRemovalEntry)},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\n",
       "registry.reg, line 2: " + std::string(addin_message::kBadKeyLine)},
      {"REGEDIT4\n" + key + "\"A\"=dword:123456789\n",
       "registry.reg, line 3: " + std::string(addin_message::kBadNumber)},
      {"REGEDIT4\n" + key + "\"A\"=hex:01,02\n",
       "registry.reg, line 3: " + std::string(addin_message::kBadValueLine)},
      {"REGEDIT4\n" + key + "; a comment\n\"A\"=\"open\n",
       "registry.reg, line 4: " + std::string(addin_message::kBadValueLine)},
      {"REGEDIT4\n" + key + "\"A\"=\"bad \\n escape\"\n",
       "registry.reg, line 3: " + std::string(addin_message::kBadValueLine)},
      {"REGEDIT4\n" + key + "\"A\"=-\n",
       "registry.reg, line 3: " + std::string(addin_message::kRemovalEntry)},
  };
  for (const Case& c : cases) {
    const host::ErrorRecord error = LoadError(c.text);
    EXPECT_EQ(error.number, addin_message::kInvalidFileFormat) << c.text;
    EXPECT_EQ(error.description, c.description) << c.text;
  }
}

TEST_F(RegistryFileTest, TextThatCannotBeKeptAndAnUnwritableFolderFail) {
  RegistryFile registry(path_);
  EXPECT_EQ(ErrorOf([&] { registry.SetText("Software\\X", "A", "two\nlines"); }).number,
            host::kInvalidProcedureCall);
  EXPECT_EQ(ErrorOf([&] { registry.SetText("\\", "A", "b"); }).number, host::kInvalidProcedureCall);
  // A folder that is a file cannot be made.
  std::ofstream(folder_ / "file") << "x";
  RegistryFile blocked(folder_ / "file" / "registry.reg");
  blocked.SetText("Software\\X", "A", "b");
  EXPECT_EQ(ErrorOf([&] { blocked.Save(); }).number, host::kHostFailure);
}

}  // namespace
}  // namespace lunavant::workbench
