#pragma once
// Block-scrambled files: the system dictionary (.IDX, .DAT) and the irregular-form table
// "verb.dat" are stored in 4096-byte blocks, each byte i of a block combined by exclusive-or
// with byte (i mod 256) of the program's fixed key table. The same operation unscrambles.
//
// A block-scrambled *text* file (.IDX, verb.dat) holds its text in whole blocks: every block
// contributes its bytes up to its first zero byte (all 4096 when it has none), the pieces are
// joined, and a trailing part shorter than a block is ignored.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/line_list.h"
#include "base/status.h"

namespace tavricat {

inline constexpr std::size_t kBlockSize = 4096;

// Scrambles (or unscrambles) `size` bytes that start at the beginning of a block.
// REQUIRES: size <= kBlockSize.
void scrambleBlock(char* data, std::size_t size);

// The text of a block-scrambled text file: size / 4096 whole blocks, each unscrambled and
// cut at its first zero byte, joined.
std::string readBlockText(std::string_view bytes);

// The file bytes whose readBlockText is `text` exactly: the text cut into whole blocks, the
// last one padded with zero bytes (none when the text fills it), each scrambled. Empty text
// gives an empty file. Fails (BadInput) when the text holds a zero byte, which the reader
// would take for the end of its block.
Result<std::string> writeBlockText(std::string_view text);

// readBlockText of the file at `path`, split into lines (any line end).
Result<LineList> loadBlockLines(FileSystem& fs, const std::string& path);

// Writes `lines` (each followed by CR LF) as a block-scrambled text file through a scratch
// file and a rename.
Status saveBlockLines(FileSystem& fs, const std::string& path, const LineList& lines);

}  // namespace tavricat
