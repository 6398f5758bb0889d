// The interactive area and the meaning popup over a real sentence translation, and a chosen
// meaning that reaches the term base through the journal.

#include <gtest/gtest.h>

#include "app/meaning_promotion.h"
#include "interactive/interactive_area.h"
#include "interactive/meaning_popup.h"
#include "interactive/sentence_fixture.h"

namespace tavricat {
namespace {

using testing::nonsenseWords;

class MeaningChoiceTest : public testing::SentenceFixture {
protected:
    void SetUp() override {
        SentenceFixture::SetUp();
        addTerm("zzterm", "术语|专门用语^n");
        translation = suggest("zzterm " + nonsenseWords(0, 2));
        ASSERT_EQ(translation.outcome, SentenceOutcome::Translated);
        area.build(bench->engine.workSent, translation.tokens, {});
        popup.open(bench->engine.workSent, 0, false, nullptr);
    }

    SentenceTranslation translation;
    InteractiveArea area;
    MeaningPopup popup;
};

TEST_F(MeaningChoiceTest, TheAreaFollowsTheAnalysedSentence) {
    ASSERT_EQ(area.size(), translation.tokens.size());
    EXPECT_EQ(area.token(0).meaning, "术语");
    for (std::size_t i = 0; i < area.size(); ++i) EXPECT_EQ(area.token(i).red, translation.tokens[i].differs) << i;
}

TEST_F(MeaningChoiceTest, AChosenMeaningIsPromotedAndJournalled) {
    const std::size_t journalled = bench->newUserWords.size();
    const std::optional<PopupChoice> first = popup.choose(1, 0, false);
    ASSERT_TRUE(first);
    ASSERT_TRUE(promoteChosenMeaning(*bench, popup, *first).isOk());
    EXPECT_EQ(bench->newUserWords.size(), journalled);  // already first: nothing written
    EXPECT_EQ(bench->engine.termBase.lookupKey("zzterm"), "术语|专门用语^n");

    const std::optional<PopupChoice> second = popup.choose(1, 1, false);
    ASSERT_TRUE(second);
    ASSERT_TRUE(promoteChosenMeaning(*bench, popup, *second).isOk());
    EXPECT_EQ(bench->engine.termBase.lookupKey("zzterm"), "专门用语|术语^n");
    ASSERT_EQ(bench->newUserWords.size(), journalled + 1);
    EXPECT_EQ(bench->newUserWords.back(), "zzterm^专门用语|术语^n");
    area.setMeaning(0, *second->newMeaning);
    EXPECT_EQ(area.token(0).meaning, "专门用语");
}

}  // namespace
}  // namespace tavricat
