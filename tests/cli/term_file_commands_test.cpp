// tavricat-cli dict import, export and edit, run as separate processes.

#include <gtest/gtest.h>

#include "support/cli_home_test.h"

namespace tavricat {
namespace {

using CliTermFileTest = testing::CliHomeTest;

std::string u8text(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST_F(CliTermFileTest, ImportMergesOrReplacesAndExportReadsBack) {
    work.write("list.txt", u8text(u8"gear box\t变速箱;齿轮箱\ntorque\t扭矩\n"));
    work.write("more.txt", u8text(u8"gear box\t减速器\n"));
    testing::CliRun imported = cli({"dict", "import", work.file("list.txt")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_NE(imported.err.find(u8text(u8"其中新词条: 2")), std::string::npos);
    ASSERT_EQ(cli({"dict", "import", "--merge", work.file("more.txt")}).exitCode, 0);
    EXPECT_EQ(cli({"dict", "lookup", "gear box"}).out, u8text(u8"减速器|变速箱|齿轮箱^^^\n"));
    ASSERT_EQ(cli({"dict", "import", "--replace", work.file("more.txt")}).exitCode, 0);
    EXPECT_EQ(cli({"dict", "lookup", "gear box"}).out, u8text(u8"减速器^^^\n"));
    EXPECT_EQ(cli({"dict", "import", "--merge", "--replace", work.file("more.txt")}).exitCode, 2);
    EXPECT_EQ(cli({"dict", "import", work.file("missing.txt")}).exitCode, 1);

    ASSERT_EQ(cli({"dict", "export", "MyDictEC", "-o", work.file("out.txt")}).exitCode, 0);
    EXPECT_EQ(work.read("out.txt"), u8text(u8"gear box\t减速器\r\ntorque\t扭矩\r\n"));
    EXPECT_EQ(cli({"dict", "export", "NoSuchBase", "-o", work.file("none.txt")}).exitCode, 1);
}

TEST_F(CliTermFileTest, EditMarksDeletesSavesAndImports) {
    work.write("rev.01", "apple\r\npear\r\n");
    work.write("rev.02", "苹果|林檎|苹^^n^\r\n梨^^n^\r\n");  // term base files are GBK
    testing::CliRun edited = cli({"dict", "edit", work.file("rev.01"), "--verified", "APPLE", "--delete", "pear",
                                  "--keep-meanings", "2", "--import"});
    ASSERT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(work.read("rev.01"), "apple\r\n");
    EXPECT_EQ(work.read("rev.02"), "苹果|林檎^^n^已校\r\n");
    EXPECT_EQ(cli({"dict", "lookup", "apple"}).out, u8text(u8"苹果|林檎^^n^已校\n"));
    EXPECT_EQ(cli({"dict", "edit", work.file("rev.01"), "--domain", "absent"}).exitCode, 1);
    EXPECT_EQ(cli({"dict", "edit", work.file("rev.01"), "--keep-meanings", "0"}).exitCode, 2);
}

}  // namespace
}  // namespace tavricat
