// SPDX-License-Identifier: MIT
// The floor of opening a project file: pugixml's own load of the whole document, nothing read
// from it. The whole process is timed beside `lunavant show` of the same file.
//   bare_parse FILE
#include <cstdio>
#include <pugixml.hpp>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bare_parse FILE\n");
    return 2;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed = doc.load_file(argv[1]);
  if (!parsed) {
    std::fprintf(stderr, "bare_parse: %s\n", parsed.description());
    return 1;
  }
  return 0;
}
