// SPDX-License-Identifier: MIT
// The workbench's Windows platform sources under wine: libraries loaded by bare name through
// LoadLibraryExW, and the user's short date from the regional settings (the test runs in en-GB).
#include <cstdio>
#include <string>

#include "addin/host/error.h"
#include "workbench/platform/library_loader.h"
#include "workbench/platform/regional_settings.h"

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    ++failures;
    std::fprintf(stderr, "FAILED: %s\n", what);
  }
}

template <typename Body>
std::int32_t ErrorNumberOf(Body body) {
  try {
    body();
  } catch (const lunavant::host::HostError& error) {
    return error.record().number;
  }
  return 0;
}

}  // namespace

int main() {
  using namespace lunavant;
  workbench::PosixLibraryLoader loader;
  Check(workbench::PosixLibraryLoader::FileNameOf("Orbelune") == "Orbelune.dll",
        "a library's file name");
  std::unique_ptr<host::Library> kernel = loader.Load("kernel32");
  Check(kernel->Symbol("GetTickCount") != nullptr, "a symbol of a library found by the system");
  Check(ErrorNumberOf([&] { kernel->Symbol("NoSuchEntry"); }) == host::kEntryPointNotFound,
        "a missing entry point");
  Check(ErrorNumberOf([&] { loader.Load("no-such-library"); }) == host::kFileNotFound,
        "a missing library");
  Check(ErrorNumberOf([&] { loader.Load("..\\kernel32"); }) == host::kFileNotFound,
        "a name with a folder in it");

  const workbench::PosixRegionalSettings regional;
  Check(regional.ShortDatePattern() == "dd/MM/yyyy", "the en-GB short date");
  Check(regional.DateSeparator() == "/", "the en-GB date separator");
  Check(regional.FormatDate(2024, 3, 5, true) == "05/03/24", "a date written the en-GB way");
  return failures == 0 ? 0 : 1;
}
