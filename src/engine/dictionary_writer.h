#pragma once
// Builds a system dictionary file pair (<base>.IDX, <base>.DAT) from key/value pairs: the
// tool side of SystemDictionary, used by data preparation, tests and benchmarks.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

struct DictionaryWriteStats {
    std::size_t keys = 0;               // pairs stored
    std::size_t droppedDuplicates = 0;  // pairs left out because an equal key came first
    std::size_t dataBlocks = 0;         // data blocks written (block 0 not counted)
};

// Sorts the pairs stably in list order and keeps the first pair of each run of equal keys
// (equal as the list order says, so "Apple" and "apple" are one key). Packs them into data
// blocks 1, 2, ... of 4096 bytes, each holding as many whole pairs as fit with its 2-byte key
// length, key lines, value lines (every line ended by CR LF) and a terminating zero byte;
// block 0 is written as a scrambled zero block. Index line k is the first key of block k + 1.
// Both files are written through a scratch file and a rename (.DAT first).
// Refused (BadInput, nothing written) when a key is empty or a key or value holds CR, LF or a
// zero byte, or a single pair cannot fit in one block; the message names the key.
Status writeSystemDictionary(FileSystem& fs, const std::string& basePath,
                             std::vector<std::pair<std::string, std::string>> pairs,
                             DictionaryWriteStats* stats = nullptr);

}  // namespace tavricat
