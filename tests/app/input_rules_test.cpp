// The rules that refuse what a person enters, asked by the window and the command line alike:
// setting values, a new domain's label, and when closing asks to save the bilingual text.

#include <gtest/gtest.h>

#include "app/domain_names.h"
#include "app/setting_rules.h"
#include "batch/project_exports.h"
#include "document/close_query.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

struct SettingCase {
    const char* section;
    const char* key;
    const char* value;
    ErrorKind expected;  // None: accepted
};

TEST(SettingRulesTest, RangesColoursAndTypes) {
    Settings settings;  // SelWordsFC blue, ShortCutFC red
    const SettingCase cases[] = {
        {"inisetup", "matchrate", "50", ErrorKind::None},
        {"inisetup", "matchrate", "100", ErrorKind::None},
        {"inisetup", "matchrate", "49", ErrorKind::Refused},
        {"inisetup", "matchrate", "5", ErrorKind::Refused},
        {"inisetup", "matchrate", "101", ErrorKind::Refused},
        {"INISETUP", "MatchRate", "-70", ErrorKind::Refused},
        {"inisetup", "maxshowcharnum", "9", ErrorKind::None},
        {"inisetup", "maxshowcharnum", "0", ErrorKind::Refused},
        {"inisetup", "limitPhraseTipNum", "10", ErrorKind::Refused},
        {"inisetup", "userefmode", "3", ErrorKind::None},
        {"inisetup", "userefmode", "4", ErrorKind::Refused},
        {"fontsetup", "interCwordFontSize", "0", ErrorKind::Refused},
        {"fontsetup", "interEwordFontSize", "12", ErrorKind::None},
        {"colorsetup", "SelWordsFC", "255", ErrorKind::Refused},       // red
        {"colorsetup", "SelWordsFC", "65280", ErrorKind::None},        // green
        {"colorsetup", "ShortCutFC", "16711680", ErrorKind::Refused},  // the selected words' blue
        {"colorsetup", "ShortCutFC", "65280", ErrorKind::None},
        {"colorsetup", "CurEwordBC", "255", ErrorKind::None},          // red is refused only there
        {"netsetting", "shareMode", "7", ErrorKind::None},             // no rule
        {"inisetup", "matchrate", "high", ErrorKind::BadInput},
        {"inisetup", "nosuch", "1", ErrorKind::NotFound},
    };
    for (const SettingCase& c : cases) {
        Status checked = validateSetting(settings, c.section, c.key, c.value);
        EXPECT_EQ(checked.kind(), c.expected) << c.key << " = " << c.value << ": " << checked.message();
    }
    EXPECT_EQ(validateSetting(settings, "colorsetup", "SelWordsFC", "255").message(),
              "选定单词前景色不能用红色，也不能与快捷键颜色相同。");
    EXPECT_EQ(validateSetting(settings, "colorsetup", "ShortCutFC", "16711680").message(),
              "快捷键颜色不能与选定单词前景色相同。");

    // The shortcut keys in green this run: green is theirs, and red stays refused.
    settings.ShortCutFC = 65280;
    EXPECT_EQ(validateSetting(settings, "colorsetup", "SelWordsFC", "65280").kind(), ErrorKind::Refused);
    EXPECT_EQ(validateSetting(settings, "colorsetup", "SelWordsFC", "255").kind(), ErrorKind::Refused);
}

TEST(MinRepeatsTest, TheExportOfRepeatedSentencesTakesTwoToNineThousandNineHundredNinetyNine) {
    EXPECT_TRUE(checkMinRepeats(2).isOk());
    EXPECT_TRUE(checkMinRepeats(9999).isOk());
    for (long refused : {1L, 0L, -3L, 10000L}) EXPECT_EQ(checkMinRepeats(refused).kind(), ErrorKind::Refused) << refused;
}

TEST(DomainNamesTest, ALabelInHalfWidthBracketsIsRequired) {
    EXPECT_EQ(domainLabel("Windows 2000[W2]"), "W2");
    EXPECT_EQ(domainLabel("法律[FL]"), "FL");
    EXPECT_EQ(domainLabel("[]"), "");
    EXPECT_FALSE(domainLabel("法律"));
    EXPECT_FALSE(domainLabel("法律[FL"));
    EXPECT_FALSE(domainLabel("W]x["));  // brackets the wrong way round give no label
    // The second byte of a double-byte character equal to '[' or ']' is not a bracket.
    EXPECT_EQ(domainLabel("X\x81[Y[FL]"), "FL");
    EXPECT_FALSE(domainLabel("X\x81[Y\x81]"));

    EXPECT_TRUE(checkNewDomain("医学[YX]").isOk());
    Status refused = checkNewDomain("医学");
    EXPECT_EQ(refused.kind(), ErrorKind::Refused);
    EXPECT_EQ(refused.message(), "必须有简称并用半角\"[\"和\"]\"括起来！");
    EXPECT_EQ(checkNewDomain("医学\x81[YX\x81]").kind(), ErrorKind::Refused);
}

TEST(CloseQueryTest, OnlyAChangedTextOfMoreThanFiftyCharacters) {
    RichText bilingual;
    bilingual.insert(0, std::string(50, 'a'));
    bilingual.setModified(true);
    EXPECT_FALSE(closeQueryNeeded(bilingual));  // fifty is not more than fifty
    bilingual.insert(0, "b");
    EXPECT_TRUE(closeQueryNeeded(bilingual));
    bilingual.setModified(false);
    EXPECT_FALSE(closeQueryNeeded(bilingual));

    // Characters, not bytes: thirty Chinese characters are sixty bytes.
    RichText chinese;
    std::string text;
    for (int i = 0; i < 30; ++i) text += "译";
    chinese.insert(0, text);
    chinese.setModified(true);
    EXPECT_FALSE(closeQueryNeeded(chinese));
}

class WorkbenchInputTest : public testing::WorkbenchFixture {};

TEST_F(WorkbenchInputTest, SelectedDomainLabelsSkipDoubleByteBrackets) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    bench->setSelectedDomains({"X\x81[Y[FL]", "医学[YX]", "无简称"});
    EXPECT_EQ(bench->selectedDomainNames, (LineList{"FL", "YX"}));
    EXPECT_EQ(bench->selectedDomainText, "FL\r\nYX");
}

TEST_F(WorkbenchInputTest, LibraryTitlesComeFromTheWorkbenchNotTheStatusBar) {
    auto bench = makeWorkbench();
    ASSERT_TRUE(bench->start().isOk());
    EXPECT_EQ(bench->libraryTitle(LibraryKind::TermBase), "我的英-汉词库");
    EXPECT_EQ(bench->libraryTitle(LibraryKind::SentenceLibrary), "我的英-汉例句库");
    bench->sentenceLibraryInfo.title.clear();  // without a title the name stands
    EXPECT_EQ(bench->libraryTitle(LibraryKind::SentenceLibrary), "MySentsEC");
}

}  // namespace
}  // namespace tavricat
