#include "grammar/grammar_record.h"

#include <vector>

#include "base/gbk.h"
#include "document/han_spacing.h"
#include "engine/engine.h"

namespace tavricat {

namespace {

// Words that stand for "*" and "{" while the source pattern goes through the analysis.
constexpr std::string_view kGapWord = "lplp";
constexpr std::string_view kGroupWord = "lqlq";
// The anchor of patterns that have no literal stretch.
constexpr std::string_view kSlotsOnlyAnchor = "lxm";

Status badRecord(std::string message) { return Status::error(ErrorKind::BadInput, std::move(message)); }

}  // namespace

std::size_t findAsciiChar(std::string_view text, char ch, std::size_t from) {
    for (std::size_t i = 0; i < text.size(); i += gbk::charLength(text, i))
        if (i >= from && text[i] == ch && gbk::charLength(text, i) == 1) return i;
    return std::string_view::npos;
}

std::string replaceOnCharBoundaries(std::string_view text, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, from.size(), from) == 0) {
            out.append(to);
            i += from.size();
            continue;
        }
        const std::size_t length = gbk::charLength(text, i);
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string formatGrammarOption(const GrammarOption& option) {
    std::string out;
    if (option.flag == GrammarFlag::Associated) out = "0";
    if (option.flag == GrammarFlag::Aligned) out = "1";
    const auto& l = option.limits;
    if (l[0] != 0 || l[1] != 0 || l[2] != 0)
        out += "(" + std::to_string(l[0]) + " " + std::to_string(l[1]) + " " + std::to_string(l[2]) + ")";
    return out;
}

Result<GrammarOption> parseGrammarOption(std::string_view text) {
    GrammarOption option;
    std::size_t i = 0;
    if (!text.empty() && (text[0] == '0' || text[0] == '1')) {
        option.flag = text[0] == '0' ? GrammarFlag::Associated : GrammarFlag::Aligned;
        i = 1;
    }
    if (i == text.size()) return option;
    // "(d d d)": seven characters, nothing after them.
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto separator = [](char c) { return c == ' ' || c == ',' ; };
    std::string_view limits = text.substr(i);
    if (limits.size() != 7 || limits[0] != '(' || !digit(limits[1]) || !separator(limits[2]) || !digit(limits[3]) ||
        !separator(limits[4]) || !digit(limits[5]) || limits[6] != ')')
        return badRecord("语法选项不对：" + std::string(text));
    option.limits = {limits[1] - '0', limits[3] - '0', limits[5] - '0'};
    return option;
}

GrammarRecord splitGrammarRecord(std::string_view record) {
    GrammarRecord out;
    const std::size_t first = findAsciiChar(record, '^');
    if (first == std::string_view::npos) {
        out.source = record;
        return out;
    }
    out.source = record.substr(0, first);
    const std::size_t second = findAsciiChar(record, '^', first + 1);
    if (second == std::string_view::npos) {
        out.option = record.substr(first + 1);
        return out;
    }
    out.option = record.substr(first + 1, second - first - 1);
    out.target = record.substr(second + 1);
    return out;
}

Result<GrammarRecord> parseGrammarRecord(std::string_view record) {
    const std::size_t first = findAsciiChar(record, '^');
    if (first == std::string_view::npos || findAsciiChar(record, '^', first + 1) == std::string_view::npos)
        return badRecord("语法格式不对，应为：原文^选项^译文：" + std::string(record));
    GrammarRecord split = splitGrammarRecord(record);
    if (gbk::trim(split.source).empty()) return badRecord("语法原文不能为空：" + std::string(record));
    if (Result<GrammarOption> option = parseGrammarOption(split.option); !option) return option.status();
    return split;
}

std::string formatGrammarRecord(const GrammarRecord& record) {
    return record.source + "^" + record.option + "^" + record.target;
}

std::string normalizeTemplateMarks(std::string_view target) {
    std::string out = replaceOnCharBoundaries(target, "＃", "#");
    out = replaceOnCharBoundaries(out, "·", "@");
    out = replaceOnCharBoundaries(out, "｛", "{");
    return replaceOnCharBoundaries(out, "｝", "}");
}

std::string grammarDialogRecord(std::string_view source, std::string_view target, const GrammarOption& option) {
    return formatGrammarRecord({std::string(source), formatGrammarOption(option), normalizeTemplateMarks(target)});
}

std::string removeBlanksInGroups(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    bool inGroup = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = gbk::charLength(text, i);
        if (length == 1) {
            if (text[i] == '{') inGroup = true;
            else if (text[i] == '}') inGroup = false;
            else if (text[i] == ' ' && inGroup) {
                ++i;
                continue;
            }
        }
        out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

namespace {

// The source pattern with every closed "{...}" group replaced by the group word; `groups`
// receives the groups as the key holds them (ASCII lower case, no blanks). A group is a tag
// or class name, not text: left to the analysis, a name the analysis does not keep as a
// word (the Chinese class names "{比较级}", "{复数}" in EC) came out as "{}" and the
// pattern never matched. An unclosed "{" stays a bare group word and its text is analysed.
std::string setGroupsAside(std::string_view pattern, std::vector<std::string>& groups) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t open = findAsciiChar(pattern, '{', i);
        if (open == std::string_view::npos) {
            out.append(pattern.substr(i));
            break;
        }
        out.append(pattern.substr(i, open - i));
        out += " ";
        out += kGroupWord;
        out += " ";
        const std::size_t close = findAsciiChar(pattern, '}', open + 1);
        if (close == std::string_view::npos) {
            groups.emplace_back("{");
            out.append(pattern.substr(open + 1));
            break;
        }
        groups.push_back(gbk::asciiLower(removeBlanksInGroups(pattern.substr(open, close - open + 1))));
        i = close + 1;
    }
    return out;
}

// The k-th group word of the key replaced by the k-th group set aside.
std::string restoreGroups(std::string_view key, const std::vector<std::string>& groups) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < key.size();) {
        if (next < groups.size() && key.compare(i, kGroupWord.size(), kGroupWord) == 0) {
            out += groups[next++];
            i += kGroupWord.size();
            continue;
        }
        const std::size_t length = gbk::charLength(key, i);
        out.append(key.substr(i, length));
        i += length;
    }
    return out;
}

}  // namespace

std::string grammarPatternKey(std::string_view sourcePattern, Engine& engine, const AnalysisOptions& options) {
    std::vector<std::string> groups;
    std::string text = setGroupsAside(replaceOnCharBoundaries(sourcePattern, "*", kGapWord), groups);
    std::string spare;
    normSent(text, spare, engine, options);
    std::string key = baseWordKeyOf(engine.refSent);
    key = replaceOnCharBoundaries(key, kGapWord, "*");
    key = restoreGroups(key, groups);
    return removeBlanksInGroups(gbk::trim(key));
}

std::string grammarAnchor(std::string_view patternKey) {
    std::string rest = replaceOnCharBoundaries(patternKey, "*", "{}");
    std::string anchor;
    long best = 0;
    for (;;) {
        const std::size_t open = findAsciiChar(rest, '{');
        if (open == std::string::npos) break;
        // The stretch before the group, without the blank that separates it.
        const long stretch = static_cast<long>(open) - 1;
        if (stretch > best) {
            anchor = gbk::trim(std::string_view(rest).substr(0, open));
            best = stretch;
        }
        // Drop everything up to the first "}" and the blank after it; an unclosed group
        // runs to the end.
        const std::size_t close = findAsciiChar(rest, '}');
        if (close == std::string::npos) {
            rest.clear();
            break;
        }
        rest.erase(0, std::min(close + 2, rest.size()));
    }
    std::string_view tail = gbk::trim(rest);
    if (best < static_cast<long>(tail.size())) anchor = tail;
    if (anchor.empty()) anchor = kSlotsOnlyAnchor;
    return anchor;
}

GrammarPlacementLines grammarLinesFor(std::string_view patternKey, std::string_view option, std::string_view target,
                                      Direction direction) {
    GrammarPlacementLines lines;
    lines.anchor = grammarAnchor(patternKey);
    std::string entry = std::string(patternKey) + "^<" + std::string(option) + "~>" + std::string(target);
    entry = replaceOnCharBoundaries(entry, lines.anchor, "~");
    if (!isCE(direction)) entry = ClearSpaceInCChars(entry);
    // P holds no "^", and neither does the anchor, so the first "^" ends the key part.
    lines.key = entry.substr(0, findAsciiChar(entry, '^') + 1);
    lines.entry = std::move(entry);
    return lines;
}

GrammarPlacementLines grammarLinesFor(const GrammarRecord& record, Engine& engine, const AnalysisOptions& options) {
    return grammarLinesFor(grammarPatternKey(record.source, engine, options), record.option, record.target,
                           options.direction);
}

}  // namespace tavricat
