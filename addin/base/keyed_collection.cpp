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

void RaiseDuplicateKey() { host::RaiseRuntime(host::kKeyAlreadyAssociated); }
void RaiseAbsentKey() { host::RaiseRuntime(host::kInvalidProcedureCall); }
void RaiseBadPosition() { host::RaiseRuntime(host::kSubscriptOutOfRange); }

}  // namespace lunavant::base::detail
