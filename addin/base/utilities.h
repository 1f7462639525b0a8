// SPDX-License-Identifier: MIT
// The error box through which unexpected failures reach the user, and the two lookups the whole
// add-in uses: key presence in a keyed collection and whole-element membership in a list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "addin/base/keyed_collection.h"
#include "addin/host/error.h"

namespace lunavant::base {

// The application title shown in the first line of the error box.
inline constexpr std::string_view kProductName = "Lunavant";

// The title of every message box of the add-in: empty until the catalogues are filled.
const std::string& MsgTitle();
void SetMsgTitle(std::string title);

// Shows the record in one OK box with the exclamation icon, titled MsgTitle, as three lines joined
// by CR LF; then clears the record. Modal: returns once the user has dismissed it. Without a host
// application there is nowhere to show it, and the record is only cleared.
void ShowError(host::ErrorRecord& record);

// True when the collection holds the key, whatever its item; never fails.
template <class T>
bool CollectionHasKey(std::string_view key, const KeyedCollection<T>& collection) {
  return collection.Contains(key);
}

// The key text of a number in a keyed collection: decimal, no sign for positives, no padding.
std::string KeyText(std::int64_t number);

namespace detail {
inline std::string ElementText(std::int32_t number) { return KeyText(number); }
inline std::string_view ElementText(std::string_view text) { return text; }
inline std::string_view ElementText(const std::string& text) { return text; }
inline std::string_view ElementText(const char* text) { return text; }
}  // namespace detail

// Whole-element, case-sensitive membership by text form, so the number 188743715 and the text
// "188743715" are the same member and there is no partial match inside an element. Note: as the
// elements are compared joined by a NUL, the empty text is a member of an empty list.
template <class V, class E>
bool ArrayContains(const V& value, const std::vector<E>& list) {
  const auto wanted = detail::ElementText(value);
  if (list.empty()) return std::string_view(wanted).empty();
  for (const E& element : list) {
    if (detail::ElementText(element) == wanted) return true;
  }
  return false;
}

}  // namespace lunavant::base
