#include "memory/library_update.h"

#include <exception>

#include "base/encoding.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "document/document_io.h"
#include "document/han_spacing.h"
#include "document/markup.h"
#include "document/rtf_reader.h"
#include "document/target_conversion.h"
#include "engine/analyser.h"
#include "engine/engine.h"
#include "engine/term_base_snapshot.h"

namespace tavricat {

namespace {

std::string fileName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string updateError(const std::string& path) {
    return "更新文件:" + encoding::utf8ToGbkLossy(path) + " 过程中出现错误！请仔细检查该文件的内容和格式。";
}

// The pair lines of a file: empty lines dropped; lines without "^" in the first line mean
// source and translation lines alternate (an odd last line is dropped).
LineList pairLines(LineList lines) {
    std::erase_if(lines, [](const std::string& line) { return line.empty(); });
    if (lines.empty() || findKeySeparator(lines.front()) != std::string::npos) return lines;
    LineList pairs;
    for (std::size_t k = 0; k + 1 < lines.size(); k += 2) pairs.push_back(lines[k] + "^" + lines[k + 1]);
    return pairs;
}

// The first pair's source is in the other direction's script.
bool needsSwap(const std::string& firstPair, Direction direction) {
    const std::string_view source = std::string_view(firstPair).substr(0, findKeySeparator(firstPair));
    // Accented letters and full-width signs are double-byte in GBK too: Han characters decide.
    const bool chinese = hasCChars(source);
    return direction == Direction::EC ? chinese : !chinese;
}

// A pair that must not become an example: an empty side, or segment markers that would
// break the bilingual documents its translation is written into.
bool refusedPair(std::string_view source, std::string_view translation) {
    return gbk::trim(source).empty() || gbk::trim(translation).empty() || containsMarker(source) ||
           containsMarker(translation);
}

// The lines of an office document, read through LibreOffice: the sentence pairs of its
// segments when it is a bilingual document, else its text lines.
Result<LineList> officeDocumentLines(FileSystem& fs, const std::string& path) {
    Result<RichText> document = loadDocumentFile(fs, path);
    if (!document) return document.status();
    const std::string text = document->text();
    if (containsMarker(text)) return extractSentencePairs(*document).pairs;
    return splitLines(text);
}

Result<FileUpdateCounts> addPairs(LibraryUpdateContext& context, const std::string& path, bool overwrite) {
    FileUpdateCounts counts;
    const bool office = isOfficeDocument(path);
    Result<LineList> read = office ? officeDocumentLines(context.fs, path) : loadInputLines(context.fs, path);
    if (!read) {
        std::string message = updateError(path);
        // The converter's reasons (LibreOffice missing, failed, too slow) are told as well.
        if (office || read.status().kind() == ErrorKind::BadInput) message += "\r\n" + read.status().message();
        context.dialogs.message(message);
        return read.status();
    }
    const bool libraryLines = gbk::asciiLower(fileName(path)).find(".rf0") != std::string::npos;
    const LineList pairs = pairLines(std::move(*read));
    counts.pairsRead = pairs.size();

    const Direction direction = context.pipeline.options.direction;
    bool swap = false;
    if (!pairs.empty() && needsSwap(pairs.front(), direction)) {
        swap = context.dialogs.askYesNo("系统发现原文与译文需要互换。互换吗（否则跳过文件:" +
                                        encoding::utf8ToGbkLossy(path) + "）?");
        if (!swap) {
            counts.pairsRead = 0;
            counts.skipped = true;
            counts.librarySize = context.library.exampleCount();
            return counts;
        }
    }

    Engine& engine = context.pipeline.engine;
    const TermBaseSnapshot snapshot(engine.termBase);
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        if (context.progress && k % 10 == 0) {
            context.progress->setPosition(static_cast<int>(k * 100 / pairs.size()));
            context.progress->pump();
        }
        std::string_view line = pairs[k];
        if (line.size() <= 5) continue;  // a tombstone or a stub
        if (context.library.exampleCount() >= kMaxExamples) {
            // Told once, and the file counts as failed: its pairs from here on are not stored.
            context.dialogs.message(kLibraryFull);
            counts.refused += pairs.size() - k;
            counts.libraryFull = true;
            break;
        }
        if (libraryLines) line.remove_prefix(3);
        const std::size_t caret = findKeySeparator(line);
        if (caret == std::string_view::npos) {
            // A cut line: what came before it stays, the rest of the file is not trusted.
            context.dialogs.message(updateError(path));
            return Status::error(ErrorKind::BadInput, "line " + std::to_string(k + 1) + " has no \"^\"");
        }
        std::string source(line.substr(0, caret));
        std::string translation(line.substr(caret));  // from the "^" on
        if (swap) {
            std::string swapped = translation.substr(1);
            translation = "^" + source;
            if (direction == Direction::EC) translation = ClearSpaceInCChars(translation);
            source = std::move(swapped);
        }
        updateWithPair(context, std::move(source), std::string_view(translation).substr(1), overwrite, counts);
    }
    counts.librarySize = context.library.exampleCount();
    return counts;
}

}  // namespace

void updateWithPair(LibraryUpdateContext& context, std::string source, std::string_view translation, bool overwrite,
                    FileUpdateCounts& counts) {
    if (refusedPair(source, translation)) {
        ++counts.refused;
        return;
    }
    if (context.pipeline.options.direction == Direction::CE) source = AddSpaceInCChars(source);
    Engine& engine = context.pipeline.engine;
    std::string cleaned;
    prepareSent(source, cleaned, context.pipeline, true);
    // The same sentence is the same source, found by its words: a similar one is a new
    // example, however high it would rate.
    if (const std::optional<std::size_t> same = context.library.newestWithSource(segmentKeyOf(engine.workSent))) {
        ++counts.same;
        if (overwrite) context.library.replaceTranslation(*same, translation);
        return;
    }
    if (!context.library.addAnalysed(engine.workSent, translation)) ++counts.refused;
}

std::string exsPathFor(const std::string& bilingualPath) {
    const std::size_t nameStart = bilingualPath.find_last_of('/') + 1;
    const std::size_t dot = bilingualPath.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return bilingualPath + ".exs";
    return bilingualPath.substr(0, dot) + ".exs";
}

Result<FileUpdateCounts> singleFileUpdate(LibraryUpdateContext& context, const std::string& path, bool overwrite) {
    try {
        const SentenceLibrary::BulkAdds bulk(context.library);
        return addPairs(context, path, overwrite);
    } catch (const std::exception& e) {
        // The pairs added so far stay; the term base was restored on the way out.
        context.dialogs.message(updateError(path));
        return Status::error(ErrorKind::BadInput, e.what());
    }
}

Result<BilingualConversion> convertBilingualFile(FileSystem& fs, const std::string& path) {
    Result<RichText> document = loadRichTextFile(fs, path);
    if (!document) return document.status();
    const PairExtraction extracted = extractSentencePairs(*document);
    BilingualConversion conversion{exsPathFor(path), extracted.nested.size() + extracted.refused.size()};
    if (Status written = replaceLines(fs, conversion.exsPath, extracted.pairs); !written) return written;
    return conversion;
}

LibraryUpdateTotals updateLibraryFromFiles(LibraryUpdateContext& context, const std::vector<std::string>& files,
                                           bool overwrite, const std::string& userDataFolder,
                                           const FileUpdateObserver& onFile) {
    LibraryUpdateTotals totals;
    for (std::size_t index = 0; index < files.size(); ++index) {
        const std::string& file = files[index];
        auto failed = [&](const std::string& input) {
            totals.failedFiles.push_back(file);
            if (onFile) onFile(index, input, nullptr);
        };
        std::string input = file;
        std::size_t leftOut = 0;  // segments the conversion refused
        if (gbk::asciiLower(fileName(file)).ends_with(".bil")) {
            if (context.progress) context.progress->setCaption("正在转换文件:" + encoding::utf8ToGbkLossy(file) + "...");
            Result<BilingualConversion> converted = [&]() -> Result<BilingualConversion> {
                try {
                    return convertBilingualFile(context.fs, file);
                } catch (const std::exception& e) {
                    return Status::error(ErrorKind::BadInput, e.what());
                }
            }();
            if (!converted) {
                context.dialogs.message(updateError(file));
                failed(file);
                continue;
            }
            input = converted->exsPath;
            leftOut = converted->refused;
        }
        if (context.progress) context.progress->setCaption("正在处理文件:" + encoding::utf8ToGbkLossy(input) + "...");
        Result<FileUpdateCounts> counts = singleFileUpdate(context, input, overwrite);
        if (!counts) {
            failed(input);
            continue;
        }
        if (!counts->skipped) {
            counts->pairsRead += leftOut;
            counts->refused += leftOut;
        }
        totals.pairsRead += counts->pairsRead;
        totals.same += counts->same;
        totals.added += counts->added();
        totals.refused += counts->refused;
        if (onFile) onFile(index, input, &*counts);
        if (counts->libraryFull) {
            // This file and those after it are not stored: none of them fits.
            totals.failedFiles.insert(totals.failedFiles.end(), files.begin() + static_cast<std::ptrdiff_t>(index),
                                      files.end());
            break;
        }
    }
    totals.librarySize = context.library.exampleCount();
    if (context.progress) context.progress->setCaption("更新例句库");
    if (context.library.saveFiles(context.fs, context.dialogs, userDataFolder)) {
        context.dialogs.beep();
        context.dialogs.message(kUpdateDone);
    }
    return totals;
}

}  // namespace tavricat
