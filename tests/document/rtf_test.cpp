// RTF reading and writing: round trips run by run, what the writer puts out, what the reader
// takes from the producers we meet (LibreOffice, WordPad), damaged input, files and speed.

#include <gtest/gtest.h>

#include <time.h>

#include <random>

#include "base/file_system.h"
#include "document/rtf_reader.h"
#include "document/rtf_writer.h"
#include "support/faulty_file_system.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;
using testing::TempFolder;

struct RunView {
    std::string text;
    CharFormat format;
};

std::vector<RunView> runsOf(const RichText& rt) {
    std::vector<RunView> out;
    for (const auto& run : rt.runs()) out.push_back({rt.text(run.start, run.length), *run.format});
    return out;
}

std::string describe(const CharFormat& f) {
    return f.fontName + "/" + std::to_string(f.charset) + " fs" + std::to_string(f.sizeHalfPoints) + " c" +
           std::to_string(f.colour) + (f.bold ? " b" : "") + (f.italic ? " i" : "") + (f.underline ? " u" : "") +
           (f.isProtected ? " p" : "");
}

void expectSameRuns(const RichText& expected, const RichText& actual) {
    EXPECT_EQ(expected.text(), actual.text());
    auto want = runsOf(expected);
    auto got = runsOf(actual);
    ASSERT_EQ(want.size(), got.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(want[i].text, got[i].text) << "run " << i;
        EXPECT_EQ(describe(want[i].format), describe(got[i].format)) << "run " << i;
    }
}

RichText mustRead(std::string_view bytes) {
    Result<RichText> read = readRichText(bytes);
    EXPECT_TRUE(read.isOk()) << read.status().message();
    return read ? std::move(*read) : RichText();
}

std::string readFixture(const std::string& name) {
    DiskFileSystem fs;
    Result<std::string> bytes = fs.readFile(std::string(TAVRICAT_TEST_DATA_DIR) + "/rtf/" + name);
    EXPECT_TRUE(bytes.isOk()) << bytes.status().message();
    return bytes ? *bytes : std::string();
}

CharFormat fmt(std::string font, int size, std::uint32_t colour, int charset = kCharsetGb2312) {
    CharFormat f;
    f.fontName = std::move(font);
    f.sizeHalfPoints = size;
    f.colour = colour;
    f.charset = charset;
    return f;
}

// A buffer with every kind of byte and format the writer has to carry.
RichText mixedBuffer() {
    CharFormat bold = fmt("宋体", 24, 0x0000FF);
    bold.bold = true;
    CharFormat marker = fmt("Arial", 20, 0x808080, kCharsetAnsi);
    marker.isProtected = true;
    CharFormat styled = fmt(" 黑体;{x} ", 31, 0xFFFFFF);
    styled.italic = styled.underline = true;
    RichText rt;
    // 乗 亄 亇: GBK characters whose trail bytes are "\", "{" and "}".
    rt.append("乗亄亇 and \\{}; ", CharFormat{});
    rt.append("{0>", marker);
    rt.append("中文\r\n第二行\t制表", bold);
    rt.append("<}0{", marker);
    rt.append("lone\rcr lone\nlf \x01 end\r\n", styled);
    rt.append("\r\n\r\n", CharFormat{});
    return rt;
}

TEST(RtfRoundTrip, GivesTheSameTextAndFormatsRunByRun) {
    RichText empty;
    RichText onlyBreaks;
    onlyBreaks.append("\r\n\t\r\n", fmt("宋体", 20, 0));
    RichText trailBytes;
    trailBytes.append("乗", CharFormat{});
    trailBytes.append("亄亇", fmt("楷体", 28, 0x123456));
    RichText charsets;
    charsets.append("abc", fmt("Arial", 20, 0, kCharsetAnsi));
    charsets.append("abc", fmt("Arial", 20, 0, kCharsetGb2312));  // same name, other charset
    charsets.append("xyz", fmt("", 20, 0, 2));
    charsets.append("中文", fmt("MS Mincho", 20, 0, 128));  // GBK text in a Japanese font
    const std::pair<const char*, RichText> cases[] = {
        {"mixed", mixedBuffer()}, {"empty", empty}, {"breaks", onlyBreaks},
        {"trail bytes", trailBytes}, {"charsets", charsets}};
    for (const auto& [name, buffer] : cases) {
        SCOPED_TRACE(name);
        std::string rtf = writeRtf(buffer);
        EXPECT_EQ(rtf, writeRtf(buffer));
        for (char c : rtf) ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
        RichText back = mustRead(rtf);
        expectSameRuns(buffer, back);
        EXPECT_FALSE(back.modified());
    }
}

TEST(RtfWriter, WritesTheDocumentHeaderTablesAndEscapes) {
    RichText rt;
    CharFormat red = fmt("宋体", 24, 0x0000FF);
    red.bold = red.isProtected = true;
    rt.append("A\\乗\r\n", CharFormat{});
    rt.append("B\t", red);
    EXPECT_EQ(writeRtf(rt),
              "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}}\r\n"
              "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
              "\\viewkind4\\uc2\\pard "
              "\\f0\\fs20\\cf1\\b0\\i0\\ulnone\\protect0 A\\\\\\u20055\\'81\\'5c\\par\r\n"
              "\\f0\\fs24\\cf2\\b\\i0\\ulnone\\protect B\\tab }\r\n");
}

// Fonts read from word processors say charset 0 (Western), and those readers decode \'hh
// bytes by the font's charset: Chinese must reach them as Unicode.
TEST(RtfWriter, WritesChineseAsUnicodeWithTheGbkBytesAsFallback) {
    RichText rt;
    rt.append("中文（x）", fmt("SimSun", 20, 0, kCharsetAnsi));
    const std::string rtf = writeRtf(rt);
    EXPECT_NE(rtf.find("\\uc2\\pard"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\u20013\\'d6\\'d0\\u25991\\'ce\\'c4\\u-248\\'a3\\'a8x\\u-247\\'a3\\'a9"), std::string::npos)
        << rtf;
    // Read as a document that does not say it is GBK, the bytes would be Western letters.
    std::string undeclared = rtf;
    undeclared.erase(undeclared.find("\\ansicpg936"), 11);
    EXPECT_EQ(mustRead(undeclared).text(), "中文（x）");
}

TEST(RtfRoundTrip, EveryDoubleByteCodeComesBackAsTheSameBytes) {
    std::string all;
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFF; ++trail) {
            all += static_cast<char>(lead);
            all += static_cast<char>(trail);
        }
    all += "\x80 \x81\x30\xFF";  // the euro sign, a lead byte before a digit, a lone 0xFF
    RichText rt;
    rt.append(all, fmt("SimSun", 20, 0, kCharsetAnsi));
    EXPECT_TRUE(mustRead(writeRtf(rt)).text() == all);  // not EXPECT_EQ: the diff is huge
}

// Files written before Chinese went out as \uN: GBK bytes under a font of any charset.
TEST(RtfReader, ReadsTheOlderFilesOfThisSystem) {
    const char* older =
        "{\\rtf1\\ansi\\ansicpg936\\deff0{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5;}"
        "{\\f1\\fnil\\fcharset0 SimSun;}}\r\n{\\colortbl;\\red0\\green0\\blue0;}\r\n\\viewkind4\\uc1\\pard "
        "\\f1\\fs20\\cf1\\b0\\i0\\ulnone\\protect0 \\'d6\\'d0 caf\\'a8\\'a6\\par\r\n"
        "\\f0\\fs20\\cf1\\b0\\i0\\ulnone\\protect \\'ce\\'c4}\r\n";
    RichText rt = mustRead(older);
    EXPECT_EQ(rt.text(), "中 café\r\n文");
    EXPECT_EQ(describe(rt.formatAt(0)), "SimSun/0 fs20 c0");
    EXPECT_EQ(describe(rt.formatAt(rt.size() - 1)), "宋体/134 fs20 c0 p");
}

TEST(RtfWriter, WritesARangeOfTheBuffer) {
    RichText rt;
    rt.append("skip", CharFormat{});
    rt.append("keep", fmt("Arial", 30, 0, kCharsetAnsi));
    RichText back = mustRead(writeRtf(rt, 4, 100));
    EXPECT_EQ(back.text(), "keep");
    EXPECT_EQ(back.formatAt(0).fontName, "Arial");
    EXPECT_EQ(back.formatAt(0).charset, kCharsetAnsi);
    EXPECT_EQ(mustRead(writeRtf(rt, 2, 4)).text(), "ipke");
    EXPECT_EQ(mustRead(writeRtf(rt, 50, 4)).text(), "");
}

struct TextCase {
    const char* name;
    const char* rtf;
    const char* text;
};

TEST(RtfReader, TakesTheTextOfEachConstruct) {
    const TextCase cases[] = {
        {"unicode, fallback skipped", R"({\rtf1 \u20013?\u25991?!})", "中文!"},
        {"uc2 with hex fallback", R"({\rtf1\uc2 \u20013\'d6\'d0x})", "中x"},
        {"uc0", R"({\rtf1\uc0 \u20013 x})", "中x"},
        {"uc is scoped to its group", R"({\rtf1{\uc2 \u20013\'d6\'d0}\u25991?})", "中文"},
        {"negative unicode", R"({\rtf1 \u-248?})", "（"},  // U+FF08
        {"no GBK form", R"({\rtf1 \u4608?\u-10179?\u-8704?x})", "??x"},  // Ethiopic, then a surrogate pair
        {"lone surrogate", R"({\rtf1 \u-10179?x})", "?x"},
        {"lone surrogate before a break", R"({\rtf1 \u-10179?\par x})", "?\r\nx"},
        {"fallback stops at a group", R"({\rtf1\uc3 \u20013{x}y})", "中xy"},
        {"breaks and tabs", "{\\rtf1 a\\par b\\line c\\tab d\\\r\ne}", "a\r\nb\r\nc\td\r\ne"},
        {"source line ends are not text", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},
        {"symbols", R"({\rtf1 \{\}\\\~\_\-\emdash\ldblquote x\rdblquote})", "{}\\ -—“x”"},
        {"starred destination", R"({\rtf1 a{\*\unknown {nested} text}b})", "ab"},
        {"kept destinations", R"({\rtf1{\info{\title T}}{\stylesheet{\s0 Normal;}}a{\pict 0102}b})", "ab"},
        {"a header is a paragraph of its own", R"({\rtf1{\header H}a{\footnote F}b})", "H\r\na\r\nF\r\nb"},
        {"field keeps its result", R"({\rtf1{\field{\*\fldinst HYPERLINK "x"}{\fldrslt link}}})", "link"},
        {"binary data", R"({\rtf1 a{\pict\bin5 }}{\x}b})", "ab"},
        {"binary data past the end", R"({\rtf1 a\bin99999999999 xyz})", "a"},
        {"western code page", R"({\rtf1\ansi\ansicpg1252 caf\'e9})", "café"},
        {"font charset decides", R"({\rtf1\ansicpg1252{\fonttbl{\f1\fcharset134 X;}}\f1\'d6\'d0})", "中"},
        {"declared GBK wins", R"({\rtf1\ansicpg936{\fonttbl{\f1\fcharset128 X;}}\f1\'d6\'d0})", "中"},
        {"gbk by default", R"({\rtf1 \'d6\'d0\'81\\})", "中乗"},
        {"text after the document", R"({\rtf1 a}b)", "a"},
        {"star in the document group", R"({\rtf1 a\*\x b}c{d})", "a"},
        {"truncated", R"({\rtf1 a{\b b)", "ab"},
        {"broken hex escape", R"({\rtf1 a\'4g\'b)", "ag"},
        {"lone backslash at the end", "{\\rtf1 a\\", "a"},
        {"huge numbers", R"({\rtf1\fs99999999999999999999\uc99999999999 \u99999999999 0123456789abcdefXYZ\f-99999999999 y})",
         "?XYZy"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mustRead(c.rtf).text(), c.text);
    }
}

// What word processors write in Western documents: the code page of \ansi, UTF-8, the blanks
// and invisible characters of typesetting, list labels.
TEST(RtfReader, TakesWesternTextAsItsDocumentDeclaresIt) {
    const TextCase cases[] = {
        {"ansi alone is Windows-1252", R"({\rtf1\ansi \'93hi\'94 caf\'e9})", "“hi” café"},
        {"in a font of charset 0", R"({\rtf1\ansi{\fonttbl{\f0\fnil\fcharset0 Arial;}}\f0 cr\'e8me})", "crème"},
        {"a code page given with ansi wins", R"({\rtf1\ansi\ansicpg936 \'d6\'d0})", "中"},
        {"mac", R"({\rtf1\mac caf\'8e})", "café"},
        {"code page 65001 is UTF-8", R"({\rtf1\ansi\ansicpg65001 caf\'c3\'a9 \'e4\'b8\'ad\'e6\'96\'87})", "café 中文"},
        {"broken UTF-8", R"({\rtf1\ansi\ansicpg65001 a\'e4\'b8 b})", "a?? b"},
        {"no-break spaces are blanks", R"({\rtf1\ansi a\'a0b\u160?c\u8239?d})", "a b c d"},
        {"zero-width characters are nothing", R"({\rtf1\ansi a\u8203?b\u65279?c\'adde})", "abcde"},
        {"end of an English sentence", R"({\rtf1\ansi Yes.\'a0It is.})", "Yes. It is."},
        {"list labels are layout: the list makes them",
         R"({\rtf1\ansi{\listtext\pard\plain 1.\tab}One\par{\pntext\f0 a.\tab}Two\par{\listtext\'95\tab}Three})",
         "One\r\nTwo\r\nThree"},
        {"list templates are not", R"({\rtf1\ansi{\*\pnseclvl1\pnucrm{\pntxta .}}{\pn\pnlvlblt{\pntxtb \'b7}}x})", "x"},
        {"letters GBK lacks are held in its user-defined area", R"({\rtf1\ansi \'f0\'de x\u269?})", "\xAA\xE1\xAA\xD6 x\xAA\xF7"},
        {"characters nothing holds", R"({\rtf1\ansi \u3904?x\u-10179?})", "?x?"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(mustRead(c.rtf).text(), c.text);
    }
}

TEST(RtfReader, TakesFormatsWithGroupScopeAndTables) {
    RichText rt = mustRead(
        R"({\rtf1\deff1{\fonttbl{\f0\fnil\fcharset0 Arial;}{\f1\fnil\fcharset134 \'cb\'ce\'cc\'e5{\*\panose 0}  ;})"
        R"({\f2 Stray}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;})"
        R"(a{\f0\fs30\b\cf1 b{\i\ul c\ulnone d}e}f\protect g\plain h\f9 i\cf7 j\fs\f2 k})");
    EXPECT_EQ(rt.text(), "abcdefghijk");
    auto at = [&](char c) { return describe(rt.formatAt(rt.find(std::string(1, c), 0))); };
    EXPECT_EQ(at('a'), "宋体/134 fs24 c0");
    EXPECT_EQ(at('b'), "Arial/0 fs30 c255 b");
    EXPECT_EQ(at('c'), "Arial/0 fs30 c255 b i u");
    EXPECT_EQ(at('d'), "Arial/0 fs30 c255 b i");
    EXPECT_EQ(at('e'), "Arial/0 fs30 c255 b");
    EXPECT_EQ(at('f'), "宋体/134 fs24 c0");
    EXPECT_EQ(at('g'), "宋体/134 fs24 c0 p");
    EXPECT_EQ(at('h'), "宋体/134 fs24 c0");
    EXPECT_EQ(at('i'), "宋体/134 fs24 c0");  // unknown font: the default one
    EXPECT_EQ(at('j'), "宋体/134 fs24 c0");  // colour outside the table: automatic
    EXPECT_EQ(at('k'), "Stray/134 fs24 c0");  // an entry without ";" and without a charset
    EXPECT_EQ(rt.runs().size(), 9u);
}

TEST(RtfReader, RefusesNestingTooDeepUnlessItIsSkipped) {
    std::string deep = "{\\rtf1 " + std::string(kMaxRtfDepth + 5, '{') + "x";
    Result<RichText> refused = readRichText(deep);
    ASSERT_FALSE(refused.isOk());
    EXPECT_EQ(refused.status().kind(), ErrorKind::BadInput);
    EXPECT_NE(refused.status().message().find("嵌套"), std::string::npos);

    std::string skipped = "{\\rtf1 a{\\*\\deep " + std::string(100000, '{') + std::string(100000, '}') + "}b}";
    EXPECT_EQ(mustRead(skipped).text(), "ab");
}

TEST(RtfReader, LoadsOtherBytesAsPlainText) {
    RichText rt = mustRead("第一行\n第二行\rthird\r\nend {\\rtf");
    EXPECT_EQ(rt.text(), "第一行\r\n第二行\r\nthird\r\nend {\\rtf");
    ASSERT_EQ(rt.runs().size(), 1u);
    EXPECT_EQ(*rt.runs()[0].format, rt.defaultFormat());
    EXPECT_FALSE(rt.modified());
    EXPECT_TRUE(mustRead("").empty());
}

TEST(RtfReader, ReadsLibreOfficeOutput) {
    RichText rt = mustRead(readFixture("libreoffice_zh.rtf"));
    EXPECT_EQ(rt.text(), "翻译记忆库加粗文字 and 红色文本。\r\n第二段：“引号”——\t斜体下划线表乗亄亇{\\}\r\n");
    auto formatOf = [&](const char* piece) { return rt.formatAt(rt.find(piece, 0)); };
    EXPECT_FALSE(formatOf("翻译").bold);
    EXPECT_TRUE(formatOf("加粗").bold);
    EXPECT_EQ(formatOf("红色").colour, 0x0000FFu);
    EXPECT_TRUE(formatOf("斜体").italic);
    EXPECT_TRUE(formatOf("斜体").underline);
    EXPECT_EQ(formatOf("翻译").fontName, "宋体");  // named in Shift-JIS bytes by that producer
    EXPECT_EQ(formatOf("and").fontName, "Arial");
    EXPECT_EQ(formatOf("and").sizeHalfPoints, 24);
}

TEST(RtfReader, ReadsWordPadOutput) {
    RichText rt = mustRead(readFixture("wordpad_zh.rtf"));
    EXPECT_EQ(rt.text(), "中文 text\t红色粗体\r\n乗亄亇丂表\r\n");
    auto formatOf = [&](const char* piece) { return describe(rt.formatAt(rt.find(piece, 0))); };
    EXPECT_EQ(formatOf("中文"), "宋体/134 fs22 c0");
    EXPECT_EQ(formatOf(" text"), "Calibri/0 fs22 c0");
    EXPECT_EQ(formatOf("红色"), "宋体/134 fs22 c255 b");
    EXPECT_EQ(formatOf("乗"), "宋体/134 fs22 c0");
    EXPECT_EQ(formatOf("表"), "宋体/134 fs22 c12274944 i");  // 0, 77, 187
}

// Random damage to real documents: reading must end, without crashing, every time.
TEST(RtfReader, SurvivesRandomDamage) {
    const std::string seeds[] = {writeRtf(mixedBuffer()), readFixture("libreoffice_zh.rtf"),
                                 readFixture("wordpad_zh.rtf")};
    const char interesting[] = "{}\\'*u0123456789-; ";
    std::mt19937 random(20240611);
    for (int round = 0; round < 3000; ++round) {
        std::string doc = seeds[round % 3];
        int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !doc.empty(); ++e) {
            std::size_t at = random() % doc.size();
            switch (random() % 4) {
                case 0: doc[at] = static_cast<char>(random() % 256); break;
                case 1: doc[at] = interesting[random() % (sizeof interesting - 1)]; break;
                case 2: doc.erase(at, 1 + random() % 16); break;
                default: doc.insert(at, std::string(1 + random() % 4, interesting[random() % (sizeof interesting - 1)])); break;
            }
        }
        if (round % 7 == 0) doc.resize(random() % (doc.size() + 1));  // truncated
        Result<RichText> read = readRichText(doc);
        if (read) {
            ASSERT_LE(read->size(), doc.size() * 2) << "round " << round;
        }
    }
}

TEST(RtfFiles, SaveAndLoadThroughTheFileSystem) {
    TempFolder folder;
    DiskFileSystem fs;
    RichText rt = mixedBuffer();
    ASSERT_TRUE(saveRichTextFile(fs, folder.file("doc.rtf"), rt).isOk());
    Result<RichText> back = loadRichTextFile(fs, folder.file("doc.rtf"));
    ASSERT_TRUE(back.isOk()) << back.status().message();
    expectSameRuns(rt, *back);
    EXPECT_FALSE(folder.exists("doc.rtf.tmp-save"));

    Result<RichText> missing = loadRichTextFile(fs, folder.file("none.rtf"));
    ASSERT_FALSE(missing.isOk());
    EXPECT_EQ(missing.status().kind(), ErrorKind::NotFound);
    EXPECT_NE(missing.status().message().find("none.rtf"), std::string::npos);
}

TEST(RtfFiles, AFailedSaveKeepsTheOldFile) {
    TempFolder folder;
    folder.write("doc.rtf", "old content");
    for (FsOp op : {FsOp::Write, FsOp::Rename}) {
        FaultyFileSystem fs;
        fs.failOn(op, op == FsOp::Write ? ".tmp-save" : "doc.rtf");
        Status saved = saveRichTextFile(fs, folder.file("doc.rtf"), mixedBuffer());
        EXPECT_FALSE(saved.isOk());
        EXPECT_NE(saved.message().find("doc.rtf"), std::string::npos);
        EXPECT_EQ(folder.read("doc.rtf"), "old content");
    }
}

// Speed is measured by bench/document_bench; this checks a large document round-trips.
TEST(RtfLargeDocument, OneMegabyteRoundTrips) {
    RichText rt;
    CharFormat bold = fmt("宋体", 24, 0x00FF00);
    bold.bold = true;
    while (rt.size() < (1u << 20)) {
        rt.append("翻译记忆库 translation memory\t乗亄亇{\\}\r\n", CharFormat{});
        rt.append("加粗", bold);
    }
    std::string rtf = writeRtf(rt);
    RichText back = mustRead(rtf);
    EXPECT_TRUE(back.text() == rt.text());  // not EXPECT_EQ: a 1 MB diff takes ages to print
    EXPECT_EQ(back.runs().size(), rt.runs().size());

    // Text written as \uN (as LibreOffice does) goes through the same reader.
    std::string unicode = "{\\rtf1\\uc1 ";
    while (unicode.size() < (1u << 20)) unicode += "\\u20013?\\u25991?a";
    unicode += "}";
    RichText fromUnicode = mustRead(unicode);
    EXPECT_EQ(fromUnicode.text().substr(0, 10), "中文a中文a");
}

}  // namespace
}  // namespace tavricat
