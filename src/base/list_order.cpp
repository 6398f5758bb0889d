#include "base/list_order.h"

#include <algorithm>
#include <numeric>

#include "base/gbk.h"

namespace tavricat {

namespace {
inline unsigned char foldByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }
}  // namespace

int compareListOrder(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    const std::size_t n = std::min(a.size(), b.size());
    // Both strings are walked together; while they are equal so far, a double-byte character
    // starts at the same place in both, so one walk decides which bytes are trail bytes.
    while (i < n) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (gbk::isLeadByte(ca) || gbk::isLeadByte(cb)) {
            if (ca != cb) return ca < cb ? -1 : 1;
            // Same lead byte: compare the trail bytes unfolded.
            if (i + 1 >= n) break;
            unsigned char ta = static_cast<unsigned char>(a[i + 1]);
            unsigned char tb = static_cast<unsigned char>(b[i + 1]);
            if (ta != tb) return ta < tb ? -1 : 1;
            i += 2;
            continue;
        }
        unsigned char fa = foldByte(ca), fb = foldByte(cb);
        if (fa != fb) return fa < fb ? -1 : 1;
        ++i;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

SortedFind findSorted(const std::vector<std::string>& list, std::string_view key) {
    auto it = std::lower_bound(list.begin(), list.end(), key,
                               [](const std::string& item, std::string_view k) { return compareListOrder(item, k) < 0; });
    SortedFind result;
    result.index = static_cast<std::size_t>(it - list.begin());
    result.found = it != list.end() && compareListOrder(*it, key) == 0;
    return result;
}

bool isListOrdered(const std::vector<std::string>& list) {
    for (std::size_t i = 1; i < list.size(); ++i)
        if (compareListOrder(list[i - 1], list[i]) > 0) return false;
    return true;
}

void sortWithParallel(std::vector<std::string>& keys, std::vector<std::vector<std::string>*> parallel) {
    std::vector<std::size_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return compareListOrder(keys[x], keys[y]) < 0; });
    auto permute = [&](std::vector<std::string>& list) {
        std::vector<std::string> sorted;
        sorted.reserve(order.size());
        for (std::size_t i : order) sorted.push_back(std::move(list[i]));
        list = std::move(sorted);
    };
    for (auto* list : parallel) {
        if (list->size() < keys.size()) list->resize(keys.size());
        // Lines beyond the keys belong to no key; they keep their place after the sorted ones.
        std::vector<std::string> extra(std::make_move_iterator(list->begin() + keys.size()),
                                       std::make_move_iterator(list->end()));
        list->resize(keys.size());
        permute(*list);
        for (auto& line : extra) list->push_back(std::move(line));
    }
    permute(keys);
}

std::size_t insertSorted(std::vector<std::string>& list, std::string key) {
    auto it = std::upper_bound(list.begin(), list.end(), key,
                               [](const std::string& k, const std::string& item) { return compareListOrder(k, item) < 0; });
    std::size_t index = static_cast<std::size_t>(it - list.begin());
    list.insert(it, std::move(key));
    return index;
}

}  // namespace tavricat
