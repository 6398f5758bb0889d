// GBK walking, ASCII-only case folding, encoding conversion and line lists.

#include <gtest/gtest.h>

#include "base/encoding.h"
#include "base/gbk.h"
#include "base/line_list.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::TempFolder;

// "朋" is 0xC5 0xF3; "乐" is 0xC0 0xD6; "丁" is 0xB6 0xA1. The trail byte of "啊" (0xB0 0xA1)
// is not a letter, but many are: "谋" is 0xC4 0xB1 and "侃" is 0xD9 0x61 ('a').
const std::string kKan = "\xD9\x61";      // trail byte is ASCII 'a'
const std::string kTrailZ = "\x81\x5A";   // trail byte is ASCII 'Z'

TEST(GbkTest, WalksWholeCharacters) {
    std::string text = "a" + kKan + "B" + kTrailZ;
    EXPECT_EQ(gbk::charCount(text), 4u);
    EXPECT_FALSE(gbk::isDoubleByteAt(text, 0));
    EXPECT_TRUE(gbk::isDoubleByteAt(text, 1));
    EXPECT_TRUE(gbk::isTrailByte(text, 2));
    EXPECT_FALSE(gbk::isTrailByte(text, 3));
    EXPECT_TRUE(gbk::isTrailByte(text, 5));
    EXPECT_TRUE(gbk::hasDoubleByte(text));
    EXPECT_FALSE(gbk::hasDoubleByte("plain ascii"));
    // A lead byte at the very end counts as one byte, so a walk ends.
    EXPECT_EQ(gbk::charLength("a\xC5", 1), 1u);
}

TEST(GbkTest, CaseFoldingNeverTouchesTrailBytes) {
    std::string text = "Ab" + kTrailZ + kKan + "CD";
    EXPECT_EQ(gbk::asciiLower(text), "ab" + kTrailZ + kKan + "cd");
    EXPECT_EQ(gbk::asciiUpper(text), "AB" + kTrailZ + kKan + "CD");
}

TEST(GbkTest, TrimStopsAtDoubleByteBlanks) {
    EXPECT_EQ(gbk::trim("  \t word \r\n"), "word");
    std::string ideographicSpace = "\xA1\xA1";
    EXPECT_EQ(gbk::trim(" " + ideographicSpace + "x "), ideographicSpace + "x");
    EXPECT_EQ(gbk::trim("   "), "");
}

TEST(EncodingTest, RoundTripsChineseText) {
    const std::string utf8 = reinterpret_cast<const char*>(u8"退出时出错! abc");
    Result<std::string> gbkText = encoding::utf8ToGbk(utf8);
    ASSERT_TRUE(gbkText.isOk());
    EXPECT_EQ(*gbkText, "退出时出错! abc");  // this literal is compiled as GBK
    Result<std::string> back = encoding::gbkToUtf8(*gbkText);
    ASSERT_TRUE(back.isOk());
    EXPECT_EQ(*back, utf8);
}

TEST(EncodingTest, RefusesTextGbkCannotHold) {
    const std::string emoji = reinterpret_cast<const char*>(u8"ok \U0001F600 no");
    Result<std::string> converted = encoding::utf8ToGbk(emoji);
    ASSERT_FALSE(converted.isOk());
    EXPECT_EQ(converted.status().kind(), ErrorKind::BadInput);
    EXPECT_NE(converted.status().message().find("U+1F600"), std::string::npos);
    EXPECT_EQ(encoding::utf8ToGbkLossy(emoji), "ok ? no");
}

// Letters and signs GBK lacks live in its user-defined area: every conversion takes them
// there and back, and text walks still see whole double-byte characters.
TEST(EncodingTest, CharactersGbkLacksTravelThroughItsUserDefinedArea) {
    const std::string utf8 = reinterpret_cast<const char*>(u8"Köln, Gödöllő, Øresund, ıştır, ϕ→ϑ ⌀ \uF0A7 ﬁ 中");
    Result<std::string> held = encoding::utf8ToGbk(utf8);
    ASSERT_TRUE(held.isOk()) << held.status().message();
    EXPECT_EQ(held->find('?'), std::string::npos);
    EXPECT_EQ(gbk::charCount(*held), 42u);  // each held character is one double-byte character
    Result<std::string> back = encoding::gbkToUtf8(*held);
    ASSERT_TRUE(back.isOk());
    EXPECT_EQ(*back, utf8);
    EXPECT_EQ(encoding::gbkToUtf8Lossy(*held), utf8);
    EXPECT_EQ(encoding::utf8ToGbkLossy(utf8), *held);
    // The codes are fixed: files written earlier read back the same characters.
    EXPECT_EQ(encoding::toGbk(reinterpret_cast<const char*>(u8"\u00A1")), "\xAA\xA1");
    const std::string oUmlaut = reinterpret_cast<const char*>(u8"\u00F6");
    EXPECT_EQ(encoding::toGbk(oUmlaut), "\xAA\xE5");
    EXPECT_EQ(*encoding::gbkToUtf8("\xAA\xA1"), reinterpret_cast<const char*>(u8"\u00A1"));
    // UTF-16 files bring them too.
    EXPECT_EQ(*encoding::inputTextToGbk(std::string("\xFF\xFE\xF6\x00k\x00", 6)), "\xAA\xE5k");
    // An unused user-defined code is still not text.
    EXPECT_FALSE(encoding::gbkToUtf8("\xA7\xA0").isOk());
    EXPECT_EQ(encoding::gbkToUtf8Lossy("\xA7\xA0"), "\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(EncodingTest, RefusesBytesThatAreNotGbk) {
    EXPECT_FALSE(encoding::gbkToUtf8("ab\xFF\xFF").isOk());
    EXPECT_EQ(encoding::gbkToUtf8Lossy("a\xFF"), "a\xEF\xBF\xBD");
}

TEST(EncodingTest, InputFilesInUtfAreConvertedAndAMarkIsNeverText) {
    const std::string utf8 = reinterpret_cast<const char*>(u8"Good morning.^早上好。");
    const std::string gbkText = "Good morning.^早上好。";
    struct Case {
        std::string bytes, expected;
    } cases[] = {
        {utf8, gbkText},                                  // UTF-8 without a mark
        {"\xEF\xBB\xBF" + utf8, gbkText},                  // with one
        {"\xEF\xBB\xBFplain", "plain"},                    // the mark before ASCII
        {gbkText, gbkText},                                // GBK stays as it is
        {std::string("\xFF\xFEo\0k\0", 6), "ok"},          // UTF-16 little-endian
        {std::string("\xFE\xFF\0o\0k", 6), "ok"},          // big-endian
        {"", ""},
    };
    for (const Case& c : cases) {
        Result<std::string> converted = encoding::inputTextToGbk(c.bytes);
        ASSERT_TRUE(converted.isOk()) << c.bytes;
        EXPECT_EQ(*converted, c.expected) << c.bytes;
    }
    // GBK text of common characters is not taken for UTF-8.
    for (const std::string& gbk : {std::string("退出时出错!"), std::string("中"), kKan + "ok", std::string("é a")})
        EXPECT_FALSE(encoding::isNonAsciiUtf8(gbk)) << gbk;
    EXPECT_FALSE(encoding::isNonAsciiUtf8("ascii only"));
    EXPECT_FALSE(encoding::isNonAsciiUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(encoding::isNonAsciiUtf8("\xED\xA0\x80"));      // a surrogate
    EXPECT_FALSE(encoding::isNonAsciiUtf8("\xE4\xB8"));          // cut short

    Result<std::string> refused = encoding::inputTextToGbk(reinterpret_cast<const char*>(u8"ok \U0001F600"));
    ASSERT_FALSE(refused.isOk());
    EXPECT_EQ(refused.status().kind(), ErrorKind::BadInput);
    EXPECT_NE(refused.status().message().find("UTF-8"), std::string::npos);
}

TEST(LineListTest, AByteOrderMarkIsNotPartOfTheFirstLine) {
    TempFolder dir;
    dir.write("plain.txt", "\xEF\xBB\xBF[inisetup]\r\nx=1\r\n");
    DiskFileSystem fs;
    Result<LineList> lines = loadLines(fs, dir.file("plain.txt"));
    ASSERT_TRUE(lines.isOk());
    EXPECT_EQ(*lines, (LineList{"[inisetup]", "x=1"}));

    // A list read, written and read again is the same list, however many marks it began with.
    dir.write("twice.rf0", "\xEF\xBB\xBF\xEF\xBB\xBFzzz^q\r\n");
    Result<LineList> first = loadLines(fs, dir.file("twice.rf0"));
    ASSERT_TRUE(first.isOk());
    ASSERT_TRUE(saveLines(fs, dir.file("twice.rf0"), *first).isOk());
    Result<LineList> again = loadLines(fs, dir.file("twice.rf0"));
    ASSERT_TRUE(again.isOk());
    EXPECT_EQ(*again, *first);

    dir.write("input.exs", "\xEF\xBB\xBF" + std::string(reinterpret_cast<const char*>(u8"一^one\r\n二^two")));
    Result<LineList> input = loadInputLines(fs, dir.file("input.exs"));
    ASSERT_TRUE(input.isOk());
    EXPECT_EQ(*input, (LineList{"一^one", "二^two"}));
}

TEST(LineListTest, SplitsEveryKindOfLineEnd) {
    struct Case {
        std::string text;
        LineList lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb", {"a", "b"}},
        {kKan + "\r\n" + kTrailZ, {kKan, kTrailZ}},
    };
    for (const Case& c : cases) EXPECT_EQ(splitLines(c.text), c.lines) << c.text;
}

// A file read in pieces splits as the whole of it does, wherever the pieces end: inside a
// line, between the CR and the LF of one line end, inside one of the marks at its start.
TEST(LineListTest, PiecesSplitAsTheWholeText) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<std::string> texts = {"", "a", "a\r\nb", "a\r\n\r\nb\r\n", "\r\r\n\n", "ab\rcd\ne", kKan + "\r\n" + kTrailZ,
                                            bom + bom + "x\r\ny", bom, "\xEF\xBB", bom + "\xEF" + "z"};
    struct PieceFileSystem : DiskFileSystem {
        std::string content;
        std::size_t pieceSize = 1;
        Status readPieces(const std::string&, const std::function<void(std::string_view)>& take) override {
            for (std::size_t at = 0; at < content.size(); at += pieceSize)
                take(std::string_view(content).substr(at, pieceSize));
            return Status::ok();
        }
    } fs;
    for (const std::string& text : texts) {
        std::string_view whole = text;
        while (whole.starts_with(bom)) whole.remove_prefix(bom.size());
        const LineList expected = splitLines(whole);
        fs.content = text;
        for (std::size_t size = 1; size <= 4; ++size) {
            fs.pieceSize = size;
            Result<LineList> lines = loadLines(fs, "unused");
            ASSERT_TRUE(lines.isOk());
            EXPECT_EQ(*lines, expected) << "pieces of " << size << " of \"" << text << "\"";
        }
    }
    // The disk hands over pieces of a megabyte: a file of several of them.
    std::string big;
    for (int k = 0; big.size() < 3300000; ++k) big += "line " + std::to_string(k) + (k % 7 ? "\r\n" : "\n");
    TempFolder dir;
    dir.write("big.rf0", big);
    DiskFileSystem disk;
    Result<LineList> read = loadLines(disk, dir.file("big.rf0"));
    ASSERT_TRUE(read.isOk());
    EXPECT_EQ(*read, splitLines(big));
    EXPECT_FALSE(loadLines(disk, dir.file("missing.rf0")).isOk());
}

// A save compares the lines it would write with the file as it is read, never joining them.
TEST(LineListTest, AFileHoldsLinesOnlyWhenItsBytesAreTheirJoin) {
    struct PieceFileSystem : DiskFileSystem {
        std::string content;
        std::size_t pieceSize = 1;
        bool exists(const std::string&) override { return true; }
        Status readPieces(const std::string&, const std::function<void(std::string_view)>& take) override {
            for (std::size_t at = 0; at < content.size(); at += pieceSize)
                take(std::string_view(content).substr(at, pieceSize));
            return Status::ok();
        }
    } fs;
    const std::vector<LineList> lists = {{}, {""}, {"a"}, {"a", "b"}, {"ab", ""}, {"", ""}, {kKan, "xy"}};
    for (const LineList& lines : lists) {
        const std::string joined = joinLines(lines);
        std::vector<std::string> texts = {joined, joined + "x", joined + "\r\n", "\r\n" + joined, "a\nb\n", "ab\r\n"};
        if (!joined.empty()) {
            texts.push_back(joined.substr(0, joined.size() - 1));
            std::string changed = joined;
            changed[0] = char(changed[0] ^ 1);
            texts.push_back(changed);
        }
        for (const std::string& text : texts) {
            fs.content = text;
            for (std::size_t size = 1; size <= 4; ++size) {
                fs.pieceSize = size;
                EXPECT_EQ(fileHoldsLines(fs, "unused", lines), text == joined)
                    << "pieces of " << size << " of \"" << text << "\" against " << lines.size() << " lines";
            }
        }
    }
    // On disk, through several pieces of a megabyte.
    LineList big;
    for (int k = 0; big.size() < 300000; ++k) big.push_back("line " + std::to_string(k));
    TempFolder dir;
    dir.write("big.rf0", joinLines(big));
    DiskFileSystem disk;
    EXPECT_TRUE(fileHoldsLines(disk, dir.file("big.rf0"), big));
    big.back() += "!";
    EXPECT_FALSE(fileHoldsLines(disk, dir.file("big.rf0"), big));
    EXPECT_FALSE(fileHoldsLines(disk, dir.file("missing.rf0"), {}));
}

TEST(LineListTest, WritesCrLfAfterEveryLine) {
    EXPECT_EQ(joinLines({}), "");
    EXPECT_EQ(joinLines({""}), "\r\n");
    EXPECT_EQ(joinLines({"a", "", kKan}), "a\r\n\r\n" + kKan + "\r\n");
    LineList lines = {"one", "", "三"};
    EXPECT_EQ(splitLines(joinLines(lines)), lines);
}

}  // namespace
}  // namespace tavricat
