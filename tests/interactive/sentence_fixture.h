#pragma once
// A started workbench with nonsense words the dictionaries do not know, terms for some of
// them, and the interactive translation of a sentence over it.

#include <memory>
#include <string>

#include "app/sentence_translation_setup.h"
#include "app/workbench_fixture.h"
#include "interactive/sentence_state.h"
#include "interactive/sentence_translation.h"
#include "support/nonsense_words.h"

namespace tavricat::testing {

class SentenceFixture : public WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
        addTerm("zzterm", "术语");
    }

    void addTerm(const std::string& key, const std::string& entry) {
        const SortedFind at = bench->engine.termBase.find(key);
        if (at.found) bench->engine.termBase.replaceEntryAt(at.index, entry);
        else bench->engine.termBase.insertAt(at.index, key, entry);
    }

    std::size_t addExample(const std::string& pair) {
        Result<std::size_t> added = bench->sentenceLibrary.addAsent(bench->engine, bench->analysisOptions(), pair);
        EXPECT_TRUE(added.isOk()) << pair;
        return added.isOk() ? *added : 0;
    }

    SentenceTranslation suggest(const std::string& sentence, const ViewInput& view = {}) {
        SentenceTranslationSetup setup(*bench);
        bench->sentenceState.reset(false);
        return translateText(setup.context(), bench->sentenceState, sentence, view);
    }

    SentenceTranslation translate(RichText& document, TranslateTrigger trigger = TranslateTrigger::NextSentence,
                                  const ViewInput& view = {}) {
        SentenceTranslationSetup setup(*bench);
        return translateSentence(setup.context(), bench->sentenceState, document, trigger, view);
    }

    static RichText documentOf(const std::string& text) {
        RichText document;
        document.append(text, document.defaultFormat());
        return document;
    }

    std::unique_ptr<Workbench> bench;
};

}  // namespace tavricat::testing
