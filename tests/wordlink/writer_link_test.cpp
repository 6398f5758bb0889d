// The link to a real LibreOffice Writer (headless): a client's .docx with a table, a
// footnote, lists, a header and a picture is walked sentence by sentence, each sentence
// written back, the sources removed and the document saved; rendered by LibreOffice, it must
// differ from the original only where the text changed. Skipped, saying why, where
// LibreOffice or Python UNO is missing.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/encoding.h"
#include "base/gbk.h"
#include "support/pdf_rendering.h"
#include "support/writer_session.h"

namespace tavricat::wordlink {
namespace {

namespace fs = std::filesystem;

class NoAbbreviations : public AbbreviationLookup {
public:
    bool contains(std::string_view) const override { return false; }
};

std::string documentPath(const std::string& name) {
    std::string path = TAVRICAT_TEST_DATA_DIR;
    path += "/documents/";
    path += name;
    return path;
}

std::string utf8(const std::string& gbk) { return encoding::gbkToUtf8Lossy(gbk); }

class WriterLinkTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { writer = new testing::WriterSession(); }
    static void TearDownTestSuite() {
        delete writer;
        writer = nullptr;
    }
    void SetUp() override {
        if (!writer->unavailable().empty()) GTEST_SKIP() << writer->unavailable();
        if (!writer->link().connected()) {
            ASSERT_TRUE(writer->link().connect().isOk());
        }
    }
    void TearDown() override {
        // Every test leaves Writer without documents.
        while (writer->link().connected()) {
            Result<int> count = writer->link().documentCount();
            if (!count || *count == 0) break;
            if (!writer->link().closeActiveDocument()) break;
        }
    }

    // A copy of a test document in the scratch folder, opened in Writer.
    std::string open(const std::string& name) {
        const std::string copy = work.file(name);
        fs::copy_file(documentPath(name), copy, fs::copy_options::overwrite_existing);
        EXPECT_TRUE(link().openDocument(copy).isOk());
        return copy;
    }

    // Every sentence from the cursor to the end, each written back with `translate`.
    std::vector<std::string> walk(Direction direction, const std::function<std::string(const std::string&)>& translate,
                                  bool overwrite) {
        std::vector<std::string> taken;
        for (int guard = 0; guard < 500; ++guard) {
            Result<TakenSentence> sentence = link().takeNextSentence(direction, BreakOptions{}, none);
            EXPECT_TRUE(sentence.isOk()) << sentence.status().message();
            if (!sentence || sentence->text.empty()) break;
            taken.emplace_back(gbk::trim(sentence->text));
            const Status written = link().putBack(translate(sentence->text), "999", overwrite);
            EXPECT_TRUE(written.isOk()) << written.message();
        }
        return taken;
    }

    WriterLink& link() { return writer->link(); }

    static testing::WriterSession* writer;
    NoAbbreviations none;
    testing::TempFolder work;
};

testing::WriterSession* WriterLinkTest::writer = nullptr;

TEST_F(WriterLinkTest, EverySentenceOfADocxIsTakenOnceAndOnlyTheTextChanges) {
    const std::string original = open("generated_en.docx");
    const std::vector<std::string> taken = walk(Direction::EC, [](const std::string& s) { return s; }, false);

    const std::set<std::string> distinct(taken.begin(), taken.end());
    EXPECT_EQ(distinct.size(), taken.size()) << "a sentence was taken twice";
    for (const char* expected : {"Please read this manual carefully before using the purifier.",  // body
                                 "Quiet enough for a bedroom.",                                     // a table cell
                                 "The room size assumes a ceiling height of two and a half metres.",  // the footnote
                                 "Remove the plastic bag from the filter.",                        // a list item
                                 "Keep it at least one metre away from walls, and never cover the air outlet on the top."})
        EXPECT_TRUE(distinct.count(expected)) << expected;
    // The header is walked after the body.
    EXPECT_NE(taken.back().find("Page"), std::string::npos) << taken.back();

    Result<std::string> marked = link().pureText({});
    ASSERT_TRUE(marked.isOk());
    EXPECT_NE(marked->find("{0>Please read this manual carefully before using the purifier.<}999{>Please read"),
              std::string::npos);

    Result<int> removed = link().cleanup();
    ASSERT_TRUE(removed.isOk());
    EXPECT_EQ(*removed, static_cast<int>(taken.size()));
    const std::string saved = work.file("translated.docx");
    ASSERT_TRUE(link().saveActiveDocument(saved).isOk());
    ASSERT_TRUE(link().closeActiveDocument().isOk());

    // Rendered, the translated document is the original again: same pages, same words, the
    // same ink but for the bold and italic words inside sentences, which take their sentence's format.
    testing::TempFolder scratch;
    testing::PdfRenderer renderer(scratch.path());
    ASSERT_TRUE(renderer.render({original, saved}, work.path())) << renderer.log();
    const std::string before = work.file("generated_en.pdf");
    const std::string after = work.file("translated.pdf");
    EXPECT_EQ(renderer.pageCount(before), renderer.pageCount(after));
    const auto lost = testing::compareTokens(testing::textTokens(renderer.text(before)),
                                             testing::textTokens(renderer.text(after)));
    EXPECT_TRUE(lost.lost.empty()) << lost.lost.front();
    EXPECT_EQ(lost.extra, 0u);
    const auto pagesBefore = renderer.pages(before, "before", 50);
    const auto pagesAfter = renderer.pages(after, "after", 50);
    ASSERT_EQ(pagesBefore.size(), pagesAfter.size());
    for (std::size_t i = 0; i < pagesBefore.size(); ++i)
        EXPECT_LT(testing::inkDifference(pagesBefore[i], pagesAfter[i]), 0.05) << "page " << i + 1;
}

TEST_F(WriterLinkTest, ATranslationReplacesItsSourceOrStandsBesideItAndFootnotesStay) {
    open("generated_en.docx");
    std::vector<std::string> taken;
    for (int i = 0; i < 4; ++i) {
        Result<TakenSentence> sentence = link().takeNextSentence(Direction::EC, BreakOptions{}, none);
        ASSERT_TRUE(sentence.isOk()) << sentence.status().message();
        taken.emplace_back(gbk::trim(sentence->text));
        // The first two replace their sources; the others are written as bilingual markup.
        ASSERT_TRUE(link().putBack("第" + std::to_string(i + 1) + "句。", std::to_string(80 + i), i < 2).isOk());
    }
    EXPECT_EQ(taken[3], "Keep it at least one metre away from walls, and never cover the air outlet on the top.");
    Result<std::string> text = link().pureText({});
    ASSERT_TRUE(text.isOk());
    EXPECT_EQ(text->find("Before you start"), std::string::npos);
    EXPECT_NE(text->find("第1句。"), std::string::npos);
    EXPECT_NE(text->find("{0>The purifier cleans the air of a room of up to forty square metres.<}82{>第3句。<0}"),
              std::string::npos);
    // The footnote anchor stays after the translation of the sentence it ends.
    EXPECT_NE(text->find("on the top.<}83{>第4句。<0}1 The filter"), std::string::npos);

    ASSERT_EQ(*link().cleanup(), 2);
    text = link().pureText({});
    ASSERT_TRUE(text.isOk());
    // No blank is left between Chinese sentences; the one before the next English sentence stays.
    EXPECT_NE(text->find("第3句。第4句。1 The filter must be changed"), std::string::npos) << utf8(*text);
    ASSERT_TRUE(link().saveActiveDocument(work.file("done.fodt")).isOk());
    const std::string xml = work.read("done.fodt");
    const std::size_t note = xml.find("<text:note ");
    ASSERT_NE(note, std::string::npos) << "the footnote is lost";
    EXPECT_NE(xml.find("ceiling height", note), std::string::npos);
}

TEST_F(WriterLinkTest, ASelectedPassageIsTakenAsItIs) {
    open("generated_en.docx");
    // The first sentence taken leaves it selected: the selection is what getasentInt takes.
    ASSERT_TRUE(link().takeNextSentence(Direction::EC, BreakOptions{}, none).isOk());
    Result<bool> insertionPoint = link().selectionIsInsertionPoint();
    ASSERT_TRUE(insertionPoint.isOk());
    EXPECT_FALSE(*insertionPoint);
    Result<TakenSentence> selected = link().takeSelection();
    ASSERT_TRUE(selected.isOk());
    EXPECT_EQ(selected->text, "Before you start");
    ASSERT_TRUE(link().putBack("开始之前", "999", true).isOk());
    Result<bool> after = link().selectionIsInsertionPoint();
    ASSERT_TRUE(after.isOk());
    EXPECT_TRUE(*after);
}

TEST_F(WriterLinkTest, ThePlainTextOfDocxOdtAndDocIsRead) {
    const std::string docx = work.file("manual.docx");
    fs::copy_file(documentPath("generated_zh.docx"), docx);
    // The other formats as LibreOffice writes them.
    testing::TempFolder profile;
    ASSERT_EQ(testing::shell("cd " + testing::shellQuote(work.path()) + " && soffice --headless -env:UserInstallation=file://" +
                             profile.path() + " --convert-to odt manual.docx >/dev/null 2>&1 && soffice --headless "
                             "-env:UserInstallation=file://" + profile.path() + " --convert-to doc manual.docx >/dev/null 2>&1"),
              0);
    for (const char* name : {"manual.docx", "manual.odt", "manual.doc"}) {
        Result<std::string> text = link().pureText(work.file(name));
        ASSERT_TRUE(text.isOk()) << name << ": " << text.status().message();
        EXPECT_NE(text->find("使用净化器前，请仔细阅读本说明书。"), std::string::npos) << name << ":\n" << utf8(*text);
        EXPECT_NE(text->find("\r\n"), std::string::npos) << name;
        // The text passes through the file named after the document with "1" appended, removed after.
        EXPECT_FALSE(fs::exists(work.file(std::string(name) + "1"))) << name;
    }
}

TEST_F(WriterLinkTest, WriterKilledDuringTheLinkIsToldAndTheLinkCanBeMadeAgain) {
    open("generated_en.docx");
    ASSERT_TRUE(link().takeNextSentence(Direction::EC, BreakOptions{}, none).isOk());
    writer->killWriter();
    Result<TakenSentence> lost = link().takeNextSentence(Direction::EC, BreakOptions{}, none);
    ASSERT_FALSE(lost.isOk());
    EXPECT_NE(lost.status().message().find(kWriterLinkLost), std::string::npos) << utf8(lost.status().message());
    EXPECT_FALSE(link().connected());
    // Every request now fails at once, saying the same.
    EXPECT_FALSE(link().putBack("x", "999", false).isOk());

    Result<bool> again = link().connect();
    ASSERT_TRUE(again.isOk()) << utf8(again.status().message());
    EXPECT_TRUE(*again) << "a new Writer was started";
    open("generated_en.docx");
    Result<TakenSentence> sentence = link().takeNextSentence(Direction::EC, BreakOptions{}, none);
    ASSERT_TRUE(sentence.isOk());
    EXPECT_EQ(sentence->text, "Before you start");
}

}  // namespace
}  // namespace tavricat::wordlink
