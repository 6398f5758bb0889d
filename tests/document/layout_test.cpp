// Layout the buffer does not model (paragraphs, tables, fields, footnotes, pictures) read
// from RTF, kept through edits and copies, and written back where it stood.

#include <gtest/gtest.h>

#include "document/layout_pieces.h"
#include "document/markup.h"
#include "document/rich_text.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "document/segment_writer.h"
#include "document/target_conversion.h"

namespace tavricat {
namespace {

RichText mustRead(std::string_view rtf) {
    Result<RichText> read = readRichText(rtf);
    EXPECT_TRUE(read.isOk());
    return read ? std::move(*read) : RichText{};
}

using Side = LayoutPiece::Side;

TEST(LayoutPieces, InsertionsGoAfterOpeningsAndBeforeClosings) {
    LayoutPieces pieces;
    pieces.add({4, "}", Side::Closes});
    pieces.add({4, "\\pard\\qc", Side::Opens});
    pieces.add({9, "\\cell ", Side::Closes, true});
    pieces.onInsert(4, 3);
    // Text typed at the start of the centred paragraph belongs to it; the closing before it
    // has no text after it to move with.
    EXPECT_EQ(pieces.pieces()[0].pos, 4u);
    EXPECT_EQ(pieces.pieces()[1].pos, 4u);
    EXPECT_EQ(pieces.pieces()[2].pos, 12u);
    // At a cell end the new text stays in the cell: before the line end the cell end rides on.
    pieces.onInsert(12, 2);
    EXPECT_EQ(pieces.pieces()[2].pos, 14u);
    EXPECT_TRUE(pieces.pieces()[2].replacesBreak);
}

TEST(LayoutPieces, AnErasedRangeGathersItsPiecesAndABreakWithoutItsLineEndIsAPieceAlone) {
    LayoutPieces pieces;
    pieces.add({2, "{\\field ", Side::Opens});
    pieces.add({6, "}", Side::Closes});
    pieces.add({8, "\\cell ", Side::Closes, true});
    pieces.add({20, "\\row ", Side::Closes});
    pieces.onErase(1, 8);  // takes the field's text and the cell's CR
    ASSERT_EQ(pieces.pieces().size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(pieces.pieces()[i].pos, 1u) << i;
    EXPECT_FALSE(pieces.pieces()[2].replacesBreak);
    EXPECT_EQ(pieces.pieces()[3].pos, 12u);
    EXPECT_EQ(pieces.pieces()[0].rtf, "{\\field ");  // order kept
}

// What a word processor writes for a table, a centred paragraph, a hyperlink, a picture, a
// footnote and a header: the text is readable and translatable, the rest comes back.
constexpr std::string_view kRichDocument =
    R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\froman Times;}}{\stylesheet{\s1 Heading 1;}})"
    R"({\header \pard\qc Page head\par})"
    R"(\pard\s1\qc Title\par)"
    R"(\pard\li720 See {\field{\*\fldinst HYPERLINK "http://example.com/"}{\fldrslt the site}} now.)"
    R"({\super\chftn}{\footnote \pard {\super\chftn} A note.}\par)"
    R"(\trowd\cellx2000\cellx4000\pard\intbl One cell.\cell Two cell.\cell\row)"
    R"(\pard{\pict\pngblip 89504e47}\page After the break.\par})";

TEST(DocumentLayout, TextOfEveryPlaceIsReadAsParagraphsAndCellsEndSentences) {
    RichText doc = mustRead(kRichDocument);
    EXPECT_EQ(doc.text(), "Page head\r\nTitle\r\nSee the site now.\r\n A note.\r\n\r\nOne cell.\r\nTwo cell.\r\nAfter the break.\r\n");
    EXPECT_NE(doc.layout().documentRtf().find("{\\stylesheet{\\s1 Heading 1;}}"), std::string::npos);
}

TEST(DocumentLayout, HiddenTextIsNotOfferedForTranslationAndStaysHidden) {
    RichText doc = mustRead(R"({\rtf1 Shown {\v secret \'d6\'d0}text.\par})");
    EXPECT_EQ(doc.text(), "Shown text.\r\n");
    const std::string written = writeRtf(doc);
    EXPECT_NE(written.find("{\\v secret \\'d6\\'d0}"), std::string::npos) << written;
    EXPECT_EQ(mustRead(written).text(), "Shown text.\r\n");
}

TEST(DocumentLayout, WritingKeepsTheLayoutAndReadingItBackIsStable) {
    const std::string once = writeRtf(mustRead(kRichDocument));
    for (const char* kept : {"{\\header\\uc2 ", "\\pard\\s1\\qc", "\\li720", "{\\field ", "{\\*\\fldinst HYPERLINK \"http://example.com/\"}",
                             "{\\fldrslt ", "{\\footnote\\uc2 ", "{\\super\\chftn}", "\\trowd\\cellx2000\\cellx4000", "\\intbl",
                             "\\cell ", "\\row ", "{\\pict\\pngblip 89504e47}", "\\page", "{\\stylesheet"})
        EXPECT_NE(once.find(kept), std::string::npos) << kept;
    EXPECT_EQ(once.find("\\par\r\n A note"), std::string::npos);  // the footnote's edges are not paragraphs
    EXPECT_EQ(writeRtf(mustRead(once)), once);
}

TEST(DocumentLayout, ABilingualDocumentAndItsTargetKeepTheLayoutAroundTheTranslations) {
    RichText doc = mustRead(kRichDocument);
    doc.setAlwaysEditable(true);
    auto translate = [&](std::string_view source, std::string_view target) {
        const std::size_t at = doc.find(source, 0);
        ASSERT_NE(at, RichText::npos) << source;
        doc.select(at, source.size());
        ASSERT_TRUE(addatarget(doc, target, TargetWrite{}).isOk());
    };
    translate("One cell.", "第一格。");
    translate("Two cell.", "第二格。");
    translate("A note.", "注释。");
    translate("Title", "标题");
    cleanup(doc, nullptr);
    EXPECT_EQ(doc.text(), "Page head\r\n标题\r\nSee the site now.\r\n 注释。\r\n\r\n第一格。\r\n第二格。\r\nAfter the break.\r\n");
    const std::string target = writeRtf(doc);
    // Each translation stands where its source stood: in its cell, in the footnote.
    const std::size_t first = target.find("\\u31532");  // 第
    ASSERT_NE(first, std::string::npos);
    EXPECT_LT(target.find("\\intbl"), first);
    EXPECT_LT(first, target.find("\\cell "));
    const std::size_t footnote = target.find("{\\footnote\\uc2 ");
    const std::size_t note = target.find("\\u27880");  // 注
    ASSERT_NE(footnote, std::string::npos);
    EXPECT_LT(footnote, note);
    EXPECT_LT(note, target.find("\\par\r\n", footnote)) << target;
    EXPECT_NE(target.find("\\pard\\s1\\qc"), std::string::npos);
}

TEST(DocumentLayout, ACopiedTranslationKeepsTheSourcesFormatsAndInlineFields) {
    RichText doc = mustRead(
        R"({\rtf1 Keep it {\b bold} and see {\field{\*\fldinst HYPERLINK "x"}{\fldrslt here}} now.\par})");
    doc.setAlwaysEditable(true);
    const std::string source = "Keep it bold and see here now.";
    doc.select(0, source.size());
    TargetWrite how;
    how.automatic = true;
    how.similarity = 0.1;  // below the threshold: the source is copied
    ASSERT_TRUE(addatarget(doc, withSentenceBlank(source), how).isOk());
    cleanup(doc, nullptr);
    EXPECT_EQ(doc.text(), source + "\r\n");
    EXPECT_TRUE(doc.formatAt(doc.find("bold", 0)).bold);
    EXPECT_FALSE(doc.formatAt(doc.find("Keep", 0)).bold);
    const std::string target = writeRtf(doc);
    EXPECT_NE(target.find("{\\field {\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt "), std::string::npos) << target;
}

TEST(DocumentLayout, WordsATranslationSharesWithItsSourceKeepTheirFormat) {
    RichText doc = mustRead(R"({\rtf1 Press {\b OK} on the TX200.\par})");
    doc.setAlwaysEditable(true);
    doc.select(0, std::string("Press OK on the TX200.").size());
    ASSERT_TRUE(addatarget(doc, "在TX200上按OK。", TargetWrite{}).isOk());
    cleanup(doc, nullptr);
    ASSERT_EQ(doc.text(), "在TX200上按OK。\r\n");
    EXPECT_TRUE(doc.formatAt(doc.find("OK", 0)).bold);
    EXPECT_FALSE(doc.formatAt(doc.find("TX200", 0)).bold);
}

TEST(DocumentLayout, AHyperlinkWhoseTextTheTranslationRepeatsLinksItThere) {
    RichText doc = mustRead(
        R"({\rtf1 Buy filters at {\field{\*\fldinst HYPERLINK "http://x.com/f"}{\fldrslt x.com/f}} or in shops.\par})");
    doc.setAlwaysEditable(true);
    doc.select(0, std::string("Buy filters at x.com/f or in shops.").size());
    ASSERT_TRUE(addatarget(doc, "可在 x.com/f 或商店购买过滤网。", TargetWrite{}).isOk());
    cleanup(doc, nullptr);
    const std::string target = writeRtf(doc);
    const std::size_t link = target.find("{\\fldrslt ");
    ASSERT_NE(link, std::string::npos) << target;
    // The address is the field's shown text, closed right after it; the Chinese is not.
    const std::size_t shown = target.find("x.com/f}}");
    ASSERT_NE(shown, std::string::npos) << target;
    EXPECT_GT(target.rfind("{\\fldrslt ", shown), target.rfind("\\u21487", shown));  // 可 comes before the link
    EXPECT_EQ(mustRead(target).text(), "可在 x.com/f 或商店购买过滤网。\r\n");
}

}  // namespace
}  // namespace tavricat
