// SPDX-License-Identifier: MIT
// The large project files the benchmarks open: groups of 20 tasks under a summary, each task
// after the one before, Start and Finish paired with Text1 and Text2 (aliases, Entry columns, a
// Hijri-shaped text on every task), scheduled and saved by the workbench as a 2003 document.
// 20,400 tasks make a file of about 22 MB.
//
//   WriteLargeProject(20'400, "/tmp/large.xml");
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace lunavant::bench {

// Writes the project of `tasks` tasks to `path`; fails with the workbench's exceptions.
void WriteLargeProject(std::int64_t tasks, const std::filesystem::path& path);

// The shape of a Hijri text; the values need not be the dates' own for reading and writing.
std::string HijriLike(std::int64_t n);

}  // namespace lunavant::bench
