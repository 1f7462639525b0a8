// SPDX-License-Identifier: MIT
// The command line on any argument vector, run in the process as main runs it: it ends with a
// documented exit status and never escapes with an exception. A usage error says so on standard
// error with the usage hint; a success prints something; a refusal says why.
//
// Commands that open, save or register files are taken out of the vector (their names become
// "hijri"), so every input runs the parsing, the global options' checks, the help and the two
// conversion commands, none of which touches the disk.
#include <cstdint>
#include <exception>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr std::size_t kMostArguments = 16;

bool NamesDiskCommand(std::string_view argument) {
  static constexpr std::string_view kCommands[] = {
      "show", "add", "remove", "refresh", "set", "verify", "register", "unregister", "addins"};
  for (const std::string_view command : kCommands) {
    if (argument == command) return true;
  }
  return false;
}

std::string Show(const std::vector<std::string>& arguments) {
  std::string out = "lunavant";
  for (const std::string& argument : arguments)
    out += " '" + lunavant::fuzz::Printable(argument) + "'";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  namespace cli = lunavant::cli;
  // Arguments are the input's pieces between zero bytes.
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size && arguments.size() <= kMostArguments; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back() += static_cast<char>(data[i]);
    }
  }
  if (arguments.size() > kMostArguments) arguments.pop_back();
  for (std::string& argument : arguments) {
    if (NamesDiskCommand(argument)) argument = "hijri";
  }
  std::vector<const char*> argv{"lunavant"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());

  std::ostringstream out, err;
  int status = -1;
  try {
    status = cli::RunLunavant(static_cast<int>(argv.size()), argv.data(), out, err,
                              LUNAVANT_CONVERTER_DIR);
  } catch (const std::exception& error) {
    LUNAVANT_FUZZ_CHECK(false,
                        Show(arguments) + " threw " + lunavant::fuzz::Printable(error.what()));
  }
  const std::string said = err.str();
  // No file is opened and the converter is at hand, so neither 3 nor 4 can be right.
  LUNAVANT_FUZZ_CHECK(
      status == cli::kExitOk || status == cli::kExitRefused || status == cli::kExitUsage,
      Show(arguments) + " ended with " + std::to_string(status) + ": " +
          lunavant::fuzz::Printable(said));
  LUNAVANT_FUZZ_CHECK(status != cli::kExitOk || !out.str().empty(),
                      Show(arguments) + " succeeded and printed nothing");
  LUNAVANT_FUZZ_CHECK(status != cli::kExitRefused || !said.empty(),
                      Show(arguments) + " was refused without a word");
  LUNAVANT_FUZZ_CHECK(
      status != cli::kExitUsage ||
          (said.starts_with("lunavant: ") &&
           said.find(cli::message::kUsageHint) != std::string::npos && out.str().empty()),
      Show(arguments) + " is a usage error that says \"" + lunavant::fuzz::Printable(said) + "\"");
  return 0;
}
