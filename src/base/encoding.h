#pragma once
// Conversion between UTF-8 (terminal, desktop, file names, settings file) and GBK (all text
// inside the core and in the system's files). Used only at the edges.

#include <functional>
#include <string>
#include <string_view>

#include "base/status.h"

namespace tavricat::encoding {

// Fails with BadInput naming the first character GBK cannot hold (or the malformed byte).
Result<std::string> utf8ToGbk(std::string_view utf8);

// Fails with BadInput on a byte sequence that is not GBK.
Result<std::string> gbkToUtf8(std::string_view gbk);

// For display only: never fails; a byte that is not GBK shows as U+FFFD.
std::string gbkToUtf8Lossy(std::string_view gbk);

// For display only: never fails; a character GBK cannot hold shows as "?". Used to put
// native (UTF-8) paths into messages.
std::string utf8ToGbkLossy(std::string_view utf8);

// The text of a file a person brings (sentence files, term lists, grammar files) as GBK. A
// byte-order mark is never part of the text; a UTF-8 or UTF-16 mark, or bytes that are valid
// UTF-8 holding non-ASCII characters (which GBK text of any length practically never is), mean
// the file is converted. Fails with BadInput when it holds characters GBK cannot hold.
Result<std::string> inputTextToGbk(std::string_view bytes);

// Whether the bytes are well-formed UTF-8 holding at least one non-ASCII character.
bool isNonAsciiUtf8(std::string_view bytes);

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// For literal texts known to be representable (the caller's own constants): aborts on a
// conversion failure, which is a programming error.
std::string toGbk(std::string_view utf8);

// What convertStream does at a sequence it cannot convert.
enum class OnInvalid { SkipByte, Stop };

// Runs the open iconv handle `cd` (reset first) over `in` a buffer at a time, handing every
// converted run of bytes to `emit` (whole output characters). At a sequence the conversion
// cannot take, `invalid(offset, cutShort)` is called with the sequence's offset in `in` and
// whether it is a character cut off by the end of the input; it says whether to skip one byte
// and go on or to stop there.
void convertStream(void* cd, std::string_view in, const std::function<void(std::string_view)>& emit,
                   const std::function<OnInvalid(std::size_t offset, bool cutShort)>& invalid);

}  // namespace tavricat::encoding
