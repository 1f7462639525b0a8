// SPDX-License-Identifier: MIT
// The keyed collection the add-in keeps its maps in: items in insertion order, each under an
// optional text key. Keys match without regard to letter case; adding a present key and fetching an
// absent one fail, as do positions outside 1..Count().
//
//   KeyedCollection<std::int32_t> pairs;
//   pairs.Add(188743715, "188743731");
//   pairs.Item("188743731");  // 188743715
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "addin/host/error.h"

namespace lunavant::base {

namespace detail {
// Keys are field numbers, titles and task numbers: ASCII folding is the letter case that matters.
std::string FoldKey(std::string_view key);
// Whether FoldKey would change the key; most keys are digits, which it leaves as they are.
bool FoldChanges(std::string_view key);
// Lets the index be searched with a view, so a key that folds to itself is not copied.
struct KeyHash {
  using is_transparent = void;
  // FNV-1a: keys are a few characters, for which a call to the library's hash costs more.
  std::size_t operator()(std::string_view key) const {
    std::uint64_t hash = 14695981039346656037u;
    for (const char c : key) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211u;
    return static_cast<std::size_t>(hash);
  }
};
[[noreturn]] void RaiseDuplicateKey();
[[noreturn]] void RaiseAbsentKey();
[[noreturn]] void RaiseBadPosition();
}  // namespace detail

template <class T>
class KeyedCollection {
 public:
  KeyedCollection() = default;
  // The key index points into the entry list, so a copy would share it; moves keep it valid.
  KeyedCollection(const KeyedCollection&) = delete;
  KeyedCollection& operator=(const KeyedCollection&) = delete;
  KeyedCollection(KeyedCollection&&) noexcept = default;
  KeyedCollection& operator=(KeyedCollection&&) noexcept = default;

  std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }

  // Fails with kKeyAlreadyAssociated when the key is present; the collection is then unchanged.
  void Add(T item, std::string_view key) {
    std::string folded = detail::FoldKey(key);
    if (index_.contains(folded)) detail::RaiseDuplicateKey();
    entries_.push_back(Entry{std::string(key), std::move(item)});
    index_.emplace(std::move(folded), std::prev(entries_.end()));
  }
  void Add(T item) { entries_.push_back(Entry{std::nullopt, std::move(item)}); }

  bool Contains(std::string_view key) const { return Lookup(key) != index_.end(); }

  // Fails with kInvalidProcedureCall for an absent key.
  const T& Item(std::string_view key) const { return Find(key)->item; }
  // The item under `key`, or null when the key is absent: Contains and Item in one lookup.
  const T* ItemIfPresent(std::string_view key) const {
    const auto found = Lookup(key);
    return found == index_.end() ? nullptr : &found->second->item;
  }
  // Fails with kSubscriptOutOfRange outside 1..Count().
  const T& Item(std::int32_t position) const { return At(position)->item; }

  void Remove(std::string_view key) { Erase(Find(key)); }
  void Remove(std::int32_t position) { Erase(At(position)); }

 private:
  struct Entry {
    std::optional<std::string> key;
    T item;
  };
  using Entries = std::list<Entry>;
  using Iterator = typename Entries::const_iterator;

  using Index = std::unordered_map<std::string, Iterator, detail::KeyHash, std::equal_to<>>;

  typename Index::const_iterator Lookup(std::string_view key) const {
    return detail::FoldChanges(key) ? index_.find(detail::FoldKey(key)) : index_.find(key);
  }
  Iterator Find(std::string_view key) const {
    auto found = Lookup(key);
    if (found == index_.end()) detail::RaiseAbsentKey();
    return found->second;
  }
  Iterator At(std::int32_t position) const {
    if (position < 1 || position > Count()) detail::RaiseBadPosition();
    // Walking from the nearer end keeps removal of the first or last entry cheap.
    if (position <= Count() / 2 + 1) return std::next(entries_.begin(), position - 1);
    return std::prev(entries_.end(), Count() - position + 1);
  }
  void Erase(Iterator at) {
    if (at->key) index_.erase(detail::FoldKey(*at->key));
    entries_.erase(at);
  }

  Entries entries_;
  Index index_;
};

}  // namespace lunavant::base
