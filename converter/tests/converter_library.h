// SPDX-License-Identifier: MIT
// The converter as the add-in sees it: liborbelune.so loaded by name from the folder it was
// built in, and its two entry points bound by name. Shared by the converter's tests.
#pragma once

#include <dlfcn.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "test_data.h"

namespace lunavant::converter::testing {

using G2HAFunction = int32_t (*)(int32_t, int32_t, int32_t, int32_t*, int32_t*, int32_t*, int32_t*);
using H2GAFunction = int32_t (*)(int32_t*, int32_t*, int32_t*, int32_t*, int32_t*, int32_t*,
                                 int32_t*);

class ConverterLibrary {
 public:
  // The library stays loaded for the rest of the process, as it does in the add-in.
  static const ConverterLibrary& Get() {
    static const ConverterLibrary library;
    return library;
  }

  Converted ToHijri(const Ymd& gregorian) const {
    Converted out;
    out.result = g2ha_(gregorian.y, gregorian.m, gregorian.d, &out.date.y, &out.date.m, &out.date.d,
                       &out.weekday);
    return out;
  }

  Converted ToGregorian(Ymd hijri) const {
    Converted out;
    out.result =
        h2ga_(&hijri.y, &hijri.m, &hijri.d, &out.date.y, &out.date.m, &out.date.d, &out.weekday);
    return out;
  }

  G2HAFunction g2ha() const { return g2ha_; }
  H2GAFunction h2ga() const { return h2ga_; }

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
  G2HAFunction g2ha_ = nullptr;
  H2GAFunction h2ga_ = nullptr;
};

}  // namespace lunavant::converter::testing
