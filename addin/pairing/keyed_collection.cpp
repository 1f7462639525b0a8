// SPDX-License-Identifier: MIT
#include "addin/pairing/keyed_collection.h"

#include <cctype>

namespace lunavant::pairing::detail {

std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) {
    // Digits and punctuation fold to themselves in every locale; keys are mostly field numbers.
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || byte >= 0x80) c = static_cast<char>(std::tolower(byte));
  }
  return folded;
}

void RaiseDuplicateKey() {
  host::Raise(host::kKeyAlreadyAssociated,
              "This key is already associated with an element of this collection");
}
void RaiseAbsentKey() {
  host::Raise(host::kInvalidProcedureCall, "Invalid procedure call or argument");
}
void RaiseBadPosition() { host::Raise(host::kSubscriptOutOfRange, "Subscript out of range"); }

}  // namespace lunavant::pairing::detail
