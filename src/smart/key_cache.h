// KeyCache: a bounded map from text keys to values that forgets the key
// it learned earliest when a new key arrives at full capacity. Lookups do
// not refresh a key, so the eviction order is the insertion order.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace ferrolune::smart {

struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const noexcept {
    return std::hash<std::string_view>{}(text);
  }
};

template <class V>
class KeyCache {
 public:
  explicit KeyCache(std::size_t capacity) : capacity_(capacity) {}

  const V* find(std::string_view key) const {
    auto found = entries_.find(key);
    return found == entries_.end() ? nullptr : &found->second;
  }

  // A key already present keeps its place in the eviction order.
  void insert(std::string_view key, V value) {
    if (auto found = entries_.find(key); found != entries_.end()) {
      found->second = std::move(value);
      return;
    }
    if (capacity_ == 0) return;
    if (entries_.size() >= capacity_) {
      entries_.erase(order_.front());
      order_.pop_front();
    }
    order_.emplace_back(key);
    entries_.emplace(std::string(key), std::move(value));
  }

  std::size_t size() const noexcept { return entries_.size(); }

 private:
  std::size_t capacity_;
  std::unordered_map<std::string, V, TextHash, std::equal_to<>> entries_;
  std::deque<std::string> order_;
};

}  // namespace ferrolune::smart
