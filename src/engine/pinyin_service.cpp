#include "engine/pinyin_service.h"

#include <vector>

#include "base/gbk.h"
#include "base/line_list.h"

namespace tavricat {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The byte offsets where the characters of `text` start, with text.size() at the end.
std::vector<std::size_t> characterStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t pos = 0; pos < text.size(); pos += gbk::charLength(text, pos)) starts.push_back(pos);
    starts.push_back(text.size());
    return starts;
}

}  // namespace

Status PinyinService::load(FileSystem& fs, const std::string& path) {
    Result<std::string> text = fs.readFile(path);
    if (!text) return text.status();
    loadText(*text);
    return Status::ok();
}

void PinyinService::loadText(std::string_view text) {
    m_readings.clear();
    m_longestWord = 0;
    for (const std::string& line : splitLines(text)) {
        const std::size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        std::string word(gbk::trim(std::string_view(line).substr(0, tab)));
        std::string joined;
        for (char c : std::string_view(line).substr(tab + 1))
            if (!isBlank(c)) joined += c;
        if (word.empty() || joined.empty()) continue;
        const std::size_t chars = characterStarts(word).size() - 1;
        if (m_readings.emplace(std::move(word), std::move(joined)).second && chars > m_longestWord)
            m_longestWord = chars;
    }
}

std::string PinyinService::pinyinOf(std::string_view gbkText) const {
    const std::vector<std::size_t> starts = characterStarts(gbkText);
    const std::size_t count = starts.size() - 1;
    std::string out;
    std::string unknown;  // the run of characters passed through, not yet written
    auto emit = [&out](std::string_view word) {
        if (word.empty()) return;
        if (!out.empty()) out += ' ';
        out += word;
    };
    std::size_t i = 0;
    while (i < count) {
        const std::size_t begin = starts[i];
        if (isBlank(gbkText[begin])) {
            emit(unknown);
            unknown.clear();
            ++i;
            continue;
        }
        std::size_t matched = 0;
        const std::string* reading = nullptr;
        for (std::size_t n = std::min(m_longestWord, count - i); n >= 1 && reading == nullptr; --n) {
            auto it = m_readings.find(std::string(gbkText.substr(begin, starts[i + n] - begin)));
            if (it != m_readings.end()) {
                reading = &it->second;
                matched = n;
            }
        }
        if (reading == nullptr) {
            unknown.append(gbkText.substr(begin, starts[i + 1] - begin));
            ++i;
            continue;
        }
        emit(unknown);
        unknown.clear();
        emit(*reading);
        i += matched;
    }
    emit(unknown);
    return out;
}

}  // namespace tavricat
