#include "wordlink/linked_paragraph.h"

#include <algorithm>

#include "base/encoding.h"
#include "base/utf8.h"
#include "document/markup.h"
#include "document/rich_text.h"

namespace tavricat::wordlink {

LinkedParagraph::LinkedParagraph(std::string_view utf8) {
    m_text.reserve(utf8.size());
    m_starts.reserve(utf8.size() + 1);
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::min(encoding::utf8SequenceLength(static_cast<unsigned char>(utf8[i])), utf8.size() - i);
        m_starts.push_back(m_text.size());
        const std::string_view character = utf8.substr(i, length);
        if (length == 1 && static_cast<unsigned char>(character[0]) < 0x80) {
            m_text += character[0];
        } else if (Result<std::string> gbk = encoding::utf8ToGbk(character)) {
            m_text += *gbk;
        } else {
            m_text += '?';
            ++m_lost;
        }
        i += length;
    }
    m_starts.push_back(m_text.size());
}

std::size_t LinkedParagraph::byteOf(std::size_t index) const {
    return index < m_starts.size() ? m_starts[index] : m_text.size();
}

std::size_t LinkedParagraph::characterAt(std::size_t offset) const {
    if (offset >= m_text.size()) return characterCount();
    const auto at = std::upper_bound(m_starts.begin(), m_starts.end() - 1, offset);
    return static_cast<std::size_t>(at - m_starts.begin()) - 1;
}

std::optional<ParagraphPick> pickSentence(const LinkedParagraph& paragraph, std::size_t caret, Direction direction,
                                          const BreakOptions& breaks, const AbbreviationLookup& abbreviations) {
    // The paragraph's end is a line end to the getters, as in the program's own documents.
    RichText buffer;
    buffer.append(fromWordForm(paragraph.text()) + "\r\n", CharFormat{});
    buffer.setCaret(std::min(caret, buffer.size()));
    const SentencePick pick =
        isCE(direction) ? getASentCE(buffer, breaks) : getASentEC(buffer, breaks, abbreviations);
    if (pick.sentence.empty() && !pick.revision) return std::nullopt;
    ParagraphPick found;
    const std::size_t size = paragraph.text().size();
    found.start = std::min(buffer.selStart(), size);
    found.end = std::min(buffer.selStart() + buffer.selLength(), size);
    if (found.end <= found.start && !pick.revision) return std::nullopt;
    found.sentence = pick.sentence;
    found.revision = pick.revision;
    return found;
}

}  // namespace tavricat::wordlink
