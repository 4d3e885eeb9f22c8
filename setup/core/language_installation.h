// The file work of the installer helper's language choice, without any window: what the "Language" dialog
// offers when it opens, and what its OK installs and removes. A failure comes back as the text to show.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravon {

// Message texts as the installer has always shown them (their wording, typos included, is kept as users know it).
namespace messages {
inline constexpr std::u16string_view kNoApplicationName =
    u"Error!\nCouldn't retrieve application name!\nPlease, reinstall the application or contact out technical "
    u"support!";
inline constexpr std::u16string_view kCloseApplicationSearch =
    u"Error!\nCouldn't close application name search handle!";
inline constexpr std::u16string_view kNoLanguages =
    u"Error!\nCouldn't retrieve languages!\nPlease, reinstall the application or contact out technical support!";
inline constexpr std::u16string_view kNextLanguage =
    u"Error!\nCouldn't get next language!\nPlease, reinstall the application or contact out technical support!";
inline constexpr std::u16string_view kCloseLanguageSearch = u"Error!\nCouldn't close languages search handle!";
inline constexpr std::u16string_view kNoLanguagesToDelete =
    u"Error!\nCouldn't retrieve languages to delete!\nPlease, reinstall the application or contact out technical "
    u"support!";
inline constexpr std::u16string_view kNextLanguageToDelete =
    u"Error!\nCouldn't get next language to delete!\nPlease, reinstall the application or contact our technical "
    u"support!";
inline constexpr std::u16string_view kCloseLanguageDeleteSearch =
    u"Error!\nCouldn't close languages delete search handle!";
inline constexpr std::u16string_view kNextHelpFileToDelete =
    u"Error!\nCouldn't get next help file to delete!\nPlease, reinstall the application or contact out technical "
    u"support!";
inline constexpr std::u16string_view kCloseHelpDeleteSearch = u"Error!\nCouldn't close help delete search handle!";
inline constexpr std::u16string_view kCancelNote =
    u"Note!\nTo change language settings, please, remove the program and install it again.";
// A copy that fails leaves every language and help file in place, so the user can press OK again.
inline constexpr std::u16string_view kLanguageCopyFailed =
    u"Error!\nCouldn't install the language file!\nPlease, press OK to try again or contact our technical support!";
inline constexpr std::u16string_view kHelpCopyFailed =
    u"Error!\nCouldn't install the help file!\nPlease, press OK to try again or contact our technical support!";
}  // namespace messages

// The caption of every message box of the installer helper.
inline constexpr std::u16string_view kCaption = u"Pravon";
// The help language that needs no file of its own: the package installs its help file directly.
inline constexpr std::u16string_view kEnglish = u"English";
inline constexpr std::u16string_view kHelpFolder = u"\\Windows\\";

// What to show after a failed step, and whether the installer ends after it (else the user may try again).
struct Failure {
    std::u16string message;
    bool endsInstaller = true;
};

class LanguageInstallation {
public:
    // installFolder: the handheld folder the package was installed to, with or without its final "\".
    explicit LanguageInstallation(std::u16string_view installFolder);

    // Finds the program's name (its "*.exe" up to the first ".") and the languages on offer.
    std::optional<Failure> FindOffer();

    // Copies the chosen language file over `appName`.lng (and, for a help language other than English, the
    // help file over `appName`.htm), then deletes every "*.ln1" and "*.zanthht1".
    std::optional<Failure> Install(std::u16string_view uiLanguage, std::u16string_view helpLanguage);

    const std::u16string& AppName() const { return appName_; }
    const std::u16string& InstallDir() const { return installDir_; }
    const std::vector<std::u16string>& UiLanguages() const { return uiLanguages_; }
    const std::vector<std::u16string>& HelpLanguages() const { return helpLanguages_; }

private:
    std::u16string installDir_;
    std::u16string appName_;
    std::vector<std::u16string> uiLanguages_;
    std::vector<std::u16string> helpLanguages_;
};

// The entry a list starts on and returns to with "Defaults": "English", else the first; -1 for an empty list.
int DefaultEntry(const std::vector<std::u16string>& entries);

// A file name up to its first "." looked for from the second character on (".profile.exe" keeps ".profile").
std::u16string BaseName(std::u16string_view fileName);

}  // namespace pravon
