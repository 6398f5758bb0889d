#pragma once
// Merging whole term files into a term base ("更新词库"): change logs (.saw: "key^value" or
// "dddit key" per line), term lists (.txt: key TAB meanings separated by ";" or "；") and the
// key files of another term base (their values read from the file of the same name whose last
// character is "2"). An existing key is replaced or merged field by field.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "base/direction.h"
#include "base/file_system.h"
#include "base/list_order.h"
#include "base/status.h"

namespace tavricat {

class TermBase;

enum class TermFileKind { ChangeLog, TermList, KeyFile, Tbx, Glossary };

// By the name: ".saw" anywhere in it (any case) is a change log, ".txt" a term list, ".tbx" a
// TBX file, ".csv" or ".tsv" a glossary of another tool, any other name a key file.
TermFileKind termFileKindOf(std::string_view path);
// The values file of a key file: its path with the last character replaced by "2".
std::string termValuesPathOf(const std::string& keyPath);

struct TermPair {
    std::string key;
    std::string value;
};

// The key/value pairs of one file, one per line (empty lines included: they count as
// processed). A change-log line splits at its first "^" (a line without one is all key); a
// term-list line at its first TAB, its meanings' ";" and "；" becoming "|" and "^^^" appended.
// A file that cannot be read fails with a message naming it, and so does a key file whose
// values file is missing, which would otherwise blank or merge nothing into every entry.
// TBX files and glossaries: see term_exchange.h (`direction` says which side is the key).
Result<std::vector<TermPair>> readTermFile(FileSystem& fs, const std::string& path, Direction direction = Direction::EC);

struct TermMergeCounts {
    std::size_t processed = 0;
    std::size_t added = 0;
    std::size_t changed = 0;  // existing entries replaced or merged
    std::size_t deleted = 0;
};

// Merges pairs into a term base. A key "dddit " + key deletes that key. Any other key is
// trimmed (in CE with blanks put between its Chinese characters), its value loses the blanks
// between Chinese characters; a new key is added, an existing one replaced or merged
// (mergeTermValues). New keys and deletions are collected and written into the lists once, by
// finish() or the destructor, so that a long list costs one pass over the term base; until
// then the term base must not be changed by anyone else.
class TermBaseMerger {
public:
    TermBaseMerger(TermBase& base, bool ceDirection, bool replace);
    ~TermBaseMerger();
    TermBaseMerger(const TermBaseMerger&) = delete;
    TermBaseMerger& operator=(const TermBaseMerger&) = delete;

    void merge(std::string_view key, std::string_view value);
    void finish();
    const TermMergeCounts& counts() const { return m_counts; }
    // Entries as the term base will hold them after finish().
    std::size_t size() const;

private:
    TermBase& m_base;
    bool m_ce;
    bool m_replace;
    std::vector<char> m_removed;  // per line of the term base, lazily sized
    std::size_t m_removedCount = 0;
    std::map<std::string, std::string, ListOrderLess> m_pending;
    TermMergeCounts m_counts;
};

}  // namespace tavricat
