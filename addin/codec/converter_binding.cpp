// SPDX-License-Identifier: MIT
#include "addin/codec/converter_binding.h"

#include <memory>

#include "addin/codec/host_access.h"
#include "addin/host/error.h"
#include "addin/host/services.h"

namespace lunavant::codec {
namespace {

// The converter's calling contracts: Gregorian inputs by value, every other number by address.
using G2HAFunction = std::int32_t (*)(std::int32_t, std::int32_t, std::int32_t, std::int32_t*,
                                      std::int32_t*, std::int32_t*, std::int32_t*);
using H2GAFunction = std::int32_t (*)(std::int32_t*, std::int32_t*, std::int32_t*, std::int32_t*,
                                      std::int32_t*, std::int32_t*, std::int32_t*);

struct Converter {
  std::unique_ptr<host::Library> library;
  G2HAFunction g2ha = nullptr;
  H2GAFunction h2ga = nullptr;
};

std::unique_ptr<Converter> g_converter;

Converter& LoadedConverter() {
  if (g_converter) return *g_converter;
  auto converter = std::make_unique<Converter>();
  converter->library = HostApplication().Services().Libraries().Load(kConverterName);
  converter->g2ha = reinterpret_cast<G2HAFunction>(converter->library->Symbol("G2HA"));
  converter->h2ga = reinterpret_cast<H2GAFunction>(converter->library->Symbol("H2GA"));
  g_converter = std::move(converter);
  return *g_converter;
}

[[noreturn]] void RaiseNotConvertible() {
  host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
}

}  // namespace

CalendarDate GregorianToHijri(const CalendarDate& gregorian) {
  CalendarDate hijri;
  std::int32_t unused_fourth = 0;
  const std::int32_t status =
      LoadedConverter().g2ha(gregorian.year, gregorian.month, gregorian.day, &hijri.year,
                             &hijri.month, &hijri.day, &unused_fourth);
  // A refused date would leave zeros behind, which must never reach a task as "00/00/0".
  if (status != 0) RaiseNotConvertible();
  return hijri;
}

GregorianDay HijriToGregorian(const CalendarDate& hijri) {
  CalendarDate in = hijri;  // the converter may write its inputs; ours stay untouched
  GregorianDay out;
  const std::int32_t status = LoadedConverter().h2ga(&in.year, &in.month, &in.day, &out.date.year,
                                                     &out.date.month, &out.date.day, &out.weekday);
  if (status != 0) RaiseNotConvertible();
  return out;
}

namespace detail {
void UnloadConverter() { g_converter.reset(); }
}  // namespace detail

}  // namespace lunavant::codec
