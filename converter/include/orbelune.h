/* SPDX-License-Identifier: MIT */
/*
 * Orbelune: Gregorian <-> Hijri (Umm al-Qura) date conversion behind a plain C interface, so that
 * any host can load it by name (liborbelune.so, or Orbelune.dll on Windows) and bind the two
 * functions below.
 *
 *     int32_t hy, hm, hd, weekday;
 *     if (G2HA(2024, 12, 2, &hy, &hm, &hd, &weekday) == 0) { ... }  // 1446-06-01, Monday (1)
 *
 * The calendar
 *   Umm al-Qura. From 1 Muharram 1356 AH (14 March 1937) to 30 Dhu al-Hijjah 1500 AH
 *   (16 November 2077), every month's first day and length come from the official table,
 *   month by month; it has one 28-day month, 1364-08.
 *   Before and after that table the tabular Hijri calendar applies: 30-year cycle with leap
 *   years 2, 5, 7, 10, 13, 16, 18, 21, 24, 26 and 29; odd months have 30 days, even months 29,
 *   and month 12 of a leap year 30; epoch 1 Muharram 1 AH = Friday 16 July 622 (Julian), that
 *   is 19 July 622 in the proleptic Gregorian calendar. It meets the table without a gap or an
 *   overlap at both ends: the day before the table's first day is the last day of 1355-12, and
 *   the day after its last day is 1501-01-01.
 *   Gregorian dates are proleptic Gregorian throughout.
 *
 * Corrections
 *   Month starts announced on sighting can differ from the table by a day. A plain text file,
 *   hijri-corrections.txt, moves month boundaries inside the table, one month a line:
 *       1446-10 | starts 2025-03-31 | where it was announced
 *       1446-09 | 30 days | where it was announced
 *   It is read once, when the library is loaded, from the first place that has one:
 *   the file ORBELUNE_CORRECTIONS names (set but empty: no file at all, the table alone); else
 *   the user's configuration folder ($XDG_CONFIG_HOME/orbelune, by default ~/.config/orbelune;
 *   on Windows %APPDATA%\Orbelune); else the library's own folder (site-wide). The file is
 *   checked as a whole: a malformed line, a month corrected twice, a month of other than 29 or
 *   30 days, or a gap or an overlap between months refuses all of it, and the table alone is in
 *   force. OrbeluneCalendarVersion says which.
 *
 * Range
 *   1 Muharram 1 AH (19 July 622) to 31 December 9999, in both directions. Anything outside
 *   returns ORBELUNE_OUT_OF_RANGE.
 *
 * Weekday
 *   Of the Gregorian date: 0 Sunday, 1 Monday, ... 6 Saturday.
 *
 * Calling convention
 *   32-bit Windows: stdcall (the callee removes the arguments), exported as plain G2HA and H2GA
 *   without the @28 suffix, as a classic Basic Declare Function binds them. 64-bit Windows: the
 *   platform's only convention. Elsewhere: the platform's C convention. ORBELUNE_CALL spells it.
 *
 * Errors
 *   Both functions return ORBELUNE_OK (0) when done and a non-zero code otherwise. A null pointer
 *   returns ORBELUNE_NULL_POINTER and writes nothing. Any other failure sets every output to 0.
 *   Neither function throws, keeps state between calls (the calendar is read at load) or
 *   allocates; both are thread-safe.
 */
#ifndef ORBELUNE_H
#define ORBELUNE_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(ORBELUNE_BUILDING)
#define ORBELUNE_API __declspec(dllexport)
#else
#define ORBELUNE_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define ORBELUNE_API __attribute__((visibility("default")))
#else
#define ORBELUNE_API
#endif

#if defined(_WIN32)
#define ORBELUNE_CALL __stdcall
#else
#define ORBELUNE_CALL
#endif

#define ORBELUNE_OK 0
#define ORBELUNE_NULL_POINTER 1
#define ORBELUNE_INVALID_DATE 2
#define ORBELUNE_OUT_OF_RANGE 3
#define ORBELUNE_INTERNAL_ERROR 4
#define ORBELUNE_CORRECTIONS_REFUSED 5

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Gregorian gy-gm-gd to Hijri *hy-*hm-*hd, and the weekday of that day in *weekday.
 * An impossible Gregorian date (31 February, month 13, 29 February of a common year) returns
 * ORBELUNE_INVALID_DATE whatever its year, 0 and 10000 included; a possible one outside the range
 * returns ORBELUNE_OUT_OF_RANGE.
 */
ORBELUNE_API int32_t ORBELUNE_CALL G2HA(int32_t gy, int32_t gm, int32_t gd, int32_t* hy,
                                        int32_t* hm, int32_t* hd, int32_t* weekday);

/*
 * Hijri *hy-*hm-*hd to Gregorian *gy-*gm-*gd, and the weekday of that day in *weekday.
 * Lenient about month length only: a day from the month's length + 1 up to 30 (day 30 of a 29-day
 * month, day 29 or 30 of the 28-day month 1364-08) gives the first day of the next month.
 * Month outside 1..12, day outside 1..30 returns ORBELUNE_INVALID_DATE; year < 1 or a result
 * after 31 December 9999 returns ORBELUNE_OUT_OF_RANGE. The inputs are read before any output
 * is written, so an output may share storage with an input.
 */
ORBELUNE_API int32_t ORBELUNE_CALL H2GA(int32_t* hy, int32_t* hm, int32_t* hd, int32_t* gy,
                                        int32_t* gm, int32_t* gd, int32_t* weekday);

/*
 * Optional (older libraries lack it: bind it by name, and do without it when it is absent): which
 * calendar is in force, as UTF-8 text of a few lines ending in "\n": Orbelune 0.1.0: Umm al-Qura
 * table 1356-01 to 1500-12 (built in, official), ... corrections: none (looked for PLACE, PLACE)  |
 * corrections: FILE, N lines |  corrections: FILE refused, ...: line 3: why line 3: 1446-10 starts
 * 2025-03-31 | source     one line for each correction changed: 1446-09 2025-03-01 30 days (table
 * 2025-03-01 29 days)   each month that differs With corrections_file NULL, the calendar in force
 * in this process; with a path (UTF-8), the calendar that file would put in force, checked and not
 * applied. Writes at most capacity bytes, the closing NUL included, into text (nothing when
 * capacity is 0) and the length of the whole text into *length, so a caller can ask again with room
 * for it. Returns ORBELUNE_OK; ORBELUNE_CORRECTIONS_REFUSED when the file was refused (the table
 * alone is then in force, or would be); ORBELUNE_NULL_POINTER when length is null, or text is null
 * with capacity > 0.
 */
ORBELUNE_API int32_t ORBELUNE_CALL OrbeluneCalendarVersion(const char* corrections_file, char* text,
                                                           int32_t capacity, int32_t* length);

/*
 * The two functions as pointers, for callers that load the library at run time and bind the
 * names G2HA and H2GA themselves (dlsym, GetProcAddress): the convention is part of the type, so
 * a 32-bit Windows caller cannot bind them as cdecl by mistake.
 */
typedef int32_t(ORBELUNE_CALL* OrbeluneG2HA)(int32_t gy, int32_t gm, int32_t gd, int32_t* hy,
                                             int32_t* hm, int32_t* hd, int32_t* weekday);
typedef int32_t(ORBELUNE_CALL* OrbeluneH2GA)(int32_t* hy, int32_t* hm, int32_t* hd, int32_t* gy,
                                             int32_t* gm, int32_t* gd, int32_t* weekday);
typedef int32_t(ORBELUNE_CALL* OrbeluneCalendarVersionProc)(const char* corrections_file,
                                                            char* text, int32_t capacity,
                                                            int32_t* length);

#ifdef __cplusplus
}
#endif

#endif /* ORBELUNE_H */
