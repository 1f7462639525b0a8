// SPDX-License-Identifier: MIT
#include "addin/base/keyed_collection.h"

#include <cctype>

namespace lunavant::base::detail {

namespace {
// Digits, small letters and punctuation fold to themselves in every locale.
bool MayFold(unsigned char byte) { return (byte >= 'A' && byte <= 'Z') || byte >= 0x80; }
}  // namespace

std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) {
    const auto byte = static_cast<unsigned char>(c);
    if (MayFold(byte)) c = static_cast<char>(std::tolower(byte));
  }
  return folded;
}

bool FoldChanges(std::string_view key) {
  for (const char c : key) {
    const auto byte = static_cast<unsigned char>(c);
    if (MayFold(byte) && std::tolower(byte) != byte) return true;
  }
  return false;
}

void RaiseDuplicateKey() {
  host::Raise(host::kKeyAlreadyAssociated,
              "This key is already associated with an element of this collection");
}
void RaiseAbsentKey() {
  host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
}
void RaiseBadPosition() { host::Raise(host::kSubscriptOutOfRange, "Subscript out of range"); }

}  // namespace lunavant::base::detail
