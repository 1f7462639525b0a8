// SPDX-License-Identifier: MIT
// The base fixture of tests that run the built `lunavant` program as a user runs it: each test
// gets a folder of its own holding a copy of the bundled sample as plan.xml, and every run gets
// that folder as its working directory and its own add-in registry in it. The test target defines
// LUNAVANT_CLI_PATH, the program to run.
//
//   class Refresh : public test_support::CliTest {};
//   TEST_F(Refresh, Example) {
//     const CliOutcome run = Run("refresh plan.xml");
//     EXPECT_EQ(run.status, 0) << run.err;
//   }
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/support/xml_compare.h"
#include "workbench/files/bundled_sample.h"

namespace lunavant::test_support {

// The whole file is `text` afterwards.
inline void WriteWholeFile(const std::filesystem::path& path, std::string_view text) {
  std::ofstream(path, std::ios::binary) << text;
}

// How a run of the program ended: its exit status (-1 when it did not exit) and what it wrote.
struct CliOutcome {
  int status = -1;
  std::string out;
  std::string err;
};

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/lunavant-cli-XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    sample_ = dir_ / "plan.xml";
    WriteWholeFile(sample_, workbench::BundledSampleText());
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }

  // Runs the built program in the test's folder, with its own registry and no terminal.
  CliOutcome Run(const std::string& arguments, const std::string& input = "/dev/null") const {
    const std::filesystem::path err_file = dir_ / "stderr.txt";
    const std::string command = "cd '" + dir_.string() + "' && XDG_CONFIG_HOME='" +
                                (dir_ / "config").string() + "' " + LUNAVANT_CLI_PATH + " " +
                                arguments + " <" + input + " 2>'" + err_file.string() + "'";
    CliOutcome run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 4096> buffer{};
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
      run.out.append(buffer.data(), got);
    }
    const int wait_status = pclose(pipe);
    run.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    run.err = ReadWholeFile(err_file);
    return run;
  }

  // The add-in registry the runs so far left behind.
  std::string Registry() const {
    return ReadWholeFile(dir_ / "config" / "lunavant" / "registry.reg");
  }

  std::filesystem::path dir_;
  std::filesystem::path sample_;
};

}  // namespace lunavant::test_support
