#include "engine/verb_forms.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/list_order.h"
#include "engine/block_file.h"
#include "engine/tokenizer.h"

namespace tavricat {

std::string VerbForms::baseOf(std::string_view form) const {
    SortedFind at = findSorted(formList, form);
    return at.found && at.index < baseList.size() ? baseList[at.index] : std::string();
}

VerbForms parseVerbForms(const LineList& lines) {
    VerbForms table;
    for (const std::string& line : lines) {
        const std::string_view text = line;
        const std::string_view form = gbk::trim(text.substr(0, kVerbFormFieldBytes));
        if (form.empty()) continue;
        const std::string_view base =
            text.size() > kVerbBaseStart ? gbk::trim(text.substr(kVerbBaseStart, kVerbBaseFieldBytes)) : std::string_view();
        // The analysis puts a base form in the place of its form word for word; a base form
        // of another length would shift every later word against its segment.
        if (!base.empty() && countWords(base) != countWords(form)) continue;
        table.formList.emplace_back(form);
        table.baseList.emplace_back(base);
    }
    if (!isListOrdered(table.formList)) sortWithParallel(table.formList, {&table.baseList});
    return table;
}

Result<VerbForms> loadVerbForms(FileSystem& fs, const std::string& path) {
    if (!fs.exists(path)) return VerbForms{};
    Result<LineList> lines = loadBlockLines(fs, path);
    if (!lines) return lines.status();
    return parseVerbForms(*lines);
}

namespace {
bool holdsLineBreakOrZero(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}
Status refuse(std::string_view form, const char* why) {
    return Status::error(ErrorKind::BadInput, "verb form \"" + std::string(form) + "\": " + why);
}
}  // namespace

Result<std::string> verbFormLine(std::string_view form, std::string_view base) {
    form = gbk::trim(form);
    base = gbk::trim(base);
    if (form.empty()) return refuse(form, "empty form");
    if (holdsLineBreakOrZero(form) || holdsLineBreakOrZero(base)) return refuse(form, "holds a line break or a zero byte");
    if (form.size() > kVerbFormMaxBytes) return refuse(form, "the form is longer than 29 bytes");
    if (base.size() > kVerbBaseMaxBytes) return refuse(form, "the base form is longer than 99 bytes");
    std::string line(form);
    line.resize(kVerbFormFieldBytes, ' ');
    line += base;
    return line;
}

Status writeVerbForms(FileSystem& fs, const std::string& path, std::vector<std::pair<std::string, std::string>> pairs) {
    std::stable_sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) {
        return compareListOrder(gbk::trim(a.first), gbk::trim(b.first)) < 0;
    });
    LineList lines;
    lines.reserve(pairs.size());
    for (const auto& [form, base] : pairs) {
        Result<std::string> line = verbFormLine(form, base);
        if (!line) return line.status();
        lines.push_back(std::move(*line));
    }
    return saveBlockLines(fs, path, lines);
}

}  // namespace tavricat
