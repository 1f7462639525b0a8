/* SPDX-License-Identifier: MIT */
/* A real shared library that exports G2HA but not H2GA: a converter from an install that lost
   one export. Its G2HA knows one day only, 15 March 2004 = 24 Muharram 1425, a Monday. */
#include <stdint.h>

__attribute__((visibility("default"))) int32_t G2HA(int32_t gy, int32_t gm, int32_t gd, int32_t* hy,
                                                    int32_t* hm, int32_t* hd, int32_t* weekday) {
  if (gy != 2004 || gm != 3 || gd != 15) return 1;
  *hy = 1425;
  *hm = 1;
  *hd = 24;
  *weekday = 1;
  return 0;
}
