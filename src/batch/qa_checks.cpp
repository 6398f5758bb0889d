#include "batch/qa_checks.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "base/gbk.h"
#include "document/inline_tags.h"
#include "document/markup.h"
#include "engine/morphology.h"
#include "engine/system_dictionary.h"
#include "engine/term_base.h"

namespace tavricat {

namespace {

bool isAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// A full-width digit "０".."９" (GBK A3 B0..B9) at `i`: its value, else -1.
int fullWidthDigit(std::string_view text, std::size_t i) {
    if (i + 1 >= text.size() || static_cast<unsigned char>(text[i]) != 0xA3) return -1;
    const auto trail = static_cast<unsigned char>(text[i + 1]);
    return trail >= 0xB0 && trail <= 0xB9 ? trail - 0xB0 : -1;
}

bool holdsChinese(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (gbk::isLeadByte(b) && b >= 0xB0 && b <= 0xF7) return true;  // the GB2312 hanzi rows
        if (gbk::isLeadByte(b)) ++i;
    }
    return false;
}

bool holdsLetters(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (gbk::isLeadByte(b)) {
            ++i;
            continue;
        }
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z')) return true;
    }
    return false;
}

// The translation items of a term entry (field 1, "|"-separated), each without its labels.
std::vector<std::string> meaningsOf(std::string_view entry) {
    std::string_view field = entry.substr(0, entry.find('^'));
    std::vector<std::string> items;
    while (!field.empty()) {
        const std::size_t bar = field.find('|');
        std::string item = meaningOf(field.substr(0, bar));
        item = std::string(gbk::trim(item));
        if (!item.empty()) items.push_back(std::move(item));
        if (bar == std::string_view::npos) break;
        field.remove_prefix(bar + 1);
    }
    return items;
}

// The words a term key is made of: lower-case English words, or Chinese characters one by one.
std::vector<std::string> keyUnits(std::string_view text, Direction direction) {
    std::vector<std::string> units;
    std::string word;
    auto flush = [&] {
        if (!word.empty()) units.push_back(std::move(word));
        word.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (gbk::isLeadByte(b) && i + 1 < text.size()) {
            flush();
            if (isCE(direction)) units.push_back(std::string(text.substr(i, 2)));
            ++i;
        } else if (std::isalnum(b) || b == '-' || b == '\'') {
            word += static_cast<char>(std::tolower(b));
        } else {
            flush();
        }
    }
    flush();
    return units;
}

// The terms of the term base in `source`: spans of up to six units whose key is a term.
std::vector<std::pair<std::string, std::vector<std::string>>> termsIn(const std::string& source, Direction direction,
                                                                        const TermBase& terms, SystemDictionary* dictionary) {
    const std::vector<std::string> units = keyUnits(source, direction);
    std::vector<std::pair<std::string, std::vector<std::string>>> found;
    for (std::size_t i = 0; i < units.size();) {
        std::size_t taken = 0;
        for (std::size_t n = std::min<std::size_t>(6, units.size() - i); n >= 1 && !taken; --n) {
            std::string key;
            for (std::size_t k = 0; k < n; ++k) key += (k ? " " : "") + units[i + k];
            const SortedFind at = terms.find(key);
            if (at.found) {
                const std::string& entry = terms.termEntries[at.index];
                taken = n;
                if (dictionary) {
                    // A copy keeps the dictionary's translations and adds word classes.
                    const std::string copied = dictionary->lookupKey(terms.termKeys[at.index]);
                    if (!copied.empty() && copied.substr(0, copied.find('^')) == entry.substr(0, entry.find('^'))) break;
                }
                std::vector<std::string> meanings = meaningsOf(entry);
                if (!meanings.empty()) found.emplace_back(key, std::move(meanings));
            }
        }
        i += taken ? taken : 1;
    }
    return found;
}

// Punctuation of the source language in the translation: ASCII marks after a Chinese
// character in a Chinese translation, full-width marks in an English one.
std::string wrongPunctuation(std::string_view translation, Direction direction) {
    static const std::string_view fullWidth[] = {"，", "。", "；", "：", "？", "！"};
    for (std::size_t i = 0; i < translation.size(); ++i) {
        const auto b = static_cast<unsigned char>(translation[i]);
        if (gbk::isLeadByte(b) && i + 1 < translation.size()) {
            const std::string_view character = translation.substr(i, 2);
            if (isCE(direction))
                for (std::string_view mark : fullWidth)
                    if (character == mark) return std::string(mark);
            if (!isCE(direction) && i + 2 < translation.size() && std::string_view(",.;:?!").find(translation[i + 2]) != std::string_view::npos &&
                b >= 0xB0 && !(i + 3 < translation.size() && isAsciiDigit(translation[i + 3])))
                return std::string(1, translation[i + 2]);
            ++i;
        }
    }
    return {};
}

}  // namespace

const char* qaKindName(QaKind kind) {
    switch (kind) {
        case QaKind::Tags: return "tags";
        case QaKind::Numbers: return "numbers";
        case QaKind::Terms: return "terms";
        case QaKind::Untranslated: return "untranslated";
        case QaKind::Empty: return "empty";
        case QaKind::Inconsistent: return "inconsistent";
        case QaKind::DoubleBlanks: return "double blanks";
        case QaKind::Punctuation: return "punctuation";
    }
    return "";
}

std::vector<QaSegment> bilingualSegments(std::string_view text) {
    const std::string plain = fromWordForm(text);
    std::vector<QaSegment> segments;
    std::size_t line = 1;
    std::size_t counted = 0;
    for (std::size_t at = plain.find(kSegmentStart); at != std::string::npos; at = plain.find(kSegmentStart, at + 1)) {
        const std::size_t sourceEnd = plain.find(kSourceEnd, at + kSegmentStart.size());
        const std::size_t targetStart = sourceEnd == std::string::npos ? sourceEnd : plain.find(kTargetStart, sourceEnd);
        const std::size_t end = targetStart == std::string::npos ? targetStart : plain.find(kSegmentEnd, targetStart);
        if (end == std::string::npos) break;
        line += static_cast<std::size_t>(std::count(plain.begin() + static_cast<std::ptrdiff_t>(counted),
                                                    plain.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
        counted = at;
        QaSegment segment;
        segment.start = at;
        segment.end = end + kSegmentEnd.size();
        segment.line = line;
        segment.source = plain.substr(at + kSegmentStart.size(), sourceEnd - at - kSegmentStart.size());
        segment.translation = plain.substr(targetStart + kTargetStart.size(), end - targetStart - kTargetStart.size());
        segments.push_back(std::move(segment));
        at = end;
    }
    return segments;
}

std::vector<std::string> numbersIn(std::string_view text) {
    std::vector<std::string> numbers;
    std::string current;
    auto flush = [&] {
        while (!current.empty() && (current.back() == '.' || current.back() == ',')) current.pop_back();
        if (!current.empty()) numbers.push_back(current);
        current.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int wide = fullWidthDigit(text, i);
        if (wide >= 0) {
            current += static_cast<char>('0' + wide);
            ++i;
        } else if (isAsciiDigit(text[i])) {
            current += text[i];
        } else if ((text[i] == ',' || text[i] == '.') && !current.empty() && i + 1 < text.size() &&
                   (isAsciiDigit(text[i + 1]) || fullWidthDigit(text, i + 1) >= 0)) {
            if (text[i] == '.') current += '.';  // a thousands separator is dropped, a decimal point kept
        } else {
            if (gbk::isLeadByte(static_cast<unsigned char>(text[i]))) ++i;
            flush();
        }
    }
    flush();
    return numbers;
}

std::vector<QaFinding> checkSegments(const std::vector<QaSegment>& segments, Direction direction, const TermBase* terms,
                                     SystemDictionary* dictionary) {
    std::vector<QaFinding> findings;
    std::map<std::string, std::pair<std::string, std::size_t>> translated;  // source -> first translation, segment
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const std::string source(gbk::trim(segments[s].source));
        const std::string target(gbk::trim(segments[s].translation));
        auto add = [&](QaKind kind, std::string detail) { findings.push_back({kind, s, std::move(detail)}); };
        if (target.empty()) {
            add(QaKind::Empty, source);
            continue;
        }
        const bool sameAsSource = target == source;
        const bool sourceLanguage = isCE(direction) ? holdsChinese(target) : (holdsLetters(target) && !holdsChinese(target));
        if (sameAsSource || (sourceLanguage && (isCE(direction) ? holdsChinese(source) : !holdsChinese(source)))) {
            // The source standing as its translation: the other checks would only repeat it.
            add(QaKind::Untranslated, target);
            continue;
        }
        if (!tagsConsistent(source, target)) add(QaKind::Tags, target);

        // The numbers of tags ("<1:>") are no numbers of the text.
        std::vector<std::string> targetNumbers = numbersIn(clearTags(target));
        for (const std::string& number : numbersIn(clearTags(source))) {
            const auto it = std::find(targetNumbers.begin(), targetNumbers.end(), number);
            if (it == targetNumbers.end()) add(QaKind::Numbers, number);
            else targetNumbers.erase(it);
        }
        if (terms && !sameAsSource) {
            for (const auto& [key, meanings] : termsIn(source, direction, *terms, dictionary)) {
                const bool used = std::any_of(meanings.begin(), meanings.end(), [&](const std::string& meaning) {
                    // An English meaning counts whatever its case.
                    return isCE(direction) ? gbk::asciiLower(target).find(gbk::asciiLower(meaning)) != std::string::npos
                                           : target.find(meaning) != std::string::npos;
                });
                if (!used) add(QaKind::Terms, key + " -> " + meanings.front());
            }
        }
        if (segments[s].translation.find("  ") != std::string::npos) add(QaKind::DoubleBlanks, target);
        if (std::string mark = wrongPunctuation(target, direction); !mark.empty()) add(QaKind::Punctuation, mark);

        const auto [first, inserted] = translated.emplace(source, std::make_pair(target, s));
        if (!inserted && first->second.first != target) add(QaKind::Inconsistent, first->second.first);
    }
    return findings;
}

}  // namespace tavricat
