#pragma once
// Toneless pinyin of Chinese text, read from the readings table pinyin.dat of the program
// folder (layout in docs/formats/pinyin.md). Used for the pinyin forms offered beside a
// Chinese word's meanings.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/file_system.h"
#include "base/status.h"

namespace tavricat {

class PinyinService {
public:
    // Replaces the readings by those of the file. Lines without a TAB, with an empty word or
    // with no syllables are skipped; when a word is listed twice the first line counts. An
    // empty file gives an empty table (every character then passes through unchanged).
    Status load(FileSystem& fs, const std::string& path);
    // The same from the file's text (GBK, any line ends).
    void loadText(std::string_view text);

    // The pinyin of GBK text: from each position the longest listed word is taken and its
    // syllables are written together as one word ("北京" -> "beijing"); words are separated by
    // one blank. A run of characters no word starts with is passed through as one word;
    // blanks in the text only separate.
    std::string pinyinOf(std::string_view gbkText) const;

    std::size_t size() const { return m_readings.size(); }

private:
    std::unordered_map<std::string, std::string> m_readings;  // word -> syllables joined
    std::size_t m_longestWord = 0;                             // in characters
};

}  // namespace tavricat
