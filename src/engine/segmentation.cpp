#include "engine/segmentation.h"

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"
#include "engine/tokenizer.h"

namespace tavricat {

namespace {

std::string firstWord(std::string_view text) { return std::string(text.substr(0, text.find(' '))); }

bool isOneWord(std::string_view text) { return text.find(' ') == std::string_view::npos; }

// `text` without its first word and the blank after it.
std::string dropFirstWord(std::string_view text) {
    std::size_t blank = text.find(' ');
    return blank == std::string_view::npos ? std::string() : std::string(gbk::trim(text.substr(blank + 1)));
}

// `text` with its first word replaced.
std::string replaceFirstWord(std::string_view text, std::string_view word) {
    std::size_t blank = text.find(' ');
    return std::string(word) + (blank == std::string_view::npos ? std::string() : std::string(text.substr(blank)));
}

// `text` without `key` and the blank after it. REQUIRES: key + " " begins text + " ".
std::string dropKey(std::string_view text, std::string_view key) {
    return std::string(gbk::trim(text.substr(std::min(text.size(), key.size()))));
}

// `text` without its last word.
std::string dropLastWord(std::string_view text) {
    std::size_t blank = text.rfind(' ');
    return blank == std::string_view::npos ? std::string() : std::string(gbk::trim(text.substr(0, blank)));
}

}  // namespace

Segmentation segmentText(std::string_view text, DictSource source, Dictionaries& dictionaries) {
    Segmentation out;
    const KeyLookup lookup = [&](const std::string& key) { return dictionaries.lookupKey(key, source); };
    auto emit = [&](std::string key, std::string entry) {
        out.keys.push_back(std::move(key));
        out.entries.push_back(std::move(entry));
    };

    std::string remaining(gbk::trim(text));
    std::string candidate = remaining;
    std::string pending;
    bool inflecting = false;
    bool shortened = false;
    // Every pass consumes or shortens something; the bound only guards against a dictionary
    // whose order is broken.
    std::size_t passesLeft = 8 * (remaining.size() + 8);

    // Candidate follows remaining after a step; an unchanged text ends the walk.
    auto moveOn = [&] {
        shortened = false;
        candidate = candidate == remaining ? std::string() : remaining;
    };

    while (!candidate.empty() && passesLeft-- > 0) {
        KeyValueLists lists = dictionaries.listsFor(candidate, source);
        if (!lists.keys || lists.keys->empty()) {
            // Nothing to segment against. In the term base every word left is then a segment
            // of its own, as an unknown word is beside any key.
            if (source == DictSource::TermBase) {
                for (; !remaining.empty(); remaining = dropFirstWord(remaining)) {
                    std::string word = firstWord(remaining);
                    emit(word, pending.empty() ? word : pending);
                    pending.clear();
                }
            }
            break;
        }
        SortedFind found = findSorted(*lists.keys, candidate);
        std::size_t line = found.found ? found.index : (found.index == 0 ? 0 : found.index - 1);
        const std::string nearest = (*lists.keys)[line];
        std::string entry = line < lists.values->size() ? (*lists.values)[line] : std::string();

        const std::string remainingSpaced = remaining + " ";
        if (!nearest.empty() && remainingSpaced.compare(0, nearest.size() + 1, nearest + " ") == 0) {
            if (source == DictSource::System && dictionaries.isDeleted(nearest)) {
                if (!isOneWord(nearest)) {
                    candidate = dropLastWord(nearest);
                    shortened = true;
                    continue;
                }
                InflectedLookup base = lookupInflected(nearest, lookup, true);
                if (!base.entry.empty() && base.base != nearest) remaining = replaceFirstWord(remaining, base.base);
                else remaining = dropFirstWord(remaining);
            } else if (!isOneWord(nearest) || inflecting) {
                if (isOneWord(nearest) && !pending.empty()) entry = mergeEntries(source, pending, entry);
                emit(nearest, entry);
                inflecting = false;
                pending.clear();
                remaining = dropKey(remaining, nearest);
            } else {
                pending = entry;
                InflectedLookup base = lookupInflected(nearest, lookup, true);
                if (!base.entry.empty() && base.base != nearest) {
                    remaining = replaceFirstWord(remaining, base.base);
                    inflecting = true;
                } else {
                    emit(nearest, pending);
                    pending.clear();
                    remaining = dropKey(remaining, nearest);
                }
            }
            moveOn();
            continue;
        }

        if (isOneWord(candidate)) {
            InflectedLookup base = lookupInflected(candidate, lookup, false);
            if (!base.entry.empty() && base.base != candidate) {
                remaining = replaceFirstWord(remaining, base.base);
                inflecting = true;
                pending = base.entry;
            } else {
                remaining = dropFirstWord(remaining);
                // A word found under another spelling of its own key keeps its entry.
                if (!base.entry.empty()) emit(candidate, base.entry);
                else if (source == DictSource::TermBase) emit(candidate, candidate);
            }
            moveOn();
            continue;
        }

        if (shortened) {
            candidate = dropLastWord(candidate);
            continue;
        }

        SuffixAlignment aligned = stripSuffix(remaining, nearest);
        if (aligned.result == 0 && aligned.candidate != remaining) {
            remaining = std::string(gbk::trim(aligned.candidate));
            candidate = remaining;
        } else if (aligned.result <= 0) {
            std::string word = firstWord(remaining);
            remaining = dropFirstWord(remaining);
            if (source == DictSource::TermBase) emit(word, word);
            moveOn();
        } else {
            candidate = std::string(gbk::trim(aligned.candidate));
            if (candidate.empty()) candidate = firstWord(remaining);
            shortened = true;
        }
    }
    return out;
}

std::string mergeEntries(DictSource source, std::string_view first, std::string_view second) {
    const std::size_t fieldCount = source == DictSource::System ? 3 : 4;
    std::vector<std::string> a = splitFields(first, '^', fieldCount);
    std::vector<std::string> b = splitFields(second, '^', fieldCount);
    a.resize(fieldCount);
    b.resize(fieldCount);
    for (std::size_t f = 0; f < fieldCount; ++f) {
        std::string& merged = a[f];
        std::string extra = b[f];
        if (!merged.empty() && merged.back() != '|') merged += '|';
        if (!extra.empty() && extra.back() != '|') extra += '|';
        for (const std::string& item : splitFields(extra, '|')) {
            if (item.empty()) continue;
            if (("|" + merged).find("|" + item + "|") == std::string::npos) merged += item + "|";
        }
    }
    return joinFields(a, '^');
}

}  // namespace tavricat
