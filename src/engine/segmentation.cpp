#include "engine/segmentation.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/bar_lists.h"
#include "engine/morphology.h"
#include "engine/tokenizer.h"

namespace tavricat {

namespace {

std::string_view firstWord(std::string_view text) { return text.substr(0, text.find(' ')); }

bool isOneWord(std::string_view text) { return text.find(' ') == std::string_view::npos; }

// `text` without its last word.
std::string dropLastWord(std::string_view text) {
    std::size_t blank = text.rfind(' ');
    return blank == std::string_view::npos ? std::string() : std::string(gbk::trim(text.substr(0, blank)));
}

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The text still to segment, kept as the tail of a buffer. Every step works on its first
// words only: dropping them moves the start, and a word replaced by its base form is written
// over the text already consumed. No step copies the rest, so a long sentence costs linear
// time.
class RestOfText {
public:
    explicit RestOfText(std::string_view text) : m_buffer(kSlack, ' ') {
        m_buffer += gbk::trim(text);
        m_start = kSlack;
    }

    std::string_view view() const { return std::string_view(m_buffer).substr(m_start); }
    bool empty() const { return m_start == m_buffer.size(); }
    // Changes with every change of the text.
    std::size_t version() const { return m_version; }

    bool startsWithWords(std::string_view key) const {
        std::string_view text = view();
        return text.substr(0, key.size()) == key && (text.size() == key.size() || text[key.size()] == ' ');
    }

    // Drops `count` bytes and the blanks after them.
    void drop(std::size_t count) {
        if (count == 0) return;
        m_start += std::min(count, m_buffer.size() - m_start);
        trim();
        ++m_version;
    }

    void dropFirstWord() {
        std::size_t blank = view().find(' ');
        drop(blank == std::string_view::npos ? view().size() : blank + 1);
    }

    // Replaces the first `count` bytes with `with` (which must not point into this text).
    void replaceFront(std::size_t count, std::string_view with) {
        count = std::min(count, m_buffer.size() - m_start);
        if (view().substr(0, count) == with) return;
        if (with.size() > m_start + count) {
            // Only near the start of the text is there too little room in front.
            std::string grown(with.size() + kSlack, ' ');
            grown += view().substr(count);
            m_buffer = std::move(grown);
            m_start = with.size() + kSlack;
            count = 0;
        }
        m_start = m_start + count - with.size();
        std::copy(with.begin(), with.end(), m_buffer.begin() + static_cast<std::ptrdiff_t>(m_start));
        ++m_version;
    }

    void replaceFirstWord(std::string_view word) {
        std::size_t blank = view().find(' ');
        replaceFront(blank == std::string_view::npos ? view().size() : blank, word);
    }

    void trim() {
        while (m_start < m_buffer.size() && isBlank(m_buffer[m_start])) ++m_start;
        while (m_buffer.size() > m_start && isBlank(m_buffer.back())) m_buffer.pop_back();
    }

private:
    static constexpr std::size_t kSlack = 64;
    std::string m_buffer;
    std::size_t m_start = 0;
    std::size_t m_version = 0;
};

// The text's first words reaching past `length` bytes: all stripSuffix reads when the key
// is at most that long.
std::string_view wordsPast(std::string_view text, std::size_t length) {
    std::size_t blank = text.find(' ', length);
    return blank == std::string_view::npos ? text : text.substr(0, blank);
}

}  // namespace

Segmentation segmentText(std::string_view text, DictSource source, Dictionaries& dictionaries) {
    Segmentation out;
    const KeyLookup lookup = [&](const std::string& key) { return dictionaries.lookupKey(key, source); };
    auto emit = [&](std::string_view key, std::string entry, std::string mergedForm = {}) {
        out.keys.emplace_back(key);
        out.entries.push_back(std::move(entry));
        out.mergedForms.push_back(std::move(mergedForm));
    };

    RestOfText remaining(text);
    // The candidate is the whole remaining text or a shortened start of it held on its own.
    bool candidateIsRest = true;
    std::size_t candidateVersion = remaining.version();
    std::string ownCandidate;
    auto candidate = [&]() -> std::string_view { return candidateIsRest ? remaining.view() : ownCandidate; };
    auto setOwnCandidate = [&](std::string shortenedStart) {
        ownCandidate = std::move(shortenedStart);
        candidateIsRest = false;
    };
    std::string pending;
    // The form whose own entry is pending, while its base form is looked up.
    std::string pendingForm;
    bool inflecting = false;
    bool shortened = false;
    // Every pass consumes or shortens something; the bound only guards against a dictionary
    // whose order is broken.
    std::size_t passesLeft = 8 * (remaining.view().size() + 8);

    // Candidate follows remaining after a step; an unchanged text ends the walk.
    auto moveOn = [&] {
        shortened = false;
        const bool unchanged = candidateIsRest ? remaining.version() == candidateVersion
                                               : ownCandidate == remaining.view();
        if (unchanged) {
            setOwnCandidate(std::string());
        } else {
            candidateIsRest = true;
            candidateVersion = remaining.version();
        }
    };

    while (!candidate().empty() && passesLeft-- > 0) {
        KeyValueLists lists = dictionaries.listsFor(candidate(), source);
        if (!lists.keys || lists.keys->empty()) {
            // Nothing to segment against. In the term base every word left is then a segment
            // of its own, as an unknown word is beside any key.
            if (source == DictSource::TermBase) {
                for (; !remaining.empty(); remaining.dropFirstWord()) {
                    std::string_view word = firstWord(remaining.view());
                    emit(word, pending.empty() ? std::string(word) : pending);
                    pending.clear();
                }
            }
            break;
        }
        SortedFind found = findSorted(*lists.keys, candidate());
        std::size_t line = found.found ? found.index : (found.index == 0 ? 0 : found.index - 1);
        const std::string nearest = (*lists.keys)[line];
        std::string entry = line < lists.values->size() ? (*lists.values)[line] : std::string();

        if (!nearest.empty() && remaining.startsWithWords(nearest)) {
            if (source == DictSource::System && dictionaries.isDeleted(nearest)) {
                if (!isOneWord(nearest)) {
                    setOwnCandidate(dropLastWord(nearest));
                    shortened = true;
                    continue;
                }
                InflectedLookup base = lookupInflected(nearest, lookup, true);
                if (!base.entry.empty() && base.base != nearest) remaining.replaceFirstWord(base.base);
                else remaining.dropFirstWord();
            } else if (!isOneWord(nearest) || inflecting) {
                std::string mergedForm;
                if (isOneWord(nearest) && !pending.empty()) {
                    entry = mergeEntries(source, pending, entry);
                    mergedForm = pendingForm;
                }
                emit(nearest, entry, std::move(mergedForm));
                inflecting = false;
                pending.clear();
                pendingForm.clear();
                remaining.drop(nearest.size());
            } else {
                pending = entry;
                InflectedLookup base = lookupInflected(nearest, lookup, true);
                if (!base.entry.empty() && base.base != nearest) {
                    remaining.replaceFirstWord(base.base);
                    inflecting = true;
                    pendingForm = nearest;
                } else {
                    emit(nearest, pending);
                    pending.clear();
                    remaining.drop(nearest.size());
                }
            }
            moveOn();
            continue;
        }

        if (isOneWord(candidate())) {
            const std::string word(candidate());
            InflectedLookup base = lookupInflected(word, lookup, false);
            if (!base.entry.empty() && base.base != word) {
                remaining.replaceFirstWord(base.base);
                inflecting = true;
                pending = base.entry;
                pendingForm.clear();
            } else {
                remaining.dropFirstWord();
                // A word found under another spelling of its own key keeps its entry.
                if (!base.entry.empty()) emit(word, base.entry);
                else if (source == DictSource::TermBase) emit(word, word);
            }
            moveOn();
            continue;
        }

        if (shortened) {
            setOwnCandidate(dropLastWord(candidate()));
            continue;
        }

        // stripSuffix reads no further than the word where text and key part.
        const std::string_view front = wordsPast(remaining.view(), nearest.size());
        SuffixAlignment aligned = stripSuffix(front, nearest);
        if (aligned.result == 0 && aligned.candidate != front) {
            remaining.replaceFront(front.size(), aligned.candidate);
            remaining.trim();
            candidateIsRest = true;
            candidateVersion = remaining.version();
        } else if (aligned.result <= 0) {
            const std::string word(firstWord(remaining.view()));
            remaining.dropFirstWord();
            if (source == DictSource::TermBase) emit(word, word);
            moveOn();
        } else {
            setOwnCandidate(std::string(gbk::trim(aligned.candidate)));
            if (ownCandidate.empty()) ownCandidate = firstWord(remaining.view());
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
