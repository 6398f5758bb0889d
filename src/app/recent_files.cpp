#include "app/recent_files.h"

#include <algorithm>

namespace tavricat {

namespace {
std::string slotKey(int n) { return "rcfile" + std::to_string(n); }
}  // namespace

RecentFiles RecentFiles::read(const SettingsStore& store) {
    RecentFiles recent;
    for (int n = 0; n < kEntries; ++n) recent.m_captions[n] = store.readString("inisetup", slotKey(n), "");
    (void)store.readString("inisetup", slotKey(kEntries), "");  // slot 4 is always the separator
    return recent;
}

void RecentFiles::write(SettingsStore& store) const {
    for (int n = 0; n < kEntries; ++n) {
        if (m_captions[n] == kSeparator) break;
        store.writeString("inisetup", slotKey(n), m_captions[n]);
    }
}

void RecentFiles::touch(const std::string& path) {
    std::vector<std::string> all(m_captions.begin(), m_captions.end());
    all.push_back(kSeparator);
    auto same = std::find(all.begin(), all.end(), path);
    if (same != all.end()) all.erase(same);
    all.insert(all.begin(), path);
    for (int n = 0; n < kEntries; ++n) m_captions[n] = all[n];
}

std::vector<std::string> RecentFiles::visibleEntries() const {
    std::vector<std::string> out;
    for (const auto& caption : m_captions)
        if (!caption.empty()) out.push_back(caption);
    return out;
}

}  // namespace tavricat
