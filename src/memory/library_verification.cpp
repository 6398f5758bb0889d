#include "memory/library_verification.h"

#include <algorithm>

#include "base/gbk.h"
#include "engine/engine.h"

namespace tavricat {

namespace {

std::string withoutLineEnds(std::string_view text) {
    std::string out(text);
    out.erase(std::remove_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }), out.end());
    return out;
}

// A line the window can show and store: an example whose key is not empty.
bool isListable(std::string_view line) {
    if (line.size() <= 4) return false;
    const std::size_t caret = findKeySeparator(line);
    return caret != std::string_view::npos && caret > 3;
}

}  // namespace

std::size_t findWholeChars(std::string_view text, std::string_view find, std::size_t from) {
    if (find.empty()) return std::string_view::npos;
    // From a character boundary, equal bytes split into the same characters; only a `find`
    // ending in a lone lead byte could end inside a character of the text.
    std::size_t last = 0;
    while (last + gbk::charLength(find, last) < find.size()) last += gbk::charLength(find, last);
    const bool endsInLead = find.size() - last == 1 && gbk::isLeadByte(static_cast<unsigned char>(find[last]));
    std::size_t at = 0;
    while (at < from && at < text.size()) at += gbk::charLength(text, at);
    for (; at + find.size() <= text.size(); at += gbk::charLength(text, at)) {
        if (text.compare(at, find.size(), find) == 0 && !(endsInLead && at + find.size() < text.size())) return at;
    }
    return std::string_view::npos;
}

std::string replaceWholeChars(std::string_view text, std::string_view find, std::string_view replacement) {
    std::string out;
    std::size_t pos = 0;
    for (std::size_t hit = findWholeChars(text, find); hit != std::string_view::npos;
         hit = findWholeChars(text, find, pos)) {
        out.append(text.substr(pos, hit - pos));
        out.append(replacement);
        pos = hit + find.size();
    }
    out.append(text.substr(pos));
    return out;
}

bool passesFilter(std::string_view line, const VerificationFilter& filter) {
    const bool hasSource = !filter.source.empty() && findWholeChars(line, filter.source) != std::string_view::npos;
    const bool hasTranslation =
        !filter.translation.empty() && findWholeChars(line, filter.translation) != std::string_view::npos;
    if (filter.either) return filter.source.empty() || hasSource || filter.translation.empty() || hasTranslation;
    return (filter.source.empty() || hasSource) && (filter.translation.empty() || hasTranslation);
}

std::vector<std::size_t> listExamplesToVerify(const SentenceLibrary& library, const VerificationFilter& filter) {
    VerificationFilter lower{gbk::asciiLower(filter.source), gbk::asciiLower(filter.translation), filter.either};
    std::vector<std::size_t> listed;
    for (std::size_t k = 0; k < library.libSentences.size(); ++k) {
        const std::string& line = library.libSentences[k];
        if (isListable(line) && (lower.isEmpty() || passesFilter(line, lower))) listed.push_back(k);
    }
    return listed;
}

std::optional<ExampleParts> examplePartsOf(std::string_view line) {
    const std::size_t caret = findKeySeparator(line);
    if (caret == std::string_view::npos) return std::nullopt;
    ExampleParts parts;
    const std::size_t start = std::min<std::size_t>(3, caret);
    parts.countPrefix = std::string(line.substr(0, start));
    parts.source = std::string(line.substr(start, caret - start));
    parts.translation = std::string(line.substr(caret + 1));
    return parts;
}

Result<ExampleChange> storeCorrectedExample(SentenceLibrary& library, Engine& engine, const AnalysisOptions& options,
                                           std::size_t index, std::string_view source, std::string_view translation) {
    if (index >= library.exampleCount() || !isListable(library.libSentences[index]))
        return Status::error(ErrorKind::BadInput, "例句编号" + exampleIndexHex(index) + "不存在。");
    const ExampleParts stored = *examplePartsOf(library.libSentences[index]);
    std::string newSource = withoutLineEnds(source);
    const std::string newTranslation = withoutLineEnds(translation);
    if (findKeySeparator(newSource) != std::string::npos) return Status::error(ErrorKind::Refused, kCaretInSegment);

    if (sameWords(newSource, stored.source)) {
        if (newTranslation == stored.translation) return ExampleChange::None;
        library.replaceTranslation(index, newTranslation);
        return ExampleChange::Translation;
    }
    std::string spare;
    normSent(newSource, spare, engine, options);
    Status replaced = library.replaceExample(index, engine.refSent, newTranslation);
    if (!replaced.isOk()) return replaced;
    return ExampleChange::SourceReindexed;
}

std::vector<std::size_t> replaceInTranslations(SentenceLibrary& library, const std::vector<std::size_t>& listed,
                                               std::string_view find, std::string_view replacement) {
    std::vector<std::size_t> changed;
    if (find.empty() || find == replacement) return changed;
    for (std::size_t index : listed) {
        if (index >= library.exampleCount()) continue;
        const std::string& line = library.libSentences[index];
        const std::size_t caret = findKeySeparator(line);
        if (caret == std::string::npos) continue;
        const std::string_view translation = std::string_view(line).substr(caret + 1);
        if (findWholeChars(translation, find) == std::string_view::npos) continue;
        library.replaceTranslation(index, replaceWholeChars(translation, find, replacement));
        changed.push_back(index);
    }
    return changed;
}

void LibraryVerification::list(const VerificationFilter& filter) {
    m_filter = {gbk::asciiLower(filter.source), gbk::asciiLower(filter.translation), filter.either};
    m_listed = listExamplesToVerify(m_library, m_filter);
    m_position = 0;
}

std::optional<std::size_t> LibraryVerification::currentExample() const {
    if (m_position >= m_listed.size()) return std::nullopt;
    return m_listed[m_position];
}

std::optional<ExampleParts> LibraryVerification::current() const {
    const std::optional<std::size_t> index = currentExample();
    if (!index || *index >= m_library.exampleCount()) return std::nullopt;
    return examplePartsOf(m_library.libSentences[*index]);
}

bool LibraryVerification::moveTo(std::size_t position) {
    if (position >= m_listed.size()) return false;
    m_position = position;
    return true;
}

std::optional<std::size_t> LibraryVerification::parsePosition(std::string_view typed) const {
    const std::string_view digits = gbk::trim(typed);
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    std::size_t number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    if (number < 1 || number > m_listed.size()) return std::nullopt;
    return number - 1;
}

Result<ExampleChange> LibraryVerification::storeCurrent(Engine& engine, const AnalysisOptions& options,
                                                        std::string_view source, std::string_view translation) {
    const std::optional<std::size_t> index = currentExample();
    if (!index) return ExampleChange::None;
    return storeCorrectedExample(m_library, engine, options, *index, source, translation);
}

std::vector<std::size_t> LibraryVerification::replaceInListed(std::string_view find, std::string_view replacement) {
    return replaceInTranslations(m_library, m_listed, find, replacement);
}

std::optional<std::size_t> LibraryVerification::deleteCurrent() {
    const std::optional<std::size_t> index = currentExample();
    if (!index) return std::nullopt;
    if (!m_library.deleteSample(*index).isOk()) return std::nullopt;
    m_listed.erase(m_listed.begin() + static_cast<std::ptrdiff_t>(m_position));
    if (m_position >= m_listed.size() && !m_listed.empty()) m_position = m_listed.size() - 1;
    if (m_listed.empty()) m_position = 0;
    return index;
}

}  // namespace tavricat
