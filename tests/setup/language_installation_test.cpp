// The language choice's file work: what is offered, what OK installs and removes, and how failures end.
#include "setup/core/language_installation.h"

#include "handheld/files.h"
#include "tests/setup/installed_package.h"

using namespace pravon;
using setup_test::kFolder;
using setup_test::kWindows;

namespace {

class LanguageInstallationTest : public setup_test::InstalledPackage {
protected:
    LanguageInstallation installation_{u"\\Program Files\\Orvane"};
};

TEST_F(LanguageInstallationTest, OffersTheProgramsLanguagesAndEnglishHelpFirst) {
    PutUsualPackage();
    Put(kFolder, u"Deutsch.Alt.ln1", "old");
    Put(kWindows, u"Dutch.zanthht1", "dutch help");
    ASSERT_FALSE(installation_.FindOffer());
    EXPECT_EQ(installation_.AppName(), u"Orvane");
    EXPECT_EQ(installation_.InstallDir(), u"\\Program Files\\Orvane\\");
    EXPECT_EQ(installation_.UiLanguages(), (std::vector<std::u16string>{u"Deutsch", u"English", u"German"}));
    EXPECT_EQ(installation_.HelpLanguages(), (std::vector<std::u16string>{u"English", u"Dutch", u"German"}));
}

TEST_F(LanguageInstallationTest, AppNameEndsAtTheFirstDotAfterTheFirstCharacter) {
    const struct {
        std::u16string_view file;
        std::u16string_view appName;
    } cases[] = {{u"Orvane.exe", u"Orvane"}, {u"Orvane.v2.exe", u"Orvane"}, {u".remote.exe", u".remote"}};
    for (const auto& c : cases) EXPECT_EQ(BaseName(c.file), c.appName);

    Put(kFolder, u"Remote.v3.exe", "program");
    Put(kFolder, u"English.ln1", "english texts");
    ASSERT_FALSE(installation_.FindOffer());
    EXPECT_EQ(installation_.AppName(), u"Remote");
    ASSERT_FALSE(installation_.Install(kEnglish, kEnglish));
    EXPECT_EQ(Read(kFolder, u"Remote.lng"), "english texts");
}

TEST_F(LanguageInstallationTest, MissingProgramOrLanguagesEndTheInstallerWithTheirMessage) {
    auto failure = installation_.FindOffer();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, messages::kNoApplicationName);
    EXPECT_TRUE(failure->endsInstaller);

    Put(kFolder, u"Orvane.exe", "program");
    Put(kWindows, u"German.zanthht1", "german help");
    failure = installation_.FindOffer();
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message,
              u"Error!\nCouldn't retrieve languages!\nPlease, reinstall the application or contact out technical "
              u"support!");
    EXPECT_TRUE(failure->endsInstaller);
}

TEST_F(LanguageInstallationTest, EnglishHelpCopiesNoHelpFileAndEveryChoiceFileGoes) {
    PutUsualPackage();
    ASSERT_FALSE(installation_.FindOffer());
    ASSERT_FALSE(installation_.Install(u"German", kEnglish));
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "german texts");
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "english help");
    for (auto name : {u"English.ln1", u"German.ln1"}) EXPECT_FALSE(Exists(kFolder, name));
    EXPECT_FALSE(Exists(kWindows, u"German.zanthht1"));
    EXPECT_TRUE(Exists(kFolder, u"Orvane.exe"));
}

TEST_F(LanguageInstallationTest, GermanHelpReplacesTheProgramsHelpFile) {
    PutUsualPackage();
    ASSERT_FALSE(installation_.FindOffer());
    ASSERT_FALSE(installation_.Install(u"German", u"German"));
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "german texts");
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "german help");
    EXPECT_FALSE(Exists(kWindows, u"German.zanthht1"));
}

TEST_F(LanguageInstallationTest, NoHelpFilesToDeleteIsTheNormalEndOfAnEnglishOnlyPackage) {
    Put(kFolder, u"Orvane.exe", "program");
    Put(kFolder, u"English.ln1", "english texts");
    ASSERT_FALSE(installation_.FindOffer());
    EXPECT_EQ(installation_.HelpLanguages(), std::vector<std::u16string>{u"English"});
    EXPECT_FALSE(installation_.Install(kEnglish, kEnglish));
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "english texts");
    EXPECT_FALSE(Exists(kFolder, u"English.ln1"));
}

TEST_F(LanguageInstallationTest, AFailedCopyDeletesNothingAndCanBeTriedAgain) {
    PutUsualPackage();
    ASSERT_FALSE(installation_.FindOffer());
    handheld::SetWriteFailureAfterBytes(0);
    const auto failure = installation_.Install(u"German", u"German");
    handheld::SetWriteFailureAfterBytes(std::nullopt);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, messages::kLanguageCopyFailed);
    EXPECT_FALSE(failure->endsInstaller);
    for (auto name : {u"English.ln1", u"German.ln1"}) EXPECT_TRUE(Exists(kFolder, name));
    EXPECT_TRUE(Exists(kWindows, u"German.zanthht1"));

    ASSERT_FALSE(installation_.Install(u"German", u"German"));
    EXPECT_EQ(Read(kFolder, u"Orvane.lng"), "german texts");
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "german help");
}

TEST_F(LanguageInstallationTest, AHelpLanguageWhoseFileIsMissingKeepsEveryFile) {
    // The list cuts names at their first dot, so this help file is offered under a name it does not have.
    PutUsualPackage();
    Put(kWindows, u"Chinese.Simplified.zanthht1", "chinese help");
    ASSERT_FALSE(installation_.FindOffer());
    const auto failure = installation_.Install(kEnglish, u"Chinese");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->message, messages::kHelpCopyFailed);
    EXPECT_FALSE(failure->endsInstaller);
    EXPECT_TRUE(Exists(kFolder, u"English.ln1"));
    EXPECT_TRUE(Exists(kWindows, u"Chinese.Simplified.zanthht1"));
    EXPECT_EQ(Read(kWindows, u"Orvane.htm"), "english help");
}

TEST(LanguageDefaults, EnglishWhereverItIsElseTheFirst) {
    EXPECT_EQ(DefaultEntry({u"Dutch", u"English", u"German"}), 1);
    EXPECT_EQ(DefaultEntry({u"Dutch", u"german", u"english"}), 0) << "the comparison is exact";
    EXPECT_EQ(DefaultEntry({}), -1);
}

}  // namespace
