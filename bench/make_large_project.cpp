// SPDX-License-Identifier: MIT
// Writes one of the benchmarks' large project files, for timing whole programs on it:
//   make_large_project 20400 /tmp/large.xml
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "bench/large_project.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoll(argv[1]) <= 0) {
    std::fprintf(stderr, "usage: make_large_project TASKS FILE\n");
    return 2;
  }
  try {
    lunavant::bench::WriteLargeProject(std::atoll(argv[1]), argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_large_project: %s\n", e.what());
    return 1;
  }
  return 0;
}
