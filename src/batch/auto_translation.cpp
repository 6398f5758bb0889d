#include "batch/auto_translation.h"

#include "document/han_spacing.h"
#include "document/inline_tags.h"
#include "document/segment_writer.h"
#include "engine/engine.h"
#include "engine/term_base_snapshot.h"
#include "memory/fuzzy_search.h"

namespace tavricat {

namespace {

// The progress window back to rest, however the run ends.
class ProgressShown {
public:
    explicit ProgressShown(Progress& progress) : m_progress(progress) {
        m_progress.show(kAutoTranslationRunning, 100, 0);
    }
    ~ProgressShown() {
        m_progress.setPosition(0);
        m_progress.setCaption("提示");
        m_progress.hide();
    }
    ProgressShown(const ProgressShown&) = delete;
    ProgressShown& operator=(const ProgressShown&) = delete;

private:
    Progress& m_progress;
};

// Asks whether to switch when the sentence's script does not fit the direction; true when the
// person agreed (the run then ends).
bool switchedForScript(const std::string& sentence, Direction direction, AutoTranslationContext& context) {
    if (!context.switchDirection || sentence.size() <= 2) return false;
    const bool chinese = hasCChars(sentence);
    if (direction == Direction::EC && chinese) {
        if (!context.dialogs.askYesNo("您现在的系统状态为英译汉，但要翻译的句子却含有汉字，是否要设置为汉译英?"))
            return false;
        context.switchDirection(Direction::CE);
        return true;
    }
    if (direction == Direction::CE && !chinese) {
        if (!context.dialogs.askYesNo("您现在的系统状态为汉译英，但要翻译的句子却不含汉字，是否要设置为英译汉?"))
            return false;
        context.switchDirection(Direction::EC);
        return true;
    }
    return false;
}

}  // namespace

Result<AutoTranslationCounts> runAutoTranslation(RichText& document, AutoTranslationContext& context,
                                                 const AutoTranslationOptions& options) {
    AutoTranslationCounts counts;
    Engine& engine = context.pipeline.engine;
    const Direction direction = context.pipeline.options.direction;
    ProgressShown shown(context.progress);
    // The whole run is one undo step, so that one undo takes back every segment it wrote.
    RichText::UndoStep undoStep(document);
    TermBaseSnapshot snapshot(engine.termBase);
    // Where the translator placed the caret: a run ended by a direction switch leaves it
    // there, so that the next run (in the new direction) covers the same text.
    const std::size_t runStart = document.caret();

    while (true) {
        if (context.stop.requested()) {
            counts.stopped = true;
            break;
        }
        context.progress.pump();

        const std::size_t before = document.caret();
        SentencePick pick = direction == Direction::CE ? getASentCE(document, options.breaks)
                                                       : getASentEC(document, options.breaks, context.abbreviations);
        if (pick.sentence.empty() && document.selLength() == 0) break;  // the document is done
        if (pick.revision) {
            // A segment the translator already has: its translation stays.
            ++counts.kept;
            document.setCaret(document.selStart() + document.selLength());
            if (document.caret() <= before) document.setCaret(before + 1);
            continue;
        }
        if (switchedForScript(pick.sentence, direction, context)) {
            counts.directionSwitched = true;
            document.setCaret(runStart);
            break;
        }

        ++counts.sentences;
        if (counts.sentences % 10 == 0) {
            context.progress.show(kAutoTranslationRunning, static_cast<int>(document.size()),
                                  static_cast<int>(document.selStart()));
            context.progress.setCaption("已经翻译 " + std::to_string(counts.sentences) + " 句");
        }

        std::string sentence = pick.sentence;
        std::string cleaned;
        prepareSent(sentence, cleaned, context.pipeline, false);
        const bool tagged = hasTag(pick.sentence);
        if (tagged) engine.workSent.grammarText.clear();

        FuzzySearch search;
        search.ExampleRate = kNoExampleRate;
        search.dialogs = &context.dialogs;
        std::string result = adaptBestExample(context.library, engine, {context.pipeline.options, options.matchrate}, search);
        if (context.stop.requested()) {
            // The sentence in hand stays untouched.
            document.setCaret(document.selStart());
            --counts.sentences;
            counts.stopped = true;
            break;
        }

        const long percent = static_cast<long>(search.ExampleRate * 100);
        const bool fromExample = percent >= options.matchrate && percent != 999;
        if (fromExample) {
            if (!tagged) result = clearTags(result);
        } else {
            result = machineTranslate(engine.workSent, engine.grammarPlacement, direction);
        }
        if (options.spaceInHanChar) result = AddSpaceInCChars(result);

        TargetWrite how;
        how.similarity = search.ExampleRate;
        how.automatic = true;
        how.userefmode = options.userefmode;
        how.matchrate = options.matchrate;
        how.isoTagsColour = options.isoTagsColour;
        const std::size_t sizeBefore = document.size();
        Result<TargetWriteResult> written = addatarget(document, withSentenceBlank(result), how);
        if (!written) {
            if (written.status().kind() != ErrorKind::BadInput) return written.status();
            // Bilingual markers in the sentence or its translation: it cannot become a segment,
            // so it stays as it is and the run goes on with the next one.
            document.setCaret(document.selStart() + document.selLength());
            ++counts.leftAsIs;
            if (document.caret() <= before) document.setCaret(before + 1);
            continue;
        }
        if (fromExample) ++counts.fromMemory;
        else if (document.size() == sizeBefore) ++counts.leftAsIs;
        else ++counts.fromFallback;
        if (document.caret() <= before) document.setCaret(before + 1);  // always move on
    }
    return counts;
}

}  // namespace tavricat
