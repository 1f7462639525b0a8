// SPDX-License-Identifier: MIT
#include "addin/codec/converter_binding.h"

#include <memory>

#include "addin/base/host_access.h"
#include "addin/host/error.h"
#include "addin/host/services.h"
#include "orbelune.h"

namespace lunavant::codec {
namespace {

using G2HAFunction = OrbeluneG2HA;
using H2GAFunction = OrbeluneH2GA;

struct Converter {
  std::unique_ptr<host::Library> library;
  G2HAFunction g2ha = nullptr;
  H2GAFunction h2ga = nullptr;
};

std::unique_ptr<Converter> g_converter;

host::Library& LoadedLibrary() {
  if (!g_converter) {
    auto converter = std::make_unique<Converter>();
    converter->library = base::App().Services().Libraries().Load(kConverterName);
    g_converter = std::move(converter);
  }
  return *g_converter->library;
}

// Each export is looked up on its own first use, so a library that lacks one of them still
// serves the other direction. A failed look-up is tried again at the next call; while neither
// export is bound the library itself is let go as well, so a repaired install is found.
template <typename Function>
Function BoundExport(Function Converter::*slot, const char* name) {
  // Bound already: every conversion after the first.
  if (g_converter && g_converter.get()->*slot != nullptr) return g_converter.get()->*slot;
  host::Library& library = LoadedLibrary();
  if (g_converter.get()->*slot == nullptr) {
    try {
      g_converter.get()->*slot = reinterpret_cast<Function>(library.Symbol(name));
    } catch (const host::HostError&) {
      if (g_converter->g2ha == nullptr && g_converter->h2ga == nullptr) g_converter.reset();
      throw;
    }
  }
  return g_converter.get()->*slot;
}

G2HAFunction BoundG2HA() { return BoundExport(&Converter::g2ha, "G2HA"); }
H2GAFunction BoundH2GA() { return BoundExport(&Converter::h2ga, "H2GA"); }

[[noreturn]] void RaiseNotConvertible() { host::RaiseRuntime(host::kInvalidProcedureCall); }

}  // namespace

CalendarDate GregorianToHijri(const CalendarDate& gregorian) {
  CalendarDate hijri;
  std::int32_t unused_fourth = 0;
  const std::int32_t status = BoundG2HA()(gregorian.year, gregorian.month, gregorian.day,
                                          &hijri.year, &hijri.month, &hijri.day, &unused_fourth);
  // A refused date would leave zeros behind, which must never reach a task as "00/00/0".
  if (status != 0) RaiseNotConvertible();
  return hijri;
}

GregorianDay HijriToGregorian(const CalendarDate& hijri) {
  CalendarDate in = hijri;  // the converter may write its inputs; ours stay untouched
  GregorianDay out;
  const std::int32_t status = BoundH2GA()(&in.year, &in.month, &in.day, &out.date.year,
                                          &out.date.month, &out.date.day, &out.weekday);
  if (status != 0) RaiseNotConvertible();
  return out;
}

namespace detail {
void UnloadConverter() { g_converter.reset(); }
}  // namespace detail

}  // namespace lunavant::codec
