// SPDX-License-Identifier: MIT
#include <dlfcn.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "corrections.h"
#include "corrections_file.h"

namespace lunavant::converter::detail {
namespace {

// The folder of the file this library was loaded from, found through one of its own functions.
std::string LibraryFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&CorrectionsPlaces), &info) == 0 || info.dli_fname == nullptr)
    return {};
  std::string path = info.dli_fname;
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string UserConfigFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return config;
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return std::string(home) + "/.config";
  return {};
}

}  // namespace

std::optional<std::string> CorrectionsOverride() {
  const char* named = std::getenv("ORBELUNE_CORRECTIONS");
  if (named == nullptr) return std::nullopt;
  return std::string(named);
}

std::vector<std::string> CorrectionsPlaces() {
  std::vector<std::string> places;
  const std::string user = UserConfigFolder();
  if (!user.empty()) places.push_back(user + "/orbelune/" + kCorrectionsFileName);
  const std::string library = LibraryFolder();
  if (!library.empty()) places.push_back(library + "/" + kCorrectionsFileName);
  return places;
}

CorrectionsFile ReadCorrectionsFile(const std::string& path) {
  CorrectionsFile file;
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return file;
  file.exists = true;
  if (!S_ISREG(status.st_mode) ||
      static_cast<unsigned long long>(status.st_size) > kMaxCorrectionsBytes)
    return file;
  ReadWholeCorrections(std::fopen(path.c_str(), "rb"), file);
  return file;
}

}  // namespace lunavant::converter::detail
