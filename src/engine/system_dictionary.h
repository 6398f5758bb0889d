#pragma once
// The read-only system dictionary of a direction ("ecdict" for EC, "cedict" for CE): a block
// index <base>.IDX and a data file <base>.DAT of scrambled 4096-byte blocks (layout in
// docs/formats/dictionary.md). The index is held in memory; the data file is read one block
// at a time, when a look-up first needs it, and the parsed block is kept (up to
// kCachedBlocks of them, the least recently used given up first): a delivered dictionary
// fits whole, so after the first sentences the analysis reads nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>
#include <string_view>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"
#include "engine/dictionary_source.h"

namespace tavricat {

class SystemDictionary {
public:
    // Closes any open dictionary; then opens <basePath>.IDX and <basePath>.DAT (extensions
    // found in any ASCII case). True only when both exist and the index could be read; on
    // false, openError() says why. `fs` must outlive the open dictionary: blocks are read
    // through it on demand.
    bool open(FileSystem& fs, const std::string& basePath);
    void close();
    bool isOpen() const { return m_fs != nullptr; }
    // Why the last open() returned false (NotFound when a file is missing); ok otherwise.
    const Status& openError() const { return m_openError; }

    // The value stored for the trimmed key (exact match in list order, so ASCII case is
    // ignored); empty when absent or when no dictionary is open.
    std::string lookupKey(std::string_view key);

    // The key and value lists of the block that holds `s` if any block does (never null
    // pointers; empty lists when no dictionary is open). The pointed-to lists change with the
    // next lookupKey/listsFor/loadDictBlock call.
    KeyValueLists listsFor(std::string_view s);

    // The data block that would hold `s`: index line k equal to s gives block k + 1; s between
    // lines k-1 and k gives block k; s below line 0 (or an empty index) gives block 1.
    int blockFor(std::string_view s) const;

    // Makes block n the loaded block, reading it only when n is not already loaded. A block
    // beyond the end of the file, or one whose layout is broken (key length past the block,
    // key and value line counts that differ), loads as an empty block.
    void loadDictBlock(int n);

    // Number of blocks read from the data file since open(): a block is read once while it
    // stays among the kept ones.
    std::size_t blockReads() const { return m_blockReads; }
    int loadedBlock() const { return m_loadedBlock; }
    const LineList& dictIndex() const { return m_dictIndex; }
    const LineList& blockKeys() const { return m_current ? m_current->keys : kNoLines; }
    const LineList& blockValues() const { return m_current ? m_current->values : kNoLines; }

    // Parsed blocks kept at most (16 MB of data): more than the delivered dictionaries hold.
    static constexpr std::size_t kCachedBlocks = 4096;

private:
    static constexpr int kNoBlock = -1;

    struct CachedBlock {
        int number = kNoBlock;
        std::uint64_t lastUse = 0;
        LineList keys, values;
    };
    static const LineList kNoLines;

    // The kept block of number n, read and parsed when it is not kept (null when the read
    // failed: nothing is kept then, so that the next look-up tries again).
    CachedBlock* keptBlock(int n);

    FileSystem* m_fs = nullptr;
    std::string m_datPath;
    LineList m_dictIndex;
    int m_loadedBlock = kNoBlock;
    const CachedBlock* m_current = nullptr;  // the loaded block; null: none, or an empty one
    std::size_t m_blockReads = 0;
    std::vector<CachedBlock> m_blocks;      // at most kCachedBlocks; never moved once placed
    std::vector<std::int32_t> m_slotOf;     // block number -> index in m_blocks, or -1
    std::uint64_t m_uses = 0;
    Status m_openError;
};

// Reads both files of the dictionary <basePath> whole and checks that they belong together:
// the index a block-scrambled text of non-empty lines in strict list order, the data file
// whole blocks, one after the unused block 0 for each index line, each block readable and
// starting with its index line. NotFound when a file is missing; otherwise an error whose
// message (GBK) names the damaged file and what is wrong with it. A damaged dictionary would
// answer "not found" for every word in the blocks it gets wrong.
Status checkDictionaryFiles(FileSystem& fs, const std::string& basePath);

// Splits the unscrambled bytes of one data block into its key and value lists. False (and
// both lists empty) when the block is shorter than a whole block or its layout is broken.
bool parseDictBlock(std::string_view block, LineList& keys, LineList& values);

}  // namespace tavricat
