// SPDX-License-Identifier: MIT
// The converter as the add-in sees it: liborbelune.so loaded by name from the folder it was
// built in, and its two entry points bound by name. Shared by the converter's tests.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "converter_calls.h"

namespace lunavant::converter::testing {

using G2HAFunction = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*, int32_t*);
using H2GAFunction = int32_t (*)(int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*,
                                 int32_t*);

class ConverterLibrary : public ConverterCalls<G2HAFunction, H2GAFunction> {
 public:
  // The library stays loaded for the rest of the process, as it does in the add-in.
  static const ConverterLibrary& Get() {
    static const ConverterLibrary library;
    return library;
  }

 private:
  ConverterLibrary() {
    const std::string path = std::string(LUNAVANT_CONVERTER_DIR) + "/liborbelune.so";
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) throw std::runtime_error("cannot load " + path + ": " + dlerror());
    g2ha_ = reinterpret_cast<G2HAFunction>(dlsym(handle_, "G2HA"));
    h2ga_ = reinterpret_cast<H2GAFunction>(dlsym(handle_, "H2GA"));
    if (g2ha_ == nullptr || h2ga_ == nullptr)
      throw std::runtime_error(path + " lacks G2HA or H2GA");
  }

  void* handle_ = nullptr;
};

}  // namespace lunavant::converter::testing
