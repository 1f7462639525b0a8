// SPDX-License-Identifier: MIT
// Time per call of G2HA and H2GA over every day of the official table's years, through the library
// loaded by name as its callers load it: liborbelune.so natively, Orbelune.dll under wine. The
// same source for both, so scripts/bench-windows.sh can put the figures side by side.
//   orbelune_round_trip_bench [rounds]
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#if defined(_WIN32)
#include "converter_library_win32.h"
#else
#include "converter_library.h"
#endif

namespace lunavant::converter::testing {
namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
  double nanoseconds_per_call = 0;
  int64_t checksum = 0;  // keeps the calls' results alive
};

template <class Call>
Timing Time(int rounds, std::size_t calls_per_round, Call call) {
  Timing timing;
  const Clock::time_point start = Clock::now();
  for (int round = 0; round < rounds; ++round) timing.checksum += call();
  const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
  timing.nanoseconds_per_call =
      elapsed.count() / (static_cast<double>(rounds) * static_cast<double>(calls_per_round));
  return timing;
}

int Run(int rounds) {
  const ConverterLibrary& library = ConverterLibrary::Get();
  // 1 Muharram 1356 to 29 Dhu al-Hijjah 1500, the years the official table covers.
  std::vector<Ymd> gregorian_days;
  std::vector<Ymd> hijri_days;
  for (std::chrono::sys_days day = ToDays({1937, 3, 14}); day <= ToDays({2077, 11, 16});
       day += std::chrono::days{1}) {
    gregorian_days.push_back(FromDays(day));
    hijri_days.push_back(library.ToHijri(gregorian_days.back()).date);
  }

  const Timing g2ha = Time(rounds, gregorian_days.size(), [&] {
    int64_t sum = 0;
    for (const Ymd& date : gregorian_days) {
      int32_t hy = 0, hm = 0, hd = 0, weekday = 0;
      library.g2ha()(date.y, date.m, date.d, &hy, &hm, &hd, &weekday);
      sum += hd;
    }
    return sum;
  });
  const Timing h2ga = Time(rounds, hijri_days.size(), [&] {
    int64_t sum = 0;
    for (Ymd date : hijri_days) {
      int32_t gy = 0, gm = 0, gd = 0, weekday = 0;
      library.h2ga()(&date.y, &date.m, &date.d, &gy, &gm, &gd, &weekday);
      sum += gd;
    }
    return sum;
  });
  std::printf("%-6s %8.1f ns/call  (%zu days x %d rounds, checksum %lld)\n", "G2HA",
              g2ha.nanoseconds_per_call, gregorian_days.size(), rounds,
              static_cast<long long>(g2ha.checksum));
  std::printf("%-6s %8.1f ns/call  (%zu days x %d rounds, checksum %lld)\n", "H2GA",
              h2ga.nanoseconds_per_call, hijri_days.size(), rounds,
              static_cast<long long>(h2ga.checksum));
  return 0;
}

}  // namespace
}  // namespace lunavant::converter::testing

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 40;
  return lunavant::converter::testing::Run(rounds > 0 ? rounds : 40);
}
