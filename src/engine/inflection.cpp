// Regular inflections reduced to dictionary keys: the look-up of an inflected word and the
// alignment of a text with the nearest key.

#include <array>

#include "base/gbk.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"

namespace tavricat {

namespace {

bool isAsciiOnly(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool isLowerLetter(char c) { return c >= 'a' && c <= 'z'; }

// The classes of an entry as "|n|v|": those read from its translation brackets and the
// class names listed in field 3.
std::string classesOfEntry(const std::string& entry) {
    std::vector<std::string> fields = splitFields(entry, '^', 4);
    std::string list = wordClassesOf(fields[0]).classList;
    if (fields.size() > 2) {
        for (const std::string& item : splitFields(fields[2], '|')) {
            std::string name = gbk::asciiLower(gbk::trim(item));
            if (name == "a") name = "adj";
            if (!name.empty()) list += "|" + name;
        }
    }
    return "|" + list + "|";
}

bool hasClass(const std::string& barredClasses, std::string_view name) {
    return barredClasses.find("|" + std::string(name) + "|") != std::string::npos;
}

// The forms a word may have been inflected from, in the order they are tried. Only called
// for ASCII-only words of more than 3 letters.
std::vector<std::string> reductionsOf(const std::string& w) {
    std::vector<std::string> tries;
    const std::size_t n = w.size();
    const char last = w[n - 1];
    auto head = [&](std::size_t drop) { return w.substr(0, n - drop); };

    if (last == 'd' || last == 'r' || last == 's') {
        tries.push_back(head(1));                         // likes, liked, larger
        if (w[n - 2] == 'e') tries.push_back(head(2));    // boxes, played
        if (n > 4) {
            const char third = w[n - 3];
            if (third == 'i') tries.push_back(head(3) + "y");  // cities, tried, happier
            if (third == 'v') {                                // wolves, knives
                tries.push_back(head(3) + "f");
                tries.push_back(head(3) + "fe");
            }
            if (third == w[n - 4]) tries.push_back(head(3));   // stopped, bigger
        }
    } else if (last == 'g') {
        // The first "ing" must be the ending and leave at least two letters ("singing" and
        // "sing" are not reduced).
        if (w.find("ing") == n - 3 && n - 3 >= 2) {
            std::string stem = head(3);
            const std::size_t s = stem.size();
            tries.push_back(stem);        // walking
            tries.push_back(stem + "e");  // making
            // A final "y" after a consonant was an "ie" before "ing": dying, lying, tying.
            if (stem[s - 1] == 'y' && std::string_view("aeiouy").find(stem[s - 2]) == std::string_view::npos)
                tries.push_back(stem.substr(0, s - 1) + "ie");
            if (stem[s - 1] == stem[s - 2]) tries.push_back(head(4));  // running
        }
    } else if (last == 't') {
        if (w.find("st") == n - 2 && n - 2 >= 2) {
            tries.push_back(head(2));  // largest
            if (w[n - 3] == 'e') {
                tries.push_back(head(3));  // smallest
                // n >= 4 here, so the letter before "est" exists; the one before that only
                // from five letters on.
                const char beforeEst = w[n - 4];
                if (beforeEst == 'i')
                    tries.push_back(head(4) + "y");  // happiest
                else if (n >= 5 && beforeEst == w[n - 5])
                    tries.push_back(head(4));  // biggest
            }
        }
    }
    return tries;
}

bool reducible(const std::string& word) {
    if (word.size() <= 3 || word.find('.') != std::string::npos || !isAsciiOnly(word)) return false;
    const char last = word.back();
    return last == 'd' || last == 'g' || last == 'r' || last == 's' || last == 't';
}

}  // namespace

InflectedLookup lookupInflected(const std::string& word, const KeyLookup& lookup, bool ownAllowed) {
    const std::string own = lookup(word);
    if (!own.empty() && !ownAllowed) return {own, word};
    if (!reducible(word)) return {own, word};

    for (const std::string& form : reductionsOf(word)) {
        std::string entry = lookup(form);
        if (entry.empty()) continue;
        if (own.empty()) return {entry, form};
        // The word is a key of its own: the reduced form must be of the class the ending
        // marks.
        const std::string classes = classesOfEntry(entry);
        const char last = word.back();
        const bool fits = (hasClass(classes, "v") && (last == 'd' || last == 'g' || last == 's')) ||
                          (hasClass(classes, "n") && last == 's') ||
                          (hasClass(classes, "adj") && (last == 'r' || last == 't'));
        if (fits) return {entry, form};
        return {own, word};
    }
    return {own, word};
}

SuffixAlignment stripSuffix(std::string_view text, std::string_view nearKey) {
    // P: the common start, whole characters, ASCII case ignored.
    std::size_t p = 0;
    while (p < text.size() && p < nearKey.size()) {
        std::size_t len = gbk::charLength(text, p);
        if (len != gbk::charLength(nearKey, p) || p + len > nearKey.size()) break;
        if (len == 2) {
            if (text.substr(p, 2) != nearKey.substr(p, 2)) break;
        } else if (gbk::asciiLower(text.substr(p, 1)) != gbk::asciiLower(nearKey.substr(p, 1))) {
            break;
        }
        p += len;
    }
    if (p == 0) return {-1, {}};

    const std::size_t textEnd = std::min(text.find(' ', p), text.size());
    const std::size_t keyEnd = std::min(nearKey.find(' ', p), nearKey.size());
    const std::string ts = gbk::asciiLower(text.substr(p, textEnd - p));
    const std::string ks = gbk::asciiLower(nearKey.substr(p, keyEnd - p));
    std::string doubled;  // the key word's last letter, to recognise a doubled consonant
    if (ks.empty() && isLowerLetter(gbk::asciiLower(nearKey.substr(p - 1, 1))[0]) &&
        !gbk::isTrailByte(nearKey, p - 1))
        doubled = gbk::asciiLower(nearKey.substr(p - 1, 1));

    auto oneOf = [&](std::initializer_list<std::string_view> endings) {
        for (std::string_view e : endings)
            if (ts == e) return true;
        return false;
    };
    bool replace = false;
    if (ks.empty()) {
        replace = oneOf({"s", "r", "d", "es", "er", "ed", "st", "ing", "est"}) ||
                  (!doubled.empty() &&
                   oneOf({doubled + "ing", doubled + "ed", doubled + "er", doubled + "est"}));
    } else if (ks == "e") {
        // Only "ing" drops a final "e"; "cars" against "care" is no inflection of it.
        replace = ts == "ing";
    } else if (ks == "y") {
        replace = oneOf({"ies", "ied", "ier", "iest"});
    } else if (ks == "f" || ks == "fe") {
        replace = ts == "ves";
    }
    if (replace) {
        std::string candidate(text.substr(0, p));
        candidate += nearKey.substr(p, keyEnd - p);
        candidate += text.substr(textEnd);
        return {0, candidate};
    }

    // Cut at the last word boundary before the disagreement, keeping at least one word.
    const std::size_t space = text.rfind(' ', p - 1);
    if (space != std::string_view::npos && space > 0) {
        std::string_view before = gbk::trim(text.substr(0, space));
        if (!before.empty()) return {static_cast<int>(space), std::string(before)};
    }
    const std::size_t wordEnd = std::min(text.find(' '), text.size());
    if (wordEnd == 0) return {-1, {}};
    return {static_cast<int>(wordEnd), std::string(text.substr(0, wordEnd))};
}

}  // namespace tavricat
