// Stage two of the grammar patterns: the kept items placed on the segments of the working
// sentence, one match record per placement.

#include <algorithm>
#include <array>
#include <optional>

#include "base/gbk.h"
#include "engine/bar_lists.h"
#include "grammar/grammar_matcher.h"

namespace tavricat {

using grammar_text::findAligned;
using grammar_text::tokensOf;

namespace {

constexpr std::size_t kMaxGaps = 3;
constexpr int kMaxLimit = 9999;
constexpr std::array<std::string_view, 11> kClauseEnds{"：", "？", "。", "！", ";", ",", ".", ":", "?", "!", "\""};

struct Head {
    char flag = 0;                // '0' collocation, '1' anchored, 0 none
    std::array<int, kMaxGaps> limits{};  // 0: no limit
    std::string pattern;          // trimmed
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "(a,b,c)" or "(a b c)" at the start of `text`: one to three numbers, the first right after
// the parenthesis. A pattern that opens with a parenthesis word ("( a ) * b") is no limit.
std::optional<std::size_t> readLimits(std::string_view text, std::array<int, kMaxGaps>& limits) {
    if (text.size() < 3 || text[0] != '(' || !isDigit(text[1])) return std::nullopt;
    const std::size_t close = text.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    std::array<int, kMaxGaps> read{};
    std::size_t count = 0;
    bool inNumber = false;
    for (std::size_t i = 1; i < close; ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            if (!inNumber && ++count > kMaxGaps) return std::nullopt;
            inNumber = true;
            read[count - 1] = std::min(kMaxLimit, read[count - 1] * 10 + (c - '0'));
        } else if (c == ',' || c == ' ') {
            inNumber = false;
        } else {
            return std::nullopt;
        }
    }
    limits = read;
    return close + 1;
}

Head parseHead(std::string_view head) {
    Head parsed;
    // A leading "0"/"1" is a flag unless it starts a number ("100 * years").
    if (!head.empty() && (head[0] == '0' || head[0] == '1') &&
        (head.size() == 1 || !(isDigit(head[1]) || head[1] == ' ' || head[1] == '.' || head[1] == ','))) {
        parsed.flag = head[0];
        head.remove_prefix(1);
    }
    if (const auto after = readLimits(head, parsed.limits)) head.remove_prefix(*after);
    parsed.pattern = std::string(gbk::trim(head));
    return parsed;
}

// The spaced fields findGrammar left, read-only, segments 1..count().
class Segments {
public:
    explicit Segments(const stClass& s) : m_s(s), m_count(grammar_text::usableSegments(s)) {
        m_comma.assign(m_count + 1, false);
        m_quote.assign(m_count + 1, false);
        for (int i = 1; i <= m_count; ++i) {
            m_comma[i] = m_s.segWords[i].find(" , ") != std::string::npos;
            m_quote[i] = m_s.segWords[i].find(" \" ") != std::string::npos;
        }
    }

    int count() const { return m_count; }
    std::string_view key(int i) const { return gbk::trim(m_s.segKeys[i]); }
    const std::string& spacedKey(int i) const { return m_s.segKeys[i]; }
    const std::string& spacedWords(int i) const { return m_s.segWords[i]; }
    bool singleWordKey(int i) const { return key(i).find(' ') == std::string_view::npos; }
    bool hasTag(int i, std::string_view tag) const {
        return m_s.segAttr[i].find(tag) != std::string::npos || m_s.segClass[i].find(tag) != std::string::npos;
    }
    bool holds(int i, std::string_view spacedWord) const {
        for (const auto* field : {&m_s.segKeys, &m_s.segWords, &m_s.segAttr, &m_s.segClass})
            if ((*field)[i].find(spacedWord) != std::string::npos) return true;
        return false;
    }
    bool comma(int i) const { return m_comma[i]; }
    bool quote(int i) const { return m_quote[i]; }

private:
    const stClass& m_s;
    int m_count;
    std::vector<bool> m_comma, m_quote;
};

// ---- elements -------------------------------------------------------------------------

struct Word {
    std::string spaced;  // " w "
    bool braced = false;
};

struct Element {
    std::vector<Word> words;
    bool singleWordKind = false;  // exactly one plain word: it matches single-word keys only
};

struct ElementMatch {
    int first = 0;
    int last = 0;
    std::vector<int> tags;  // segments matched by braced tags, in order
};

struct Pattern {
    std::vector<Element> elements;  // the real elements, in order
    bool leading = false;           // boundary gap before the first element
    bool trailing = false;          // boundary gap after the last element
    std::size_t gapCount = 0;
};

// Positions in the spaced key and words of the segment under the element, npos where the
// last word was not found in that field.
struct Cursor {
    int segment = 0;
    std::size_t inKey = std::string::npos;
    std::size_t inWords = std::string::npos;
};

// A word placed at the start of segment `i`.
bool startsAt(const Segments& seg, const Element& e, const Word& w, int i, Cursor& at) {
    if (w.braced) {
        if (!seg.hasTag(i, w.spaced)) return false;
        at = {i, std::string::npos, std::string::npos};
        return true;
    }
    if (e.singleWordKind && !seg.singleWordKey(i)) return false;
    const bool key = seg.spacedKey(i).starts_with(w.spaced);
    const bool words = seg.spacedWords(i).starts_with(w.spaced);
    if (!key && !words) return false;
    at = {i, key ? 0 : std::string::npos, words ? 0 : std::string::npos};
    return true;
}

// A plain word further on in the same segment, after the previous word.
bool continuesIn(const Segments& seg, const Word& w, Cursor& at) {
    auto later = [&](const std::string& field, std::size_t after) {
        return after == std::string::npos ? std::string::npos : field.find(w.spaced, after + 1);
    };
    const std::size_t key = later(seg.spacedKey(at.segment), at.inKey);
    const std::size_t words = later(seg.spacedWords(at.segment), at.inWords);
    if (key == std::string::npos && words == std::string::npos) return false;
    at.inKey = key;
    at.inWords = words;
    return true;
}

// The element at or after segment `start`; a try whose following words fail is repeated
// from the segment after its first word's. Tags of a failed try are dropped with it.
std::optional<ElementMatch> matchElement(const Segments& seg, const Element& e, int start) {
    for (int from = start; from <= seg.count();) {
        Cursor at;
        int first = from;
        while (first <= seg.count() && !startsAt(seg, e, e.words.front(), first, at)) ++first;
        if (first > seg.count()) return std::nullopt;

        ElementMatch match{first, first, {}};
        if (e.words.front().braced) match.tags.push_back(first);
        bool ok = true;
        for (std::size_t k = 1; ok && k < e.words.size(); ++k) {
            const Word& w = e.words[k];
            if (!w.braced && !e.singleWordKind && continuesIn(seg, w, at)) continue;
            ok = at.segment < seg.count() && startsAt(seg, e, w, at.segment + 1, at);
            if (ok && w.braced) match.tags.push_back(at.segment);
        }
        if (ok) {
            match.last = at.segment;
            return match;
        }
        from = first + 1;
    }
    return std::nullopt;
}

// Elements of a placement pattern; nullopt for a pattern that cannot be placed.
std::optional<Pattern> parsePattern(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (std::size_t pos = 0;;) {
        const std::size_t star = text.find('*', pos);
        pieces.push_back(gbk::trim(text.substr(pos, star == std::string_view::npos ? star : star - pos)));
        if (star == std::string_view::npos) break;
        pos = star + 1;
    }
    Pattern p;
    p.gapCount = pieces.size() - 1;
    if (p.gapCount > kMaxGaps) return std::nullopt;
    p.leading = p.gapCount > 0 && pieces.front().empty();
    p.trailing = p.gapCount > 0 && pieces.back().empty();
    const std::size_t from = p.leading ? 1 : 0;
    const std::size_t to = pieces.size() - (p.trailing ? 1 : 0);
    for (std::size_t i = from; i < to; ++i) {
        const auto tokens = tokensOf(pieces[i]);
        if (tokens.empty()) return std::nullopt;
        Element e;
        std::size_t braced = 0;
        for (std::string_view token : tokens) {
            e.words.push_back({" " + std::string(token) + " ", token.front() == '{'});
            braced += e.words.back().braced ? 1 : 0;
        }
        e.singleWordKind = tokens.size() == braced + 1;
        p.elements.push_back(std::move(e));
    }
    if (p.elements.empty()) return std::nullopt;
    return p;
}

// ---- placements -----------------------------------------------------------------------

struct Placement {
    int first = 0;
    int last = 0;
    std::vector<GapRange> gaps;
    std::vector<int> tags;
};

bool startsClause(std::string_view key) { return key == "," || key == "\""; }

bool endsClause(std::string_view key) {
    return std::find(kClauseEnds.begin(), kClauseEnds.end(), key) != kClauseEnds.end();
}

// Boundaries, gaps, limits and the comma/quote rule for matched elements.
std::optional<Placement> fit(const Segments& seg, const Pattern& p, const Head& head,
                             const std::vector<ElementMatch>& matches) {
    Placement placed{matches.front().first, matches.back().last, {}, {}};
    if (p.leading) {
        const int next = matches.front().first;
        if (const int limit = head.limits[0]; limit > 0) {
            placed.first = next - limit;
            if (placed.first < 1) return std::nullopt;
        } else {
            placed.first = 1;
            for (int i = next - 1; i >= 1; --i)
                if (startsClause(seg.key(i))) {
                    placed.first = i + 1;
                    break;
                }
        }
        placed.gaps.push_back({placed.first, next - placed.first});
    }
    for (std::size_t k = 1; k < matches.size(); ++k)
        placed.gaps.push_back({matches[k - 1].last + 1, matches[k].first - matches[k - 1].last - 1});
    if (p.trailing) {
        const int previous = matches.back().last;
        if (const int limit = head.limits[p.gapCount - 1]; limit > 0) {
            placed.last = previous + limit;
            if (placed.last > seg.count()) return std::nullopt;
        } else {
            placed.last = seg.count();
            for (int i = previous + 1; i <= seg.count(); ++i)
                if (endsClause(seg.key(i))) {
                    placed.last = i - 1;
                    break;
                }
        }
        placed.gaps.push_back({previous + 1, placed.last - previous});
    }

    for (std::size_t k = 0; k < placed.gaps.size(); ++k) {
        const int limit = head.limits[k];
        if (placed.gaps[k].count < 1 || (limit > 0 && placed.gaps[k].count > limit)) return std::nullopt;
    }
    const bool commaAllowed = head.pattern.find(',') != std::string::npos;
    const bool quoteAllowed = head.pattern.find('"') != std::string::npos;
    for (int i = placed.first + 1; i < placed.last; ++i)
        if ((seg.comma(i) && !commaAllowed) || (seg.quote(i) && !quoteAllowed)) return std::nullopt;

    for (const ElementMatch& m : matches) placed.tags.insert(placed.tags.end(), m.tags.begin(), m.tags.end());
    return placed;
}

std::string_view usedTemplate(std::string_view templ) {
    return templ.substr(0, findAligned(templ, "|"));
}

MatchRecord recordOf(const Head& head, std::string_view templ, const Pattern& p, const Placement& placed) {
    MatchRecord r;
    r.first = placed.first;
    r.last = placed.last;
    r.pattern = head.pattern;
    r.templ = std::string(usedTemplate(templ));
    r.span = r.last - r.first + 1;
    r.gapCount = static_cast<int>(p.gapCount);
    r.fixedTokens = static_cast<int>(tokensOf(head.pattern).size()) - r.gapCount;
    for (std::size_t at = findAligned(head.pattern, "{"); at != std::string::npos;
         at = findAligned(head.pattern, "{", at + 1))
        ++r.braceCount;
    r.score = r.span + 2 * r.fixedTokens - r.braceCount;
    for (std::size_t k = 0; k < placed.gaps.size() && k < r.gaps.size(); ++k) r.gaps[k] = placed.gaps[k];
    for (std::size_t k = 0; k < placed.tags.size() && k < r.tagSegments.size(); ++k)
        r.tagSegments[k] = placed.tags[k];
    return r;
}

// The template with every "#x" / "@x" marker (and the "d" + character after "@x") as "|".
std::string fixedPart(std::string_view templ) {
    std::string out;
    for (std::size_t i = 0; i < templ.size();) {
        const std::size_t len = gbk::charLength(templ, i);
        if (len == 1 && (templ[i] == '#' || templ[i] == '@')) {
            const bool tag = templ[i] == '@';
            out += '|';
            i += 1;
            if (i < templ.size()) i += gbk::charLength(templ, i);
            if (tag && i < templ.size() && templ[i] == 'd' && gbk::isDoubleByteAt(templ, i + 1)) i += 3;
            continue;
        }
        out.append(templ.substr(i, len));
        i += len;
    }
    return out;
}

void addPlacement(GrammarPlacement& out, MatchRecord record) {
    out.placedPatterns += record.pattern + "\r\n" + record.templ + "\r\n";
    if (!out.matchTable.empty()) out.fixedWords += '|';
    out.fixedWords += fixedPart(record.templ);
    out.matchTable.push_back(std::move(record));
}

void placeOrdinary(const Segments& seg, const Head& head, std::string_view templ, GrammarPlacement& out) {
    const std::optional<Pattern> p = parsePattern(head.pattern);
    if (!p) return;
    for (int start = 1; start <= seg.count();) {
        std::vector<ElementMatch> matches;
        int from = start;
        for (const Element& e : p->elements) {
            std::optional<ElementMatch> m = matchElement(seg, e, from);
            if (!m) return;
            from = m->last + 1;
            matches.push_back(std::move(*m));
        }
        if (const std::optional<Placement> placed = fit(seg, *p, head, matches)) {
            addPlacement(out, recordOf(head, templ, *p, *placed));
            start = placed->last + 1;
        } else {
            start = matches.front().first + 1;
        }
    }
}

// "group1 * group2" with template "t1#xt2": both groups must be segments of their own.
void placeCollocation(stClass& sentence, const Segments& seg, const Head& head, std::string_view templ) {
    const std::size_t star = head.pattern.find('*');
    if (star == std::string::npos) return;
    const std::string_view pattern = head.pattern;
    const std::string_view group1 = gbk::trim(pattern.substr(0, star));
    const std::string_view group2 = gbk::trim(pattern.substr(star + 1));
    if (group1.empty() || group2.empty() || group1.find('{') != std::string_view::npos ||
        group2.find('{') != std::string_view::npos)
        return;
    auto is = [&](int i, std::string_view group) {
        return seg.key(i) == group || gbk::trim(seg.spacedWords(i)) == group;
    };
    int first = 1;
    while (first <= seg.count() && !is(first, group1)) ++first;
    int second = seg.count();
    while (second >= 1 && (second == first || !is(second, group2))) --second;
    if (first > seg.count() || second < 1) return;

    const std::size_t hash = templ.find('#');
    std::string_view text1 = templ.substr(0, hash);
    std::string_view text2;
    if (hash != std::string_view::npos && hash + 1 < templ.size())
        text2 = templ.substr(hash + 1 + gbk::charLength(templ, hash + 1));
    sentence.segTrans[first] = dedupBar(std::string(text1) + "|" + sentence.segTrans[first]);
    sentence.segTrans[second] = dedupBar(std::string(text2) + "|" + sentence.segTrans[second]);
}

bool anchoredAtStart(const Segments& seg, const Head& head) {
    if (seg.count() < 1) return false;
    for (std::string_view token : tokensOf(head.pattern))
        if (token != "*") return seg.holds(1, " " + std::string(token) + " ");
    return false;
}

}  // namespace

GrammarPlacement placeGrammar(stClass& sentence) {
    GrammarPlacement out;
    const Segments seg(sentence);
    const std::string_view text = sentence.grammarText;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t open = text.find('<', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('>', open + 1);
        if (close == std::string_view::npos) break;
        std::size_t next = text.find('<', close + 1);
        if (next == std::string_view::npos) next = text.size();
        const Head head = parseHead(text.substr(open + 1, close - open - 1));
        const std::string_view templ = text.substr(close + 1, next - close - 1);
        pos = next;

        if (head.pattern.empty()) continue;
        if (head.flag == '1' && !anchoredAtStart(seg, head)) continue;
        if (head.flag == '0')
            placeCollocation(sentence, seg, head, templ);
        else
            placeOrdinary(seg, head, templ, out);
    }
    return out;
}

}  // namespace tavricat
