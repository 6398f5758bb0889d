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

ConfirmationResult storeConfirmedPair(ConfirmationContext& context, const SentenceState& state, const std::string& box) {
    ConfirmationResult result;
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
    return result;
}

ConfirmationResult confirmSentence(ConfirmationContext& context, SentenceState& state, RichText& document,
                                   std::string& box) {
    const DocumentSelection now{document.selStart(), document.selLength()};
    if (now != state.selection && context.dialogs.askYesNo(kSelectionMoved)) {
        document.select(state.selection.start, state.selection.length);
    }
    ConfirmationResult result = storeConfirmedPair(context, state, box);
    if (result.outcome == ConfirmOutcome::Cancelled || result.outcome == ConfirmOutcome::EmptyBox) return result;
    result.written = writeBackTranslation(context, state, document, box, &result.propagated);
    return result;
}

bool writeBackTranslation(ConfirmationContext& context, const SentenceState& state, RichText& document,
                          std::string& box, std::size_t* propagated) {
    if (document.selStart() >= document.size()) return false;
    const std::string target = documentFormOf(context.direction, box);
    bool written = false;
    if (document.selLength() > 0 || state.reEdit) {
        const std::string sentence = state.reEdit ? std::string() : std::string(gbk::trim(document.selectedText()));
        TargetWrite how;
        how.similarity = state.ExampleRate;
        how.revising = state.reEdit;
        how.isoTagsColour = context.isoTagsColour;
        RichText::UndoStep step(document);  // the confirmed translation (and its repetitions) are undone as one step
        Result<TargetWriteResult> done = addatarget(document, target, how);
        if (!done) {
            // The box keeps the translation, so nothing typed is lost.
            context.dialogs.message(done.status().message());
            return false;
        }
        written = *done == TargetWriteResult::Written;
        if (written && context.autoPropagate && sentence.size() > 2) {
            const std::size_t after = document.caret();  // addatarget leaves it after the new segment
            std::vector<std::size_t> later = repetitionsOf(document, sentence, after);
            TargetWrite repeated = how;
            repeated.similarity = kPropagatedRate / 100.0;
            // From the last one back, so that the offsets of the others stay true.
            for (auto it = later.rbegin(); it != later.rend(); ++it) {
                document.select(*it, sentence.size());
                if (Result<TargetWriteResult> copy = addatarget(document, target, repeated);
                    copy && *copy == TargetWriteResult::Written && propagated)
                    ++*propagated;
            }
            if (!later.empty()) document.setCaret(after);
        }
    }
    box.clear();
    return written;
}

std::vector<std::size_t> repetitionsOf(const RichText& document, std::string_view sentence, std::size_t from) {
    std::vector<std::size_t> found;
    const std::string text = document.text();
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    auto endsSentence = [&](std::size_t end) {  // the text before `end` closes a sentence
        if (end >= kSegmentEnd.size() && text.compare(end - kSegmentEnd.size(), kSegmentEnd.size(), kSegmentEnd) == 0) return true;
        if (end >= 2 && gbk::isLeadByte(static_cast<unsigned char>(text[end - 2]))) {
            const std::string_view mark(text.data() + end - 2, 2);
            return mark == "。" || mark == "！" || mark == "？" || mark == "；" || mark == "：";
        }
        return end >= 1 && std::string_view(".!?;:").find(text[end - 1]) != std::string_view::npos;
    };
    // A whole sentence: after the document's start, a line break, a segment or a sentence's
    // end (and blanks); before the document's end, a line break, a segment, or blanks and a
    // word that does not go on in lower case.
    auto boundary = [&](std::size_t at, bool before) {
        if (before) {
            if (at == 0 || text[at - 1] == '\n' || text[at - 1] == '\r') return true;
            std::size_t k = at;
            while (k > 0 && isBlank(text[k - 1])) --k;
            return k == 0 || text[k - 1] == '\n' || endsSentence(k);
        }
        if (at >= text.size() || text[at] == '\r' || text[at] == '\n') return true;
        if (text.compare(at, kSegmentStart.size(), kSegmentStart) == 0) return true;
        std::size_t k = at;
        while (k < text.size() && isBlank(text[k])) ++k;
        if (k == at) return false;
        return k >= text.size() || !(text[k] >= 'a' && text[k] <= 'z');
    };
    for (std::size_t at = text.find(sentence, from); at != std::string::npos; at = text.find(sentence, at + 1)) {
        // Never a trail byte: a match must start on a character.
        if (at > 0 && gbk::isTrailByte(text, at)) continue;
        if (!boundary(at, true) || !boundary(at + sentence.size(), false)) continue;
        // Outside every segment: the last marker before it is a segment's end (or none).
        const std::size_t start = text.rfind(kSegmentStart, at);
        const std::size_t end = text.rfind(kSegmentEnd, at);
        if (start != std::string::npos && (end == std::string::npos || end < start)) continue;
        found.push_back(at);
    }
    return found;
}

std::optional<ConfirmationResult> confirmBeforeNext(ConfirmationContext& context, SentenceState& state,
                                                    RichText& document, std::string& box) {
    if (gbk::trim(box).empty()) return std::nullopt;
    if (!tagsAcceptable(context.dialogs, context.analysis.text, box)) return std::nullopt;
    return confirmSentence(context, state, document, box);
}

}  // namespace tavricat
