// SPDX-License-Identifier: MIT
// The two conversions through entry points already bound, whatever loaded the library and
// whatever calling convention the pointer types carry. Each platform's loader derives from it.
#pragma once

#include "test_data.h"

namespace lunavant::converter::testing {

template <typename G2HAFunction, typename H2GAFunction>
class ConverterCalls {
 public:
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

 protected:
  G2HAFunction g2ha_ = nullptr;
  H2GAFunction h2ga_ = nullptr;
};

}  // namespace lunavant::converter::testing
