#pragma once
// The read-only system dictionary of a direction ("ecdict" for EC, "cedict" for CE): a block
// index <base>.IDX and a data file <base>.DAT of scrambled 4096-byte blocks (layout in
// docs/formats/dictionary.md). The index is held in memory; the data file is read one block
// at a time, and only when a look-up needs a block other than the one already loaded.

#include <cstddef>
#include <list>
#include <string>
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

    // Number of blocks read from the data file since open(): consecutive look-ups within one
    // block read it once.
    std::size_t blockReads() const { return m_blockReads; }
    int loadedBlock() const { return m_loadedBlock; }
    const LineList& dictIndex() const { return m_dictIndex; }
    const LineList& blockKeys() const { return m_blockKeys; }
    const LineList& blockValues() const { return m_blockValues; }

private:
    static constexpr int kNoBlock = -1;

    FileSystem* m_fs = nullptr;
    std::string m_datPath;
    LineList m_dictIndex;
    int m_loadedBlock = kNoBlock;
    LineList m_blockKeys;
    LineList m_blockValues;
    std::size_t m_blockReads = 0;
    // Recently used blocks, parsed, most recent first: a sentence's words fall into a few
    // dozen blocks, and going back to one of them costs no read.
    struct CachedBlock {
        int number;
        LineList keys, values;
    };
    std::list<CachedBlock> m_recentBlocks;
    static constexpr std::size_t kRecentBlocks = 64;
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
