/* SPDX-License-Identifier: MIT */
/* A real shared library that exports neither converter function: the library a user might find
   under the converter's name after a failed or partial install. */
int lunavant_not_a_converter(void) { return 0; }
