// SPDX-License-Identifier: MIT
// Only kernel32 and the C runtime: the DLL needs nothing else that Windows does not have.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "corrections.h"
#include "corrections_file.h"

namespace lunavant::converter::detail {
namespace {

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                       nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string text(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                      nullptr, nullptr);
  return text;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

// An environment variable, or nothing when it is not set.
std::optional<std::wstring> Environment(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::wstring();
  }
  std::wstring value(size, L'\0');
  const DWORD got = GetEnvironmentVariableW(name, value.data(), size);
  value.resize(got < size ? got : 0);
  return value;
}

// The folder of this DLL, found through one of its own functions.
std::wstring LibraryFolder() {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          reinterpret_cast<LPCWSTR>(&CorrectionsPlaces), &module))
    return {};
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD got = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (got == 0) return {};
    if (got < path.size()) {
      path.resize(got);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

std::optional<std::string> CorrectionsOverride() {
  const auto named = Environment(L"ORBELUNE_CORRECTIONS");
  if (!named) return std::nullopt;
  return Utf8(*named);
}

std::vector<std::string> CorrectionsPlaces() {
  std::vector<std::string> places;
  const auto app_data = Environment(L"APPDATA");
  if (app_data && !app_data->empty())
    places.push_back(Utf8(*app_data) + "\\Orbelune\\" + kCorrectionsFileName);
  const std::wstring library = LibraryFolder();
  if (!library.empty()) places.push_back(Utf8(library) + "\\" + kCorrectionsFileName);
  return places;
}

CorrectionsFile ReadCorrectionsFile(const std::string& path) {
  CorrectionsFile file;
  const std::wstring wide = Wide(path);
  WIN32_FILE_ATTRIBUTE_DATA attributes{};
  if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes))
    return file;
  file.exists = true;
  if ((attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      attributes.nFileSizeHigh != 0 || attributes.nFileSizeLow > kMaxCorrectionsBytes)
    return file;
  ReadWholeCorrections(_wfopen(wide.c_str(), L"rb"), file);
  return file;
}

}  // namespace lunavant::converter::detail
