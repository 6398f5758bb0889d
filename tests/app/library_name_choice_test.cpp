// Choosing or creating a library through the wizard and the library dialogs: a name that
// leads out of the user-data folder is refused and nothing outside is read or written.

#include <gtest/gtest.h>

#include <filesystem>

#include "base/library_creation.h"
#include "app/sentence_library_switch.h"
#include "app/setup_choices.h"
#include "workbench_fixture.h"

namespace tavricat {
namespace {

class LibraryNameChoiceTest : public testing::WorkbenchFixture {
protected:
    void SetUp() override {
        WorkbenchFixture::SetUp();
        for (const char* file : {"evil.01", "evil.02", "evil.rf0", "evil.rf1", "evil.rf2"}) outside.write(file, "");
        outside.write("evil.01", "secret\r\n");
        outside.write("evil.02", "机密\r\n");
        bench = makeWorkbench();
        ASSERT_TRUE(bench->start().isOk());
    }

    std::string outsideName() const {
        return "../../" + std::filesystem::path(outside.path()).filename().string() + "/evil";
    }

    testing::TempFolder outside;
    std::unique_ptr<Workbench> bench;
};

TEST_F(LibraryNameChoiceTest, APathIsNoTermBaseOrSentenceLibrary) {
    const std::string termBase = bench->settings.curZyname;
    const std::string library = bench->settings.curLiJuKuname;
    for (const std::string& name : {outsideName(), outside.file("evil")}) {
        Status chosen = chooseTermBase(*bench, name, "");
        EXPECT_EQ(chosen.kind(), ErrorKind::Refused) << name;
        Status used = useSentenceLibrary(*bench, name);
        EXPECT_EQ(used.kind(), ErrorKind::Refused) << name;
    }
    EXPECT_EQ(dialogs.messages.size(), 4u);
    EXPECT_EQ(bench->settings.curZyname, termBase);
    EXPECT_EQ(bench->settings.curLiJuKuname, library);
    EXPECT_EQ(bench->engine.termBase.lookupKey("secret"), "");

    SetupChoices choices;
    choices.direction = bench->direction();
    choices.termBaseName = outsideName();
    choices.sentenceLibraryName = outsideName();
    EXPECT_EQ(applySetupChoices(*bench, choices).kind(), ErrorKind::Refused);
    EXPECT_EQ(bench->settings.curZyname, termBase);
    EXPECT_EQ(bench->settings.curLiJuKuname, library);
}

TEST_F(LibraryNameChoiceTest, ATypedNameKeepsOnlyAPlainStem) {
    LibraryInfo info;
    info.fileName = "a:b";  // a drive prefix on another system
    Result<std::string> refused = createSentenceLibrary(*bench, info);
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.status().message(), kNotPlainLibraryName);
    EXPECT_FALSE(fs.exists(home.file("userdata/a:b.rf0")));

    // A typed path keeps its last part, made in the user-data folder.
    info.fileName = outside.file("made.txt");
    Result<std::string> made = createSentenceLibrary(*bench, info);
    ASSERT_TRUE(made) << made.status().message();
    EXPECT_EQ(*made, "made");
    EXPECT_TRUE(fs.exists(home.file("userdata/made.rf0")));
    EXPECT_FALSE(fs.exists(outside.file("made.rf0")));
}

}  // namespace
}  // namespace tavricat
