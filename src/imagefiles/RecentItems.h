#pragma once
// The last few values made from keys, most recently used first. A program asks again and again
// about the same few palettes, so what was made for them is kept instead of made again.

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

namespace modPalettes {

template <typename Key, typename Value, std::size_t Kept>
class RecentItems {
public:
    // The value kept for key, or make() kept for it now (the least recently used goes when more
    // than Kept would be kept). Safe to call from several threads.
    template <typename Make>
    Value Find(const Key& key, Make make) {
        const std::lock_guard<std::mutex> lock(mutex_);
        const auto found = std::find_if(items_.begin(), items_.end(),
                                        [&](const std::pair<Key, Value>& item) { return item.first == key; });
        if (found != items_.end()) {
            std::rotate(items_.begin(), found, found + 1);
        } else {
            items_.insert(items_.begin(), std::pair<Key, Value>(key, make()));
            if (items_.size() > Kept) items_.pop_back();
        }
        return items_.front().second;
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<Key, Value>> items_;
};

}  // namespace modPalettes
