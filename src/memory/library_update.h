#pragma once
// Filling the current sentence library in bulk from earlier work: bilingual documents (.bil,
// converted to .exs first), sentence files (.exs: "source^translation" per line), sentence
// files of another library (.rf0), texts whose source and translation lines alternate, and
// office documents (.docx, .odt, .doc, read through LibreOffice) holding either segments or
// such lines.
// Each pair becomes a new example unless the library already holds the same sentence (an
// example with the same source words), whose translation is then overwritten or kept. The
// term base ends each file as it began it.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/ports.h"
#include "base/status.h"
#include "grammar/translation_pipeline.h"
#include "memory/sentence_library.h"

namespace tavricat {

inline constexpr const char* kUpdateDone = "更新完成!";

// What the update touches: the library, the sentence pipeline (analysis-only use), and the
// ports for the swap question, messages and progress.
struct LibraryUpdateContext {
    SentenceLibrary& library;
    PipelineContext pipeline;
    FileSystem& fs;
    Dialogs& dialogs;
    Progress* progress = nullptr;  // moved every tenth pair when given
};

struct FileUpdateCounts {
    std::size_t pairsRead = 0;    // "总计："
    std::size_t same = 0;         // "重复：" sentences the library already held
    std::size_t refused = 0;      // pairs not stored: an empty side, markers, no segments, > 255 segments
    std::size_t librarySize = 0;  // examples after the file
    bool skipped = false;         // the swap question was answered no
    bool libraryFull = false;     // the library could take no more: the pairs from there on are refused
    std::size_t added() const { return pairsRead - same - refused; }  // "新加："
};

// The .exs file a bilingual document converts to: its extension (the part of the last path
// component from its last ".") replaced by ".exs", or ".exs" appended. Conversion and update
// both name the file this way.
std::string exsPathFor(const std::string& bilingualPath);

// `singleFileUpdate`: adds the pairs of one file (not .bil) to the library in memory. A file
// whose first source has the other direction's script is swapped on "yes" to the question and
// skipped on "no". A pair with an empty source or translation, or with segment markers in
// either, is refused. A file that cannot be read (or, in UTF-8, holds characters GBK cannot
// hold), or a line without its "^", shows the update error and fails; pairs added before the
// failure stay. Nothing is thrown.
Result<FileUpdateCounts> singleFileUpdate(LibraryUpdateContext& context, const std::string& path, bool overwrite);

// One pair through the update's rules, counted in `counts` (pairsRead is the caller's): a pair
// with an empty side or markers is refused, the same sentence keeps or takes the new
// translation (`overwrite`), anything else becomes a new example. The caller holds a
// TermBaseSnapshot over its pairs: the analysis must not change the term base.
void updateWithPair(LibraryUpdateContext& context, std::string source, std::string_view translation, bool overwrite,
                    FileUpdateCounts& counts);

struct BilingualConversion {
    std::string exsPath;
    std::size_t refused = 0;  // segments left out of the .exs (see extractSentencePairs)
};

// Writes the sentence pairs of a bilingual document to exsPathFor(path).
Result<BilingualConversion> convertBilingualFile(FileSystem& fs, const std::string& path);

struct LibraryUpdateTotals {
    std::size_t pairsRead = 0, same = 0, added = 0, refused = 0;
    std::size_t librarySize = 0;
    std::vector<std::string> failedFiles;
};

// Told after each file of an update: its index in the list, the file that was read (the
// .exs of a .bil), and its counts (null when the file failed).
using FileUpdateObserver =
    std::function<void(std::size_t index, const std::string& input, const FileUpdateCounts* counts)>;

// The update window's "更  新": .bil files are converted first, then every file is added in
// order; the library is saved once at the end, then "更新完成!" is shown. A file that fails
// is named in failedFiles and the others go on. The segments a conversion leaves out count
// as pairs read and refused.
LibraryUpdateTotals updateLibraryFromFiles(LibraryUpdateContext& context, const std::vector<std::string>& files,
                                           bool overwrite, const std::string& userDataFolder,
                                           const FileUpdateObserver& onFile = {});

}  // namespace tavricat
