/* SPDX-License-Identifier: MIT */
/* The public header compiles as C, and both functions can be called from C. Exit code 0 passes. */
#include <stdio.h>

#include "orbelune.h"

static int failures = 0;

static void Expect(int condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "failed: %s\n", what);
    ++failures;
  }
}

int main(void) {
  int32_t hy = 0, hm = 0, hd = 0, gy = 0, gm = 0, gd = 0, weekday = -1;

  Expect(G2HA(2024, 12, 2, &hy, &hm, &hd, &weekday) == ORBELUNE_OK, "G2HA 2024-12-02 succeeds");
  Expect(hy == 1446 && hm == 6 && hd == 1, "2024-12-02 is 1446-06-01");
  Expect(weekday == 1, "2024-12-02 is a Monday");

  weekday = -1;
  Expect(H2GA(&hy, &hm, &hd, &gy, &gm, &gd, &weekday) == ORBELUNE_OK, "H2GA 1446-06-01 succeeds");
  Expect(gy == 2024 && gm == 12 && gd == 2 && weekday == 1, "1446-06-01 is Monday 2024-12-02");

  hm = 13;
  Expect(H2GA(&hy, &hm, &hd, &gy, &gm, &gd, &weekday) == ORBELUNE_INVALID_DATE,
         "H2GA month 13 fails");
  Expect(gy == 0 && gm == 0 && gd == 0 && weekday == 0, "a failed H2GA leaves zeros");
  Expect(G2HA(2024, 12, 2, NULL, &hm, &hd, &weekday) == ORBELUNE_NULL_POINTER,
         "G2HA refuses a null pointer");

  return failures == 0 ? 0 : 1;
}
