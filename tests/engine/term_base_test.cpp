// The term base files and their safe save, and the two side tables of the program folder.

#include <gtest/gtest.h>

#include <string>

#include "base/file_system.h"
#include "engine/block_file.h"
#include "engine/measure_words.h"
#include "engine/term_base.h"
#include "engine/verb_forms.h"
#include "support/faulty_file_system.h"
#include "support/scripted_ports.h"
#include "support/temp_folder.h"

namespace tavricat {
namespace {

using testing::FaultyFileSystem;
using testing::FsOp;
using testing::ScriptedDialogs;
using testing::TempFolder;

std::string native(const char8_t* utf8) { return reinterpret_cast<const char*>(utf8); }

class TermBaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("t.01", "apple\r\nbanana\r\ncherry\r\n");
        dir.write("t.02", "苹果\r\n香蕉\r\n樱桃\r\n");
        dir.write("t.inf", "标题\r\n作者\r\nt\r\n说明\r\n");
        ASSERT_TRUE(terms.load(fs, dir.path(), "t").isOk());
    }
    TempFolder dir;
    FaultyFileSystem fs;
    ScriptedDialogs dialogs;
    TermBase terms;
};

TEST_F(TermBaseTest, LookUpIsExactTrimmedAndIgnoresAsciiCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"apple", "苹果"}, {"  BANANA\t", "香蕉"}, {"Cherry", "樱桃"}, {"app", ""}, {"apples", ""}, {"", ""},
    };
    for (const auto& [key, entry] : cases) EXPECT_EQ(terms.lookupKey(key), entry) << key;
}

TEST_F(TermBaseTest, InsertAndRemoveKeepBothListsParallelAndSorted) {
    SortedFind at = terms.find("blueberry");
    ASSERT_FALSE(at.found);
    ASSERT_TRUE(terms.insertAt(at.index, "blueberry", "蓝莓"));
    EXPECT_EQ(terms.termKeys, (LineList{"apple", "banana", "blueberry", "cherry"}));
    EXPECT_EQ(terms.termEntries, (LineList{"苹果", "香蕉", "蓝莓", "樱桃"}));
    ASSERT_TRUE(terms.removeAt(0));
    EXPECT_EQ(terms.lookupKey("blueberry"), "蓝莓");
    EXPECT_EQ(terms.termEntries.front(), "香蕉");

    EXPECT_FALSE(terms.insertAt(4, "zz", "x"));
    EXPECT_FALSE(terms.removeAt(3));
    EXPECT_EQ(terms.size(), 3u);
    EXPECT_EQ(terms.termEntries.size(), 3u);
}

TEST_F(TermBaseTest, LoadRepairsOrderAndLengthWithoutLosingLines) {
    struct Case {
        const char* keys;
        const char* entries;
        LineList wantKeys, wantEntries, wantUnmatched;
    };
    const Case cases[] = {
        // Out of order: entries move with their keys.
        {"pear\r\nApple\r\nfig\r\n", "梨\r\n苹果\r\n无花果\r\n", {"Apple", "fig", "pear"}, {"苹果", "无花果", "梨"}, {}},
        // Fewer entries than keys: empty entries for the rest.
        {"a\r\nb\r\nc\r\n", "1\r\n", {"a", "b", "c"}, {"1", "", ""}, {}},
        // More entries than keys: the extra lines are kept aside.
        {"b\r\na\r\n", "2\r\n1\r\nextra\r\nmore", {"a", "b"}, {"1", "2"}, {"extra", "more"}},
    };
    for (const Case& c : cases) {
        dir.write("x.01", c.keys);
        dir.write("x.02", c.entries);
        TermBase loaded;
        ASSERT_TRUE(loaded.load(fs, dir.path(), "x").isOk());
        EXPECT_EQ(loaded.termKeys, c.wantKeys) << c.keys;
        EXPECT_EQ(loaded.termEntries, c.wantEntries) << c.keys;
        EXPECT_EQ(loaded.unmatchedEntries(), c.wantUnmatched) << c.keys;
        EXPECT_EQ(loaded.name, "x");
    }
}

TEST_F(TermBaseTest, EntriesWithoutKeysSurviveASave) {
    dir.write("x.01", "a\r\n");
    dir.write("x.02", "1\r\nextra\r\n");
    TermBase loaded;
    ASSERT_TRUE(loaded.load(fs, dir.path(), "x").isOk());
    ASSERT_TRUE(loaded.insertAt(1, "b", "2"));
    ASSERT_TRUE(loaded.saveTermBase(fs, dialogs, dir.path()).isOk());
    EXPECT_EQ(dir.read("x.01"), "a\r\nb\r\n");
    EXPECT_EQ(dir.read("x.02"), "1\r\n2\r\nextra\r\n");
}

TEST_F(TermBaseTest, LoadOfAMissingFileFailsAndKeepsTheLoadedTermBase) {
    dir.write("half.01", "k\r\n");
    EXPECT_FALSE(terms.load(fs, dir.path(), "half").isOk());
    EXPECT_EQ(terms.name, "t");
    EXPECT_EQ(terms.lookupKey("apple"), "苹果");
}

TEST_F(TermBaseTest, ReloadReadsTheFilesAgain) {
    ASSERT_TRUE(terms.insertAt(0, "aardvark", "土豚"));
    ASSERT_TRUE(terms.reload(fs, dir.path()).isOk());
    EXPECT_EQ(terms.lookupKey("aardvark"), "");
    EXPECT_EQ(terms.size(), 3u);
}

TEST_F(TermBaseTest, SaveWritesBothFilesAndLeavesNoBak) {
    ASSERT_TRUE(terms.insertAt(terms.find("date").index, "date", "枣"));
    ASSERT_TRUE(terms.saveTermBase(fs, dialogs, dir.path()).isOk());
    EXPECT_EQ(dir.read("t.01"), "apple\r\nbanana\r\ncherry\r\ndate\r\n");
    EXPECT_EQ(dir.read("t.02"), "苹果\r\n香蕉\r\n樱桃\r\n枣\r\n");
    for (const char* name : {"t.01bak", "t.02bak", "t.infbak"}) EXPECT_FALSE(dir.exists(name)) << name;
    EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(TermBaseTest, FailedCopyLeavesTheBakPairAsTheOnlyCopy) {
    ASSERT_TRUE(terms.insertAt(3, "date", "枣"));
    fs.failOn(FsOp::Copy, "t.02");
    Status saved = terms.saveTermBase(fs, dialogs, dir.path());
    EXPECT_FALSE(saved.isOk());
    EXPECT_FALSE(dir.exists("t.01"));
    EXPECT_FALSE(dir.exists("t.02"));
    EXPECT_EQ(dir.read("t.01bak"), "apple\r\nbanana\r\ncherry\r\ndate\r\n");
    EXPECT_EQ(dir.read("t.02bak"), "苹果\r\n香蕉\r\n樱桃\r\n枣\r\n");
    EXPECT_FALSE(dir.exists("t.inf"));
    EXPECT_EQ(dir.read("t.infbak"), "标题\r\n作者\r\nt\r\n说明\r\n");
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kTermBaseCopyFailed}));
}

TEST_F(TermBaseTest, FailedBakWriteLeavesTheRealFilesUntouched) {
    ASSERT_TRUE(terms.insertAt(3, "date", "枣"));
    fs.failOn(FsOp::Write, "t.02bak.tmp-save");
    Status saved = terms.saveTermBase(fs, dialogs, dir.path());
    EXPECT_FALSE(saved.isOk());
    EXPECT_EQ(saved.message(), kTermBaseSaveFailed);
    EXPECT_EQ(dir.read("t.01"), "apple\r\nbanana\r\ncherry\r\n");
    EXPECT_EQ(dir.read("t.02"), "苹果\r\n香蕉\r\n樱桃\r\n");
    EXPECT_TRUE(dir.exists("t.inf"));
    EXPECT_FALSE(dir.exists("t.infbak"));
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{kTermBaseSaveFailed}));
}

TEST_F(TermBaseTest, SaveAsWritesTheListsUnderTheTypedName) {
    dialogs.inputs = {std::string("  Copy "), std::nullopt, std::string("  ")};
    ASSERT_TRUE(terms.saveTermBaseAs(fs, dialogs, dir.path()).isOk());
    EXPECT_EQ(dir.read("Copy.01"), dir.read("t.01"));
    EXPECT_EQ(dir.read("Copy.02"), dir.read("t.02"));
    EXPECT_FALSE(dir.exists("Copy.inf"));
    EXPECT_EQ(terms.name, "t");
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"保存完毕！", "请切换为标准库，继续导入其他！"}));

    dialogs.messages.clear();
    EXPECT_TRUE(terms.saveTermBaseAs(fs, dialogs, dir.path()).isOk());  // cancelled
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(terms.saveTermBaseAs(fs, dialogs, dir.path()).isOk());  // blank
    EXPECT_EQ(dialogs.messages, (std::vector<std::string>{"文件名不能为空！请重新输入。"}));
}

// ---- creating a term base ------------------------------------------------------------------

TEST(TermBaseCreateTest, NamesAreCheckedBeforeAnythingIsWritten) {
    TempFolder dir;
    DiskFileSystem fs;
    dir.write("Taken.inf", "x\r\n");
    dir.write("orphan.01", "kept key\r\n");
    struct Case {
        const char* typed;
        const char* message;
    };
    const Case refused[] = {
        {"", "文件名不能为空！请重新输入。"},
        {"  .lib", "文件名不能为空！请重新输入。"},
        {"Taken", "文件名称已存在，请重新命名！"},
        {"taken.new", "文件名称已存在，请重新命名！"},
        {"orphan", "文件名称已存在，请重新命名！"},
    };
    for (const Case& c : refused) {
        LibraryInfo info{"标题", "作者", c.typed, {"说明"}};
        Result<std::string> created = createTermBase(fs, dir.path(), info);
        ASSERT_FALSE(created.isOk()) << c.typed;
        EXPECT_EQ(created.status().message(), c.message) << c.typed;
    }
    EXPECT_EQ(dir.read("orphan.01"), "kept key\r\n");
    EXPECT_FALSE(dir.exists("orphan.02"));
}

TEST(TermBaseCreateTest, WritesTheInfoAndEmptyListsAndLoads) {
    TempFolder dir;
    DiskFileSystem fs;
    LibraryInfo info{"法律", "我", " 法律词库.lib", {"第一行", "第二行"}};
    Result<std::string> created = createTermBase(fs, dir.path(), info);
    ASSERT_TRUE(created.isOk()) << created.status().message();
    const std::string name = native(u8"法律词库");
    EXPECT_EQ(*created, name);
    EXPECT_EQ(dir.read(name + ".inf"), "法律\r\n我\r\n 法律词库.lib\r\n第一行\r\n第二行\r\n");
    EXPECT_EQ(dir.read(name + ".01"), "");
    EXPECT_EQ(dir.read(name + ".02"), "");
    TermBase terms;
    ASSERT_TRUE(terms.load(fs, dir.path(), *created).isOk());
    EXPECT_EQ(terms.size(), 0u);
}

TEST(TermBaseCreateTest, AFailedWriteLeavesNoPartialSet) {
    TempFolder dir;
    FaultyFileSystem fs;
    fs.failOn(FsOp::Rename, "new.02");
    EXPECT_FALSE(createTermBase(fs, dir.path(), LibraryInfo{"t", "a", "new", {}}).isOk());
    for (const char* name : {"new.inf", "new.01", "new.02"}) EXPECT_FALSE(dir.exists(name)) << name;
}

// ---- verb.dat ------------------------------------------------------------------------------

TEST(VerbFormsTest, WrittenTableReadsBackSorted) {
    TempFolder dir;
    DiskFileSystem fs;
    const std::string longForm(kVerbFormMaxBytes, 'f');
    const std::string longBase(kVerbBaseMaxBytes, 'b');
    ASSERT_TRUE(writeVerbForms(fs, dir.file("verb.dat"),
                               {{"went", "go"}, {"looked after", "look after"}, {"Children", "child"},
                                {longForm, longBase}, {"是的", "是"}})
                    .isOk());
    Result<VerbForms> table = loadVerbForms(fs, dir.file("verb.dat"));
    ASSERT_TRUE(table.isOk());
    EXPECT_EQ(table->formList, (LineList{"Children", longForm, "looked after", "went", "是的"}));
    EXPECT_EQ(table->baseList, (LineList{"child", longBase, "look after", "go", "是"}));
    EXPECT_EQ(table->baseOf("children"), "child");
    EXPECT_EQ(table->baseOf("go"), "");
}

TEST(VerbFormsTest, LinesAreReadByFieldPosition) {
    const std::string pad = std::string(30 - 4, ' ');
    const LineList lines = {
        "went" + pad + "go",
        "ran",                                                      // no base form
        std::string(40, ' '),                                       // blank: skipped
        "born" + pad + "bear" + std::string(120, ' ') + "ignored",  // base field ends at byte 129
        "ate" + std::string(27, ' ') + "  eat  ",
    };
    VerbForms table = parseVerbForms(lines);
    EXPECT_EQ(table.formList, (LineList{"ate", "born", "ran", "went"}));
    EXPECT_EQ(table.baseList, (LineList{"eat", "bear", "", "go"}));
}

TEST(VerbFormsTest, BaseFormsOfAnotherNumberOfWordsAreLeftOut) {
    const std::string pad = std::string(30 - 6, ' ');
    const LineList lines = {
        "comics" + pad + "comic strip",
        "gone b" + pad + "go",
        "went b" + pad + "go by",
        "mice  " + pad + "mouse",
    };
    VerbForms table = parseVerbForms(lines);
    EXPECT_EQ(table.formList, (LineList{"mice", "went b"}));
    EXPECT_EQ(table.baseOf("comics"), "");
}

TEST(VerbFormsTest, AMissingFileIsAnEmptyTable) {
    TempFolder dir;
    DiskFileSystem fs;
    Result<VerbForms> table = loadVerbForms(fs, dir.file("verb.dat"));
    ASSERT_TRUE(table.isOk());
    EXPECT_TRUE(table->formList.empty());
    EXPECT_TRUE(table->baseList.empty());
}

TEST(VerbFormsTest, PairsThatDoNotFitTheFieldsAreRefused) {
    const std::pair<std::string, std::string> bad[] = {
        {"  ", "x"},
        {std::string(kVerbFormMaxBytes + 1, 'f'), "x"},
        {"f", std::string(kVerbBaseMaxBytes + 1, 'b')},
        {"f\r\ng", "x"},
    };
    for (const auto& [form, base] : bad) EXPECT_EQ(verbFormLine(form, base).status().kind(), ErrorKind::BadInput) << form;
    TempFolder dir;
    DiskFileSystem fs;
    EXPECT_FALSE(writeVerbForms(fs, dir.file("verb.dat"), {{"ok", "fine"}, bad[1]}).isOk());
    EXPECT_FALSE(dir.exists("verb.dat"));
}

// ---- art.01 / art.02 -----------------------------------------------------------------------

TEST(DictMeasureWordsTest, KeysAreSortedWithTheirWordsAndMissingWordsAreEmpty) {
    TempFolder dir;
    DiskFileSystem fs;
    dir.write("art.01", "书\r\nbook\r\napple\r\n");
    dir.write("art.02", "本\r\n本\r\n");
    Result<MeasureWords> table = loadMeasureWords(fs, dir.file("art.01"), dir.file("art.02"));
    ASSERT_TRUE(table.isOk());
    EXPECT_EQ(table->measureKeys, (LineList{"apple", "book", "书"}));
    EXPECT_EQ(table->measureWords, (LineList{"", "本", "本"}));
    EXPECT_EQ(table->wordFor("BOOK"), "本");
    EXPECT_FALSE(loadMeasureWords(fs, dir.file("art.01"), dir.file("none.02")).isOk());
}

}  // namespace
}  // namespace tavricat
