#include "base/settings_store.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "base/line_list.h"

namespace tavricat {

namespace {

std::string foldKey(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c + 32);
    return out;
}

std::string trimBlanks(std::string_view text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

std::optional<long long> parseWhole(const std::string& text) {
    std::string t = trimBlanks(text);
    if (t.empty()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    long long value = std::strtoll(t.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') return std::nullopt;
    return value;
}

}  // namespace

Result<SettingsStore> SettingsStore::open(FileSystem& fs, std::string path) {
    SettingsStore store;
    store.m_path = std::move(path);
    if (!fs.exists(store.m_path)) return store;
    Result<LineList> lines = loadLines(fs, store.m_path);
    if (!lines) return lines.status();
    std::string section;
    for (std::string& text : *lines) {
        Line line;
        std::string trimmed = trimBlanks(text);
        if (trimmed.size() >= 2 && trimmed.front() == '[' && trimmed.back() == ']') {
            section = trimBlanks(std::string_view(trimmed).substr(1, trimmed.size() - 2));
            line.isSection = true;
        } else if (std::size_t eq = text.find('='); eq != std::string::npos && !section.empty() &&
                                                    trimmed.front() != ';' && trimmed.front() != '#') {
            line.isKey = true;
            line.key = trimBlanks(std::string_view(text).substr(0, eq));
            line.value = text.substr(eq + 1);
        }
        line.section = section;
        line.text = std::move(text);
        store.m_lines.push_back(std::move(line));
    }
    return store;
}

SettingsStore::Line* SettingsStore::find(const std::string& section, const std::string& key) {
    return const_cast<Line*>(static_cast<const SettingsStore*>(this)->find(section, key));
}

const SettingsStore::Line* SettingsStore::find(const std::string& section, const std::string& key) const {
    std::string s = foldKey(section), k = foldKey(key);
    // The last assignment wins, as when a key is given twice.
    const Line* found = nullptr;
    for (const Line& line : m_lines)
        if (line.isKey && foldKey(line.section) == s && foldKey(line.key) == k) found = &line;
    return found;
}

std::optional<std::string> SettingsStore::readRaw(const std::string& section, const std::string& key) const {
    const Line* line = find(section, key);
    if (!line) return std::nullopt;
    return line->value;
}

std::string SettingsStore::readString(const std::string& section, const std::string& key,
                                      const std::string& fallback) const {
    return readRaw(section, key).value_or(fallback);
}

std::int32_t SettingsStore::readInteger(const std::string& section, const std::string& key,
                                        std::int32_t fallback) const {
    std::optional<std::string> raw = readRaw(section, key);
    if (!raw) return fallback;
    std::optional<long long> value = parseWhole(*raw);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() || *value > std::numeric_limits<std::int32_t>::max())
        return fallback;
    return static_cast<std::int32_t>(*value);
}

bool SettingsStore::readBool(const std::string& section, const std::string& key, bool fallback) const {
    std::optional<std::string> raw = readRaw(section, key);
    if (!raw) return fallback;
    if (std::optional<long long> value = parseWhole(*raw)) return *value != 0;
    std::string word = foldKey(trimBlanks(*raw));
    if (word == "true") return true;
    if (word == "false") return false;
    return fallback;
}

void SettingsStore::writeString(const std::string& section, const std::string& key, const std::string& value) {
    std::string clean = value;
    for (char& c : clean)
        if (c == '\r' || c == '\n') c = ' ';  // one value, one line
    if (Line* line = find(section, key)) {
        line->value = clean;
        line->text = line->key + "=" + clean;
        return;
    }
    Line added;
    added.isKey = true;
    added.section = section;
    added.key = key;
    added.value = clean;
    added.text = key + "=" + clean;
    // Append at the end of the section, or start the section at the end of the file.
    std::string s = foldKey(section);
    std::size_t insertAt = m_lines.size();
    bool inSection = false;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        bool belongs = foldKey(m_lines[i].section) == s;
        if (belongs) {
            inSection = true;
            added.section = m_lines[i].section;
            insertAt = i + 1;
            // Keep blank lines that end a section after the new key.
            if (!m_lines[i].isKey && !m_lines[i].isSection && trimBlanks(m_lines[i].text).empty()) insertAt = i;
        }
    }
    if (!inSection) {
        if (!m_lines.empty() && !trimBlanks(m_lines.back().text).empty()) m_lines.push_back(Line{});
        Line header;
        header.isSection = true;
        header.section = section;
        header.text = "[" + section + "]";
        m_lines.push_back(std::move(header));
        insertAt = m_lines.size();
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(added));
}

void SettingsStore::writeInteger(const std::string& section, const std::string& key, std::int32_t value) {
    writeString(section, key, std::to_string(value));
}

void SettingsStore::writeBool(const std::string& section, const std::string& key, bool value) {
    writeString(section, key, value ? "1" : "0");
}

std::vector<SettingsStore::Entry> SettingsStore::entries() const {
    std::vector<Entry> out;
    for (const Line& line : m_lines)
        if (line.isKey) out.push_back({line.section, line.key, line.value});
    return out;
}

Status SettingsStore::save(FileSystem& fs) const {
    LineList lines;
    lines.reserve(m_lines.size());
    for (const Line& line : m_lines) lines.push_back(line.text);
    std::size_t slash = m_path.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        Status made = fs.makeDirectories(m_path.substr(0, slash));
        if (!made) return made;
    }
    return replaceLines(fs, m_path, lines);
}

}  // namespace tavricat
