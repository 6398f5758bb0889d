#include "interactive/sentence_confirmation.h"

#include <algorithm>

#include "base/gbk.h"
#include "base/ports.h"
#include "document/han_spacing.h"
#include "document/inline_tags.h"
#include "document/markup.h"
#include "document/segment_writer.h"
#include "engine/sentence_analysis.h"
#include "interactive/sentence_state.h"
#include "memory/sentence_library.h"

namespace tavricat {

namespace {

// The library form of the box text: one line, without the blanks the box may show between
// Chinese characters.
std::string storedFormOf(const ConfirmationContext& context, std::string_view box) {
    std::string text;
    text.reserve(box.size());
    for (char c : box) {
        if (c != '\r' && c != '\n') text.push_back(c);
    }
    return context.spaceInHanChar ? ClearSpaceInCChars(text) : text;
}

// Whether example `index` is stored under exactly `key` ("key ^translation").
bool storedUnderKey(const SentenceLibrary& library, std::size_t index, const std::string& key) {
    if (index >= library.libSentences.size()) return false;
    const std::string& line = library.libSentences[index];
    const std::size_t caret = findKeySeparator(line);
    return caret != std::string::npos && caret == key.size() + 1 && line[key.size()] == ' ' &&
           line.compare(0, key.size(), key) == 0;
}

// The translation as it goes into the document: trimmed, and in CE direction (English
// target) beginning with a capital.
std::string documentFormOf(Direction direction, std::string_view box) {
    std::string text(gbk::trim(box));
    if (isCE(direction) && !text.empty() && !gbk::isLeadByte(static_cast<unsigned char>(text[0]))) {
        text[0] = gbk::asciiUpper(std::string_view(text.data(), 1))[0];
    }
    return text;
}

}  // namespace

bool tagsAcceptable(Dialogs& dialogs, const std::string& source, const std::string& translation) {
    if (tagsConsistent(source, translation)) return true;
    return dialogs.askYesNo(kTagsDoNotMatch);
}

ConfirmationResult confirmSentence(ConfirmationContext& context, SentenceState& state, RichText& document,
                                   std::string& box) {
    ConfirmationResult result;
    const DocumentSelection now{document.selStart(), document.selLength()};
    if (now != state.selection && context.dialogs.askYesNo(kSelectionMoved)) {
        document.select(state.selection.start, state.selection.length);
    }
    if (!tagsAcceptable(context.dialogs, context.analysis.text, box)) return result;
    if (box.empty()) {
        context.dialogs.beep();
        result.outcome = ConfirmOutcome::EmptyBox;
        return result;
    }
    // A translation the document cannot take is not stored either: the library would keep a
    // pair the document never got. The box keeps the text.
    if (containsMarker(box)) {
        context.dialogs.message(kMarkersInTarget);
        return result;
    }

    const std::string translation = storedFormOf(context, box);
    Result<std::string> key = exampleKeyOf(context.analysis);
    if (state.exampleUsed && key && storedUnderKey(context.library, state.exampleIndex, *key)) {
        context.library.replaceTranslation(state.exampleIndex, translation);
        result.outcome = ConfirmOutcome::Corrected;
        result.example = state.exampleIndex;
    } else if (context.analysis.segCount > 0 && key && key->size() > 5) {
        Result<std::size_t> added = context.library.addAnalysed(context.analysis, translation);
        if (added) {
            result.outcome = ConfirmOutcome::Stored;
            result.example = *added;
            const std::size_t count = context.library.exampleCount();
            if (count % kRecoveryInterval == 0 && context.writeRecoveryFiles) context.writeRecoveryFiles();
            if (context.queueForSharing) context.queueForSharing("C^" + context.library.libSentences[*added]);
        } else {
            // The translation still goes into the document; only the example is refused.
            context.dialogs.message(added.status().message());
            result.outcome = ConfirmOutcome::NotStored;
        }
    } else {
        if (!key) context.dialogs.message(key.status().message());
        result.outcome = ConfirmOutcome::NotStored;
    }
    result.written = writeBackTranslation(context, state, document, box);
    return result;
}

bool writeBackTranslation(ConfirmationContext& context, const SentenceState& state, RichText& document,
                          std::string& box) {
    if (document.selStart() >= document.size()) return false;
    const std::string target = documentFormOf(context.direction, box);
    bool written = false;
    if (document.selLength() > 0 || state.reEdit) {
        TargetWrite how;
        how.similarity = state.ExampleRate;
        how.revising = state.reEdit;
        how.isoTagsColour = context.isoTagsColour;
        RichText::UndoStep step(document);  // the confirmed translation is undone as one step
        Result<TargetWriteResult> done = addatarget(document, target, how);
        if (!done) {
            // The box keeps the translation, so nothing typed is lost.
            context.dialogs.message(done.status().message());
            return false;
        }
        written = *done == TargetWriteResult::Written;
    }
    box.clear();
    return written;
}

std::optional<ConfirmationResult> confirmBeforeNext(ConfirmationContext& context, SentenceState& state,
                                                    RichText& document, std::string& box) {
    if (gbk::trim(box).empty()) return std::nullopt;
    if (!tagsAcceptable(context.dialogs, context.analysis.text, box)) return std::nullopt;
    return confirmSentence(context, state, document, box);
}

}  // namespace tavricat
