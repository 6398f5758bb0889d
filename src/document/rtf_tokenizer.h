#pragma once
// Splits RTF bytes into groups, control words, control symbols, hex bytes and plain
// characters. Never fails: whatever the input, next() moves forward and finally returns End,
// so every reader loop over it terminates.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tavricat {

struct RtfToken {
    enum class Kind {
        End,
        GroupOpen,   // {
        GroupClose,  // }
        Word,        // \name or \nameN; `word` and, when hasParam, `param`
        Symbol,      // \ followed by one non-letter (`byte`), e.g. \~ \* \{ ; also a broken \'
        Hex,         // \'hh; `byte` is the value
        Char,        // a plain byte of text (literal CR and LF are dropped, as RTF says)
    };
    Kind kind = Kind::End;
    std::string_view word;
    bool hasParam = false;
    std::int32_t param = 0;  // clamped to the int32 range however many digits were written
    unsigned char byte = 0;
};

class RtfTokenizer {
public:
    // Control word names longer than this are cut (RTF allows 32 letters).
    static constexpr std::size_t kMaxWordLength = 32;

    explicit RtfTokenizer(std::string_view bytes) : m_bytes(bytes) {}

    RtfToken next();
    // Skips `count` raw bytes (the data of \binN), or up to the end.
    void skipBytes(std::size_t count);
    std::size_t position() const { return m_pos; }

private:
    RtfToken readEscape();

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

}  // namespace tavricat
