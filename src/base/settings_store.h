#pragma once
// The settings store "tavricat25cecmini": sections of key/value pairs kept in one ini file.
// Keys and sections match without regard to ASCII case, as registry names do. Values are
// text (UTF-8 in the file and in memory; the store is an edge of the system, like the
// terminal). Typing rules:
//  - an integer is written as its decimal text; reading text that is not a whole number
//    (or is out of 32-bit range) yields the default;
//  - a boolean is written as 1 or 0; any non-zero number reads as true, and "true"/"false"
//    are understood; other text yields the default;
//  - an absent key yields its default.
// Lines the store does not understand, and keys it does not know, are kept as they were.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

class SettingsStore {
public:
    // Loads `path`; a missing file is an empty store.
    static Result<SettingsStore> open(FileSystem& fs, std::string path);

    std::optional<std::string> readRaw(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key, const std::string& fallback) const;
    std::int32_t readInteger(const std::string& section, const std::string& key, std::int32_t fallback) const;
    bool readBool(const std::string& section, const std::string& key, bool fallback) const;

    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, std::int32_t value);
    void writeBool(const std::string& section, const std::string& key, bool value);

    // All (section, key, value) triples in file order.
    struct Entry {
        std::string section, key, value;
    };
    std::vector<Entry> entries() const;

    // Writes the whole store back through a scratch file.
    Status save(FileSystem& fs) const;
    const std::string& path() const { return m_path; }

private:
    struct Line {
        std::string text;        // the line as read, used for lines that are not key=value
        std::string section;     // for key lines and section headers: the section name
        std::string key, value;  // for key lines
        bool isKey = false, isSection = false;
    };
    Line* find(const std::string& section, const std::string& key);
    const Line* find(const std::string& section, const std::string& key) const;

    std::string m_path;
    std::vector<Line> m_lines;
};

}  // namespace tavricat
