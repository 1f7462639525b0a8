// SPDX-License-Identifier: MIT
#include "addin/pairing/keyed_collection.h"

#include <cctype>

namespace lunavant::pairing::detail {

std::string FoldKey(std::string_view key) {
  std::string folded(key);
  for (char& c : folded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
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
