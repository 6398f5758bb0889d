#pragma once
// GBK (code page 936) byte strings. A lead byte 0x81..0xFE starts a double-byte character;
// its trail byte may be 0x40..0xFE and so can look like an ASCII letter ("@", "A".."Z",
// "[", "a".."z"). Every walk over text must step whole characters so that a trail byte is
// never taken for ASCII.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavricat::gbk {

inline bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Length in bytes of the character starting at `pos` (1 or 2). A lead byte at the very end
// of the text counts as one byte, so walks always terminate.
std::size_t charLength(std::string_view text, std::size_t pos);

// True when a double-byte character starts at `pos`.
bool isDoubleByteAt(std::string_view text, std::size_t pos);

// True when a lead byte at `pos` is followed by a byte that can be a second byte (0x40-0xFE
// but 0x7F): a character GBK holds, not a stray byte of another code page before a blank.
bool isWholeDoubleByteAt(std::string_view text, std::size_t pos);

// True when byte `pos` is the second byte of a double-byte character, counting characters
// from the start of `text`.
bool isTrailByte(std::string_view text, std::size_t pos);

// True when the text holds at least one double-byte character.
bool hasDoubleByte(std::string_view text);

// Number of characters (a double-byte character counts once).
std::size_t charCount(std::string_view text);

// ASCII letters folded to lower / upper case; bytes of double-byte characters untouched.
std::string asciiLower(std::string_view text);
std::string asciiUpper(std::string_view text);

// Trim ASCII blanks and control characters (bytes <= 0x20) at both ends, as the rest of
// the system's "trim" does; double-byte blanks are text and stay.
std::string_view trim(std::string_view text);

// `text` cut to at most `limit` bytes, never inside a double-byte character.
std::string_view cutToBytes(std::string_view text, std::size_t limit);

}  // namespace tavricat::gbk
