#include "engine/tokenizer.h"

#include "base/gbk.h"

namespace tavricat {

namespace {

bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(unsigned char c) { return c >= '0' && c <= '9'; }
unsigned char lowerByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

bool matchesAt(std::string_view text, std::size_t pos, std::string_view from, bool ignoreCase) {
    if (pos + from.size() > text.size()) return false;
    for (std::size_t k = 0; k < from.size(); ++k) {
        unsigned char a = static_cast<unsigned char>(text[pos + k]), b = static_cast<unsigned char>(from[k]);
        if (ignoreCase ? lowerByte(a) != lowerByte(b) : a != b) return false;
    }
    return true;
}

std::string trimBlanks(std::string_view text) { return std::string(gbk::trim(text)); }

}  // namespace

std::string replaceText(std::string_view text, std::string_view from, std::string_view to, bool ignoreCase) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (matchesAt(text, i, from, ignoreCase)) {
            out += to;
            i += from.size();
            continue;
        }
        std::size_t len = gbk::charLength(text, i);
        out.append(text.substr(i, len));
        i += len;
    }
    return out;
}

std::string reduceDoubleBlanks(std::string_view text) {
    // Byte by byte: a blank is never the second byte of a double-byte character, and a stray
    // lead byte must not hide the blank after it.
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == ' ' && !out.empty() && out.back() == ' ') continue;
        out += c;
    }
    return out;
}

std::string collapseBlanks(std::string_view text) { return trimBlanks(reduceDoubleBlanks(text)); }

std::string expandShortForms(std::string_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ascii += text[i];
            continue;
        }
        // A double-byte character goes whole: its second byte may look like an ASCII letter.
        // A lead byte before a blank, a control byte or the end goes alone.
        if (gbk::isWholeDoubleByteAt(text, i)) ++i;
    }
    ascii = replaceText(ascii, "cannot", "can not", true);
    if (ascii.find('\'') == std::string::npos) return ascii;
    static const std::pair<const char*, const char*> kShortForms[] = {
        {"'m", " am"},        {"'re", " are"},         {"'ve", " have"},     {"ain't", "are not"},
        {"shan't", "shall not"}, {"can't", "can not"}, {"won't", "will not"}, {"n't", " not"},
    };
    for (const auto& [from, to] : kShortForms) ascii = replaceText(ascii, from, to, true);
    return ascii;
}

std::string splitHanChars(int mode, std::string_view text) {
    if (text.size() < 3) return trimBlanks(text);
    static const char kSmallForms[] = {',', ',', '.', ';', ':', '?', '!', '(', ')', '{', '}', '[', ']', '#', '&', '*'};
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        if (gbk::charLength(text, i) == 1) {
            out += text[i++];
            continue;
        }
        const unsigned code = static_cast<unsigned char>(text[i]) * 256u + static_cast<unsigned char>(text[i + 1]);
        const std::string_view ch = text.substr(i, 2);
        i += 2;
        if (code >= 0xA3A3 && code <= 0xA3FD) {
            if (mode == 1) out += static_cast<char>(code - 0xA380);
            else out.append(ch);
        } else if (code >= 0xA96F && code <= 0xA97E && mode == 1) {
            out += kSmallForms[code - 0xA96F];
        } else {
            out += ' ';
            out.append(ch);
            out += ' ';
        }
    }
    return collapseBlanks(out);
}

std::string spacePunct(std::string_view input) {
    // 1. Marks set apart, in this order.
    static const std::pair<const char*, const char*> kSpacing[] = {
        {"''", "\""}, {"'", " ' "},  {"-", " - "}, {"\"", " \" "}, {"`", " ` "}, {"[", " [ "},
        {"]", " ] "}, {"(", " ( "},  {")", " ) "}, {"{", " ( "},   {"}", " } "}, {"~", " ~ "},
        {"=", " = "}, {"*", " * "},  {"&", " & "}, {"\r", " "},    {"\n", " "},  {"\t", " "},
        {"@", "_@"},  {"#", "_#"},   {"...", " ... "},
    };
    std::string text(input);
    for (const auto& [from, to] : kSpacing) text = replaceText(text, from, to);

    // 2. Single blanks, trimmed, one blank at the end.
    text = collapseBlanks(text) + " ";

    // 3. A run of ! , : ; ? ending a word becomes a word of its own.
    auto isMark = [](char c) { return c == '!' || c == ',' || c == ':' || c == ';' || c == '?'; };
    std::string spaced;
    spaced.reserve(text.size() + 16);
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        std::string_view word(text.data() + start, end - start);
        start = end + 1;
        if (word.empty()) continue;
        // Find where the trailing run of marks begins, stepping whole characters.
        std::size_t runStart = word.size();
        for (std::size_t i = 0; i < word.size(); i += gbk::charLength(word, i)) {
            if (gbk::charLength(word, i) == 1 && isMark(word[i])) {
                if (runStart == word.size()) runStart = i;
            } else {
                runStart = word.size();
            }
        }
        if (runStart > 0 && runStart < word.size()) {
            spaced.append(word.substr(0, runStart));
            spaced += ' ';
            spaced.append(word.substr(runStart));
        } else {
            spaced.append(word);
        }
        spaced += ' ';
    }
    text = spaced;

    // 4. A sentence-final full stop becomes a word of its own.
    {
        std::vector<std::size_t> starts;  // walking back whole characters
        for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i)) starts.push_back(i);
        for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
            std::size_t i = *it;
            if (gbk::charLength(text, i) == 2) continue;
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (c == '.') {
                text.insert(i, 1, ' ');
                break;
            }
            if (isAsciiLetter(c) || isDigit(c)) break;
        }
    }

    // 5. Single blanks, "' '" back to "''", trimmed.
    text = reduceDoubleBlanks(text);
    text = replaceText(text, "' '", "''");
    return trimBlanks(text);
}

int countWords(std::string_view text) {
    std::string t = collapseBlanks(text);
    if (t.empty()) return 0;
    int blanks = 0;
    for (char c : t)
        if (c == ' ') ++blanks;
    return blanks + 1;
}

void splitWords(std::string_view text, std::vector<std::string>& slots, std::size_t highestSlot) {
    std::size_t slot = 1;
    for (std::size_t i = 0; i < text.size() && slot <= highestSlot && slot < slots.size();) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        std::size_t end = text.find(' ', i);
        if (end == std::string_view::npos) end = text.size();
        slots[slot++] = std::string(text.substr(i, end - i));
        i = end;
    }
}

}  // namespace tavricat
