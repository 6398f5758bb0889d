#pragma once
// The recent-files list of the File menu: four entries, most recent first, followed by a
// separator whose caption is "-". Entries with an empty caption are hidden.

#include <array>
#include <string>
#include <vector>

#include "base/settings_store.h"

namespace tavricat {

class RecentFiles {
public:
    static constexpr int kEntries = 4;
    static constexpr const char* kSeparator = "-";

    // Reads rcfile0..rcfile3 ("rcfile4" is read by tradition but always becomes the separator).
    static RecentFiles read(const SettingsStore& store);
    // Writes rcfile<n> for n = 0..3, stopping at the first caption "-".
    void write(SettingsStore& store) const;

    // Puts `path` at the head: the first caption equal to it (exact, case-sensitive) is
    // removed, the path inserted first, the first four strings become the entries.
    void touch(const std::string& path);

    // The four entry captions (empty ones included) in menu order.
    const std::array<std::string, kEntries>& captions() const { return m_captions; }
    // The non-empty entries, in menu order (what the menu shows).
    std::vector<std::string> visibleEntries() const;

private:
    std::array<std::string, kEntries> m_captions;
};

}  // namespace tavricat
