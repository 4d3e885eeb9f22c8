#include "setup/core/language_installation.h"

#include <functional>

#include "handheld/files.h"
#include "handheld/text.h"
#include "handheld/trace.h"

namespace pravon {

namespace {

using namespace handheld;

constexpr std::u16string_view kLanguageExtension = u".ln1";
constexpr std::u16string_view kHelpExtension = u".zanthht1";

std::u16string LanguageName(std::u16string_view fileName) {
    return std::u16string(fileName.substr(0, fileName.find(u'.')));
}

enum class Search { Done, NoneFound, NextFailed, CloseFailed };

// Visits the files matching a pattern in the order found, as long as visit returns true. The search's own
// failures are told apart, because each has its own message.
Search VisitFiles(const std::u16string& pattern, const std::function<bool(std::u16string_view)>& visit) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return Search::NoneFound;
    Search outcome = Search::Done;
    while (visit(data.cFileName)) {
        if (!FindNextFileW(search, &data)) {
            if (GetLastError() != ERROR_NO_MORE_FILES) outcome = Search::NextFailed;
            break;
        }
    }
    if (!FindClose(search) && outcome == Search::Done) outcome = Search::CloseFailed;
    return outcome;
}

struct SearchMessages {
    std::u16string_view noneFound;
    std::u16string_view nextFailed;
    std::u16string_view closeFailed;
};

std::optional<Failure> FailureOf(Search outcome, const SearchMessages& messages) {
    switch (outcome) {
        case Search::Done:
            return std::nullopt;
        case Search::NoneFound:
            return Failure{std::u16string(messages.noneFound)};
        case Search::NextFailed:
            return Failure{std::u16string(messages.nextFailed)};
        case Search::CloseFailed:
            return Failure{std::u16string(messages.closeFailed)};
    }
    return std::nullopt;
}

// Deleting is not checked file by file: a file that stays behind does no harm to the installed program.
Search DeleteFiles(const std::u16string& folder, std::u16string_view extension) {
    return VisitFiles(folder + u"*" + std::u16string(extension), [&](std::u16string_view name) {
        const std::u16string path = folder + std::u16string(name);
        if (!DeleteFileW(path.c_str())) {
            HH_TRACE("files", "cannot delete %s (error %u)", ToUtf8(path).c_str(), unsigned(GetLastError()));
        }
        return true;
    });
}

}  // namespace

std::u16string BaseName(std::u16string_view fileName) {
    return std::u16string(fileName.substr(0, fileName.find(u'.', 1)));
}

int DefaultEntry(const std::vector<std::u16string>& entries) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == kEnglish) return static_cast<int>(i);
    }
    return entries.empty() ? -1 : 0;
}

LanguageInstallation::LanguageInstallation(std::u16string_view installFolder) : installDir_(installFolder) {
    if (installDir_.empty() || installDir_.back() != u'\\') installDir_ += u'\\';
}

std::optional<Failure> LanguageInstallation::FindOffer() {
    appName_.clear();
    uiLanguages_.clear();
    helpLanguages_.clear();

    const Search program = VisitFiles(installDir_ + u"*.exe", [&](std::u16string_view name) {
        appName_ = BaseName(name);
        return false;
    });
    if (auto failure = FailureOf(
            program, {messages::kNoApplicationName, messages::kNoApplicationName, messages::kCloseApplicationSearch})) {
        return failure;
    }

    const Search languages =
        VisitFiles(installDir_ + u"*" + std::u16string(kLanguageExtension), [&](std::u16string_view name) {
            uiLanguages_.push_back(LanguageName(name));
            return true;
        });
    if (auto failure =
            FailureOf(languages, {messages::kNoLanguages, messages::kNextLanguage, messages::kCloseLanguageSearch})) {
        return failure;
    }

    // The help files are optional: whatever the search finds is offered, and its failures end it quietly.
    helpLanguages_.emplace_back(kEnglish);
    VisitFiles(std::u16string(kHelpFolder) + u"*" + std::u16string(kHelpExtension), [&](std::u16string_view name) {
        helpLanguages_.push_back(LanguageName(name));
        return true;
    });
    return std::nullopt;
}

std::optional<Failure> LanguageInstallation::Install(std::u16string_view uiLanguage, std::u16string_view helpLanguage) {
    const std::u16string languageSource = installDir_ + std::u16string(uiLanguage) + std::u16string(kLanguageExtension);
    const std::u16string languageTarget = installDir_ + appName_ + u".lng";
    if (!CopyFileW(languageSource.c_str(), languageTarget.c_str(), FALSE)) {
        HH_TRACE("files", "cannot copy %s (error %u)", ToUtf8(languageSource).c_str(), unsigned(GetLastError()));
        return Failure{std::u16string(messages::kLanguageCopyFailed), false};
    }
    if (helpLanguage != kEnglish) {
        const std::u16string helpFolder(kHelpFolder);
        const std::u16string helpSource = helpFolder + std::u16string(helpLanguage) + std::u16string(kHelpExtension);
        const std::u16string helpTarget = helpFolder + appName_ + u".htm";
        if (!CopyFileW(helpSource.c_str(), helpTarget.c_str(), FALSE)) {
            HH_TRACE("files", "cannot copy %s (error %u)", ToUtf8(helpSource).c_str(), unsigned(GetLastError()));
            return Failure{std::u16string(messages::kHelpCopyFailed), false};
        }
    }

    if (auto failure = FailureOf(
            DeleteFiles(installDir_, kLanguageExtension),
            {messages::kNoLanguagesToDelete, messages::kNextLanguageToDelete, messages::kCloseLanguageDeleteSearch})) {
        return failure;
    }
    // An English-only package brings no help files: having none to delete is the normal end, not an error.
    const Search help = DeleteFiles(std::u16string(kHelpFolder), kHelpExtension);
    if (help == Search::NoneFound) return std::nullopt;
    return FailureOf(help, {u"", messages::kNextHelpFileToDelete, messages::kCloseHelpDeleteSearch});
}

}  // namespace pravon
