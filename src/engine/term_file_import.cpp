#include "engine/term_file_import.h"

#include "engine/term_exchange.h"

#include "base/encoding.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "document/han_spacing.h"
#include "engine/term_base.h"
#include "engine/term_exchange.h"
#include "engine/term_import.h"

namespace tavricat {

namespace {

constexpr std::string_view kDeletePrefix = "dddit ";

bool containsNoCase(std::string_view text, std::string_view part) {
    return gbk::asciiLower(text).find(part) != std::string::npos;
}

// ";" and the full-width "；" become "|"; a GBK character is walked whole, so a trail byte
// that reads as ";" is never taken for one.
std::string barredMeanings(std::string_view meanings) {
    static const std::string kWideSemicolon = "；";
    std::string out;
    out.reserve(meanings.size());
    for (std::size_t i = 0; i < meanings.size();) {
        const auto byte = static_cast<unsigned char>(meanings[i]);
        if (byte >= 0x81 && i + 1 < meanings.size()) {
            if (meanings.compare(i, 2, kWideSemicolon) == 0) out += '|';
            else out.append(meanings.substr(i, 2));
            i += 2;
        } else {
            out += byte == ';' ? '|' : meanings[i];
            ++i;
        }
    }
    return out;
}

}  // namespace

TermFileKind termFileKindOf(std::string_view path) {
    if (containsNoCase(path, ".tbx")) return TermFileKind::Tbx;
    if (containsNoCase(path, ".csv") || containsNoCase(path, ".tsv")) return TermFileKind::Glossary;
    if (containsNoCase(path, ".saw")) return TermFileKind::ChangeLog;
    if (containsNoCase(path, ".txt")) return TermFileKind::TermList;
    return TermFileKind::KeyFile;
}

std::string termValuesPathOf(const std::string& keyPath) {
    std::string values = keyPath;
    if (!values.empty()) values.back() = '2';
    return values;
}

Result<std::vector<TermPair>> readTermFile(FileSystem& fs, const std::string& path, Direction direction) {
    if (termFileKindOf(path) == TermFileKind::Tbx) return readTbx(path, direction);
    if (termFileKindOf(path) == TermFileKind::Glossary) return readGlossary(fs, path);
    Result<LineList> lines = loadInputLines(fs, path);
    if (!lines) return lines.status();
    std::vector<TermPair> pairs;
    pairs.reserve(lines->size());
    switch (termFileKindOf(path)) {
    case TermFileKind::ChangeLog:
        for (const std::string& line : *lines) {
            const std::size_t caret = line.find('^');
            if (caret == std::string::npos) pairs.push_back({line, {}});
            else pairs.push_back({line.substr(0, caret), line.substr(caret + 1)});
        }
        break;
    case TermFileKind::TermList:
        for (const std::string& line : *lines) {
            const std::size_t tab = line.find('\t');
            if (tab == std::string::npos) pairs.push_back({line, "^^^"});
            else pairs.push_back({line.substr(0, tab), barredMeanings(std::string_view(line).substr(tab + 1)) + "^^^"});
        }
        break;
    case TermFileKind::Tbx:
    case TermFileKind::Glossary:
        break;  // read above
    case TermFileKind::KeyFile: {
        const std::string valuesPath = termValuesPathOf(path);
        if (valuesPath == path)
            return Status::error(ErrorKind::BadInput, "词库文件: " + encoding::utf8ToGbkLossy(path) + " 不是词条文件(*.01)！");
        Result<LineList> values = loadInputLines(fs, valuesPath);
        if (!values) return values.status();
        for (std::size_t i = 0; i < lines->size(); ++i)
            pairs.push_back({(*lines)[i], i < values->size() ? (*values)[i] : std::string()});
        break;
    }
    }
    return pairs;
}

TermBaseMerger::TermBaseMerger(TermBase& base, bool ceDirection, bool replace)
    : m_base(base), m_ce(ceDirection), m_replace(replace) {}

TermBaseMerger::~TermBaseMerger() { finish(); }

std::size_t TermBaseMerger::size() const { return m_base.size() - m_removedCount + m_pending.size(); }

void TermBaseMerger::merge(std::string_view rawKey, std::string_view rawValue) {
    ++m_counts.processed;
    const std::string_view trimmed = gbk::trim(rawKey);
    if (trimmed.rfind(kDeletePrefix, 0) == 0) {
        std::string_view rest = trimmed.substr(kDeletePrefix.size());
        const std::string doomed = m_ce ? AddSpaceInCChars(rest) : std::string(gbk::trim(rest));
        if (doomed.empty()) return;
        if (auto pending = m_pending.find(doomed); pending != m_pending.end()) {
            m_pending.erase(pending);
            ++m_counts.deleted;
            return;
        }
        const SortedFind at = m_base.find(doomed);
        if (!at.found || (at.index < m_removed.size() && m_removed[at.index])) return;
        if (m_removed.empty()) m_removed.assign(m_base.size(), 0);
        m_removed[at.index] = 1;
        ++m_removedCount;
        ++m_counts.deleted;
        return;
    }
    std::string key = m_ce ? AddSpaceInCChars(trimmed) : std::string(trimmed);
    if (key.empty()) return;
    std::string value = ClearSpaceInCChars(rawValue);

    std::string* stored = nullptr;
    if (auto pending = m_pending.find(key); pending != m_pending.end()) {
        stored = &pending->second;
    } else {
        const SortedFind at = m_base.find(key);
        if (at.found && !(at.index < m_removed.size() && m_removed[at.index])) stored = &m_base.termEntries[at.index];
    }
    if (!stored) {
        m_pending.emplace(std::move(key), std::move(value));
        ++m_counts.added;
        return;
    }
    if (*stored == value) return;
    *stored = m_replace ? std::move(value) : mergeTermValues(*stored, value);
    ++m_counts.changed;
}

void TermBaseMerger::finish() {
    if (m_pending.empty() && m_removedCount == 0) return;
    LineList keys, entries;
    const std::size_t total = size();
    keys.reserve(total);
    entries.reserve(total);
    auto next = m_pending.begin();
    for (std::size_t i = 0; i < m_base.size(); ++i) {
        if (i < m_removed.size() && m_removed[i]) continue;
        for (; next != m_pending.end() && compareListOrder(next->first, m_base.termKeys[i]) < 0; ++next) {
            keys.push_back(next->first);
            entries.push_back(std::move(next->second));
        }
        keys.push_back(std::move(m_base.termKeys[i]));
        entries.push_back(std::move(m_base.termEntries[i]));
    }
    for (; next != m_pending.end(); ++next) {
        keys.push_back(next->first);
        entries.push_back(std::move(next->second));
    }
    m_base.termKeys = std::move(keys);
    m_base.termEntries = std::move(entries);
    m_pending.clear();
    m_removed.clear();
    m_removedCount = 0;
}

}  // namespace tavricat
