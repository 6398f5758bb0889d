// Inflection tags of the segments of an analysed sentence, and the Chinese function words
// and measure words they call for.

#include <algorithm>
#include <array>

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"

namespace tavricat {

namespace {

struct TagWords {
    std::string_view tag;
    std::string_view words;
};

// In the order the tags are tested.
constexpr std::array<TagWords, 7> kTagWords{{
    {"pp", "的|了|过|完|已经|被"},
    {"past", "了|过"},
    {"ing", "正在|着|的"},
    {"no", "第"},
    {"比较级", "更|还要|较|些"},
    {"最高级", "最|极|十分"},
    {"复数", "一些|那些|这些|许多|几个|各|各种|等"},
}};

// `part` occurs in `text` starting on a character boundary (never on a GBK trail byte).
bool containsAligned(std::string_view text, std::string_view part) {
    if (part.empty()) return true;
    for (std::size_t i = 0; i + part.size() <= text.size(); i += gbk::charLength(text, i))
        if (text.compare(i, part.size(), part) == 0) return true;
    return false;
}

// `text` ends in the ASCII `ending`, the ending starting on a character boundary.
bool endsWithAscii(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size() || !text.ends_with(ending)) return false;
    return !gbk::isTrailByte(text, text.size() - ending.size());
}

bool isNumber(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The last segment every array of the sentence has a slot for.
std::size_t lastSegment(const stClass& s) {
    std::size_t last = s.segCount > 0 ? static_cast<std::size_t>(s.segCount) : 0;
    for (const auto* array : {&s.segWords, &s.segTrans, &s.segAssoc, &s.segClass, &s.segAttr})
        last = std::min(last, array->empty() ? 0 : array->size() - 1);
    return last;
}

std::string tagOf(std::string_view words) {
    std::string_view first = words.substr(0, words.find(' '));
    std::string tag;
    if (gbk::charCount(words) > 2) {
        if (endsWithAscii(words, "th") && isNumber(words.substr(0, words.size() - 2))) tag = "no";
        if (endsWithAscii(words, "s")) tag = "复数";
        if (gbk::charCount(words) > 4) {
            if (endsWithAscii(words, "er")) tag = "比较级";
            if (endsWithAscii(words, "est")) tag = "最高级";
        }
    }
    if (endsWithAscii(first, "ing")) tag = "ing";
    if (endsWithAscii(first, "ed")) tag = "pp";
    return tag;
}

// The measure word an attribute names: its text after a "]" that follows the first
// character, else the whole attribute.
std::string_view measureNameOf(std::string_view attribute) {
    const std::size_t close = attribute.find(']', 1);
    if (close != std::string_view::npos) attribute.remove_prefix(close + 1);
    return gbk::trim(attribute);
}

// The article a measure word goes to: one of the two segments before `i`, searched
// backwards; 0 when there is none.
std::size_t articleBefore(const stClass& s, std::size_t i, std::string_view* prefix) {
    for (std::size_t j = i - 1; j >= 1 && j + 2 >= i; --j) {
        std::string_view word = gbk::trim(s.segWords[j]);
        if (word == "\"" || word == ";") return 0;
        if (word == "a" || word == "an") *prefix = "一";
        else if (word == "the" || word == "this") *prefix = "这";
        else if (word == "that") *prefix = "那";
        else continue;
        return j;
    }
    return 0;
}

bool hasItem(std::string_view list, std::string_view item) {
    for (const std::string& it : splitFields(list, '|'))
        if (it == item) return true;
    return false;
}

}  // namespace

void tagInflections(stClass& sentence) {
    const std::size_t last = lastSegment(sentence);
    for (std::size_t i = 1; i <= last; ++i) {
        std::string tag = tagOf(gbk::trim(sentence.segWords[i]));
        if (!tag.empty()) sentence.segClass[i] = dedupBar(tag + "|" + sentence.segClass[i]);
    }
}

void addFunctionWords(stClass& sentence, const std::vector<std::string>& measureKeys,
                      const std::vector<std::string>& measureWords) {
    const std::size_t last = lastSegment(sentence);
    for (std::size_t i = 1; i <= last; ++i) {
        std::string& assoc = sentence.segAssoc[i];
        for (const TagWords& tw : kTagWords) {
            if (!containsAligned(sentence.segClass[i], tw.tag) || containsAligned(assoc, tw.words)) continue;
            if (!assoc.empty()) assoc += '|';
            assoc += tw.words;
        }

        if (sentence.segAttr[i].empty() || measureKeys.empty()) continue;
        // Measure phrases go in front of the article's translations in the order the
        // attributes list them, each once.
        std::size_t inserted = 0;
        for (const std::string& attribute : splitFields(sentence.segAttr[i], '|')) {
            std::string_view name = measureNameOf(attribute);
            if (name.empty()) continue;
            SortedFind hit = findSorted(measureKeys, name);
            if (!hit.found || hit.index >= measureWords.size()) continue;
            std::string_view prefix;
            std::size_t j = articleBefore(sentence, i, &prefix);
            if (j == 0) break;  // the look-back is the same for every attribute
            std::string phrase = std::string(prefix) + measureWords[hit.index];
            std::string& trans = sentence.segTrans[j];
            if (hasItem(trans, phrase)) continue;
            std::vector<std::string> items = trans.empty() ? std::vector<std::string>{} : splitFields(trans, '|');
            items.insert(items.begin() + static_cast<std::ptrdiff_t>(std::min(inserted, items.size())), phrase);
            trans = joinFields(items, '|');
            ++inserted;
        }
    }
}

}  // namespace tavricat
