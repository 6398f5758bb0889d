#include "grammar/translation_pipeline.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "base/gbk.h"
#include "engine/bar_lists.h"
#include "engine/engine.h"
#include "grammar/grammar_matcher.h"
#include "engine/morphology.h"
#include "engine/tokenizer.h"
#include "grammar/grammar_library.h"

namespace tavricat {

namespace {

// The labels of a translation item: the text between its leading "[" and the first "]".
std::string labelOf(std::string_view item) {
    if (item.empty() || item[0] != '[') return {};
    std::size_t close = item.find(']');
    if (close == std::string_view::npos || close < 1) return {};
    return std::string(item.substr(1, close - 1));
}

// An item stays unless its label names domains (pieces with Chinese characters) none of
// which the user selected.
bool keptForDomains(const std::string& label, const std::vector<std::string>& domainLabels) {
    if (!gbk::hasDoubleByte(label)) return true;
    std::string pieces = replaceText(label, ",", ".");
    for (const std::string& piece : splitFields(pieces, '.')) {
        if (piece.empty()) continue;
        for (const std::string& selected : domainLabels)
            if (piece == selected) return true;
    }
    return false;
}

void orderOne(std::string& translations, const std::vector<std::string>& domainLabels) {
    const std::size_t bar = translations.find('|');
    if (bar == std::string::npos || bar + 1 == translations.size()) return;
    std::vector<std::string> kept;
    std::vector<std::string> labels;
    std::vector<std::string> items = splitFields(translations, '|');
    // An empty item before others is a meaning of its own: no word in the translation (a
    // particle or a measure word); only the empty piece after a final "|" is no item.
    while (!items.empty() && items.back().empty()) items.pop_back();
    for (const std::string& item : items) {
        std::string label = labelOf(item);
        if (!keptForDomains(label, domainLabels)) continue;
        kept.push_back(item);
        labels.push_back(label);
    }
    if (domainLabels.empty() || kept.empty()) {
        translations = joinFields(kept, '|');
        return;
    }
    std::vector<bool> used(kept.size(), false);
    std::vector<std::string> ordered = {kept[0]};
    used[0] = true;
    for (std::size_t d = 0; d < domainLabels.size() && d < 3; ++d)
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (!used[i] && labels[i].find(domainLabels[d]) != std::string::npos) {
                ordered.push_back(kept[i]);
                used[i] = true;
            }
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (!used[i]) ordered.push_back(kept[i]);
    translations = joinFields(ordered, '|');
}

bool isAsciiAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Appends with a blank between two ASCII letters or digits.
void appendPiece(std::string& text, std::string_view piece) {
    if (!text.empty() && !piece.empty() && isAsciiAlnum(text.back()) && isAsciiAlnum(piece.front())) text += ' ';
    text.append(piece);
}

// Replaces the first occurrence of `from` that starts on a character boundary.
std::string replaceFirst(const std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i))
        if (text.compare(i, from.size(), from) == 0) return text.substr(0, i) + std::string(to) + text.substr(i + from.size());
    return text;
}

// Sentence punctuation in the target language's form. A Chinese mark becomes the English
// one with the blank that follows it in English; the blank goes where the next word starts
// and a final one is trimmed away.
std::string targetPunctuation(std::string piece, Direction direction) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kChineseToEnglish = {{
        {"，", ", "}, {"。", ". "}, {"；", "; "}, {"：", ": "}, {"！", "! "}, {"？", "? "}, {"、", ", "}}};
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 6> kEnglishToChinese = {{
        {",", "，"}, {".", "。"}, {";", "；"}, {":", "："}, {"!", "！"}, {"?", "？"}}};
    if (direction == Direction::CE) {
        for (const auto& [from, to] : kChineseToEnglish)
            if (piece == from) return std::string(to);
    } else {
        for (const auto& [from, to] : kEnglishToChinese)
            if (piece == from) return std::string(to);
    }
    return piece;
}

std::string segmentTranslation(const stClass& s, int segment, Direction direction) {
    if (segment < 1 || segment >= static_cast<int>(s.segTrans.size())) return {};
    const std::size_t k = static_cast<std::size_t>(segment);
    // A word that is its own translation (a name, a number) is copied as it was written,
    // not in the lower case the dictionaries see.
    if (k < s.segKeys.size() && k < s.segText.size() && !s.segText[k].empty() &&
        gbk::trim(s.segTrans[k]) == gbk::trim(s.segKeys[k]))
        return targetPunctuation(std::string(gbk::trim(s.segText[k])), direction);
    return targetPunctuation(meaningOf(s.segTrans[k]), direction);
}

bool contains(const MatchRecord& r, int segment) { return !r.disabled() && r.first <= segment && segment <= r.last; }

}  // namespace

void orderByDomain(stClass& sentence, int segment, const std::vector<std::string>& domainLabels) {
    const int count = std::min<int>(sentence.segCount, static_cast<int>(sentence.segTrans.size()) - 1);
    for (int k = 1; k <= count; ++k)
        if (segment == -1 || segment == k) orderOne(sentence.segTrans[static_cast<std::size_t>(k)], domainLabels);
}

void prepareSent(std::string& sentence, std::string& cleaned, const PipelineContext& context, bool analysisOnly) {
    sentence = replaceText(sentence, "-\r\n", "");
    std::string copy = sentence;
    for (char& c : copy)
        if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    copy = replaceText(copy, "^", "");
    copy = reduceDoubleBlanks(copy);
    while (!sentence.empty() && (sentence.back() == '\r' || sentence.back() == '\n')) sentence.pop_back();

    Engine& engine = context.engine;
    analyseSent(sentence, engine.workSent, engine, context.options);
    if (analysisOnly) {
        cleaned = copy;
        return;
    }
    orderByDomain(engine.workSent, -1, context.domainLabels);
    tagInflections(engine.workSent);
    addFunctionWords(engine.workSent, engine.measureWords.measureKeys, engine.measureWords.measureWords);
    findGrammar(engine.workSent, context.grammar);
    engine.grammarPlacement = placeGrammar(engine.workSent);
    cleaned.clear();
}

std::string machineTranslate(const stClass& sentence, const GrammarPlacement& placement, Direction direction) {
    const std::vector<MatchRecord>& records = placement.matchTable;
    const std::size_t n = records.size();

    // 1. Rank: longest span first, then more fixed tokens, then more braced tags.
    std::vector<std::pair<std::string, std::size_t>> keys;
    for (std::size_t i = 0; i < n; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "%02d%02d%02d,%zu", records[i].span, records[i].fixedTokens,
                      records[i].braceCount, i);
        keys.emplace_back(key, i);
    }
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<std::size_t> byRank;  // record indexes, highest rank first
    std::vector<std::size_t> rankOf(n);
    for (std::size_t r = 0; r < n; ++r) {
        byRank.push_back(keys[r].second);
        rankOf[keys[r].second] = r;
    }

    // 2. Fill the templates, lowest rank first, so that a gap can take in a filled lower one.
    std::vector<std::string> filled(n);
    for (std::size_t r = n; r-- > 0;) {
        const std::size_t i = byRank[r];
        const MatchRecord& record = records[i];
        std::string text = record.templ;
        for (int tag = 1; tag <= std::min(record.braceCount, 9); ++tag) {
            const std::string marker = "@" + std::to_string(tag);
            // The search goes on after the inserted text, which may itself hold "@n".
            for (std::size_t at = text.find(marker); at != std::string::npos;) {
                std::string inserted = segmentTranslation(sentence, record.tagSegments[static_cast<std::size_t>(tag - 1)], direction);
                std::size_t markerLength = marker.size();
                // "@n" + "d" + a two-byte character: that character is dropped from the end of
                // the inserted translation. The marker never shows in the result.
                if (at + 4 <= text.size() && text[at + 2] == 'd' && gbk::isDoubleByteAt(text, at + 3)) {
                    const std::string ending = text.substr(at + 3, 2);
                    if (inserted.size() >= 2 && inserted.compare(inserted.size() - 2, 2, ending) == 0 &&
                        (inserted.size() == 2 || !gbk::isTrailByte(inserted, inserted.size() - 2)))
                        inserted.erase(inserted.size() - 2);
                    markerLength += 3;
                }
                text.replace(at, markerLength, inserted);
                at = text.find(marker, at + inserted.size());
            }
        }
        std::array<std::string, 3> gapText;
        for (int g = 0; g < std::min(record.gapCount, 3); ++g) {
            const GapRange& gap = record.gaps[static_cast<std::size_t>(g)];
            const int gapEnd = gap.first + gap.count - 1;
            for (int s = gap.first; s <= gapEnd;) {
                const MatchRecord* inner = nullptr;
                std::size_t innerIndex = 0;
                for (std::size_t lower = r + 1; lower < n && !inner; ++lower) {
                    const MatchRecord& candidate = records[byRank[lower]];
                    if (contains(candidate, s) && candidate.first >= gap.first && candidate.last <= gapEnd) {
                        inner = &candidate;
                        innerIndex = byRank[lower];
                    }
                }
                if (inner) {
                    if (gapText[g].find(filled[innerIndex]) == std::string::npos || filled[innerIndex].empty())
                        appendPiece(gapText[g], filled[innerIndex]);
                    s = inner->last + 1;
                } else {
                    appendPiece(gapText[g], segmentTranslation(sentence, s, direction));
                    ++s;
                }
            }
        }
        if (record.gapCount == 1) {
            for (char digit = '0'; digit <= '9'; ++digit) text = replaceText(text, std::string("#") + digit, gapText[0]);
        } else if (record.gapCount >= 2) {
            for (int g = 0; g < 3; ++g) text = replaceText(text, "#" + std::to_string(g + 1), gapText[static_cast<std::size_t>(g)]);
        }
        filled[i] = text;
    }

    // 3. Choose placements: highest score first (above 1), excluding those they overlap.
    std::vector<bool> chosen(n, false), excluded(n, false);
    for (;;) {
        std::size_t best = n;
        for (std::size_t r = 0; r < n; ++r) {
            const std::size_t i = byRank[r];
            if (chosen[i] || excluded[i] || records[i].disabled() || records[i].score <= 1) continue;
            if (best == n || records[i].score > records[best].score) best = i;
        }
        if (best == n) break;
        chosen[best] = true;
        for (std::size_t i = 0; i < n; ++i) {
            if (chosen[i] || excluded[i]) continue;
            const bool startsInside = records[i].first >= records[best].first && records[i].first <= records[best].last;
            const bool endsInside = records[i].last >= records[best].first && records[i].last <= records[best].last;
            if (startsInside || endsInside) excluded[i] = true;
        }
    }

    // 4. Assemble in source order.
    std::string result;
    for (int s = 1; s <= sentence.segCount;) {
        const MatchRecord* use = nullptr;
        std::size_t useIndex = 0;
        for (std::size_t r = 0; r < n && !use; ++r) {
            const std::size_t i = byRank[r];
            if (!excluded[i] && contains(records[i], s)) {
                use = &records[i];
                useIndex = i;
            }
        }
        if (use) {
            appendPiece(result, use->gapCount > 0 ? std::string(gbk::trim(filled[useIndex])) : filled[useIndex]);
            s = std::max(use->last + 1, s + 1);
        } else {
            appendPiece(result, segmentTranslation(sentence, s, direction));
            ++s;
        }
    }

    // 6. Clean-up.
    result = std::string(gbk::trim(result));
    result = replaceFirst(result, "该该", "该");
    result = replaceFirst(result, "的的", "的");
    if (direction == Direction::CE && result.size() >= 3 && result[result.size() - 2] == ' ' &&
        std::string_view(".;:!?").find(result.back()) != std::string_view::npos)
        result.erase(result.size() - 2, 1);
    return result;
}

}  // namespace tavricat
