#include "engine/dictionary_writer.h"

#include <algorithm>
#include <cstring>

#include "base/line_list.h"
#include "base/list_order.h"
#include "engine/block_file.h"

namespace tavricat {

namespace {

using Pair = std::pair<std::string, std::string>;

// Key length bytes, key text, value text, terminating zero.
constexpr std::size_t kBlockOverhead = 2 + 1;

bool holdsLineBreakOrZero(const std::string& text) { return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

Status refuse(const std::string& key, const char* why) {
    return Status::error(ErrorKind::BadInput, "dictionary key \"" + key + "\": " + why);
}

Status checkPair(const Pair& pair) {
    if (pair.first.empty()) return refuse(pair.first, "empty key");
    if (holdsLineBreakOrZero(pair.first)) return refuse(pair.first, "the key holds a line break or a zero byte");
    if (holdsLineBreakOrZero(pair.second)) return refuse(pair.first, "the value holds a line break or a zero byte");
    if (kBlockOverhead + pair.first.size() + 2 + pair.second.size() + 2 > kBlockSize)
        return refuse(pair.first, "the key and its value do not fit in one 4096-byte block");
    return Status::ok();
}

// The scrambled bytes of one data block holding `pairs[begin, end)`.
std::string packBlock(const std::vector<Pair>& pairs, std::size_t begin, std::size_t end) {
    std::string keyText, valueText;
    for (std::size_t i = begin; i < end; ++i) {
        keyText += pairs[i].first;
        keyText += "\r\n";
        valueText += pairs[i].second;
        valueText += "\r\n";
    }
    std::string block(kBlockSize, '\0');
    block[0] = static_cast<char>((keyText.size() >> 8) & 0xFF);
    block[1] = static_cast<char>(keyText.size() & 0xFF);
    std::memcpy(block.data() + 2, keyText.data(), keyText.size());
    std::memcpy(block.data() + 2 + keyText.size(), valueText.data(), valueText.size());
    scrambleBlock(block.data(), block.size());
    return block;
}

}  // namespace

Status writeSystemDictionary(FileSystem& fs, const std::string& basePath, std::vector<Pair> pairs,
                             DictionaryWriteStats* stats) {
    for (const Pair& pair : pairs)
        if (Status checked = checkPair(pair); !checked) return checked;

    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const Pair& a, const Pair& b) { return compareListOrder(a.first, b.first) < 0; });
    const std::size_t given = pairs.size();
    pairs.erase(std::unique(pairs.begin(), pairs.end(),
                            [](const Pair& a, const Pair& b) { return compareListOrder(a.first, b.first) == 0; }),
                pairs.end());

    std::string data(kBlockSize, '\0');
    scrambleBlock(data.data(), data.size());
    LineList index;
    std::size_t begin = 0;
    while (begin < pairs.size()) {
        std::size_t used = kBlockOverhead;
        std::size_t end = begin;
        while (end < pairs.size()) {
            const std::size_t size = pairs[end].first.size() + 2 + pairs[end].second.size() + 2;
            if (used + size > kBlockSize) break;
            used += size;
            ++end;
        }
        index.push_back(pairs[begin].first);
        data += packBlock(pairs, begin, end);
        begin = end;
    }

    if (Status written = replaceFile(fs, basePath + ".DAT", data); !written) return written;
    if (Status written = saveBlockLines(fs, basePath + ".IDX", index); !written) return written;
    if (stats) {
        stats->keys = pairs.size();
        stats->droppedDuplicates = given - pairs.size();
        stats->dataBlocks = index.size();
    }
    return Status::ok();
}

}  // namespace tavricat
