// The handheld home, its paths, profile, module name and message boxes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "handheld/files.h"
#include "handheld/home.h"
#include "handheld/messagebox.h"
#include "handheld/profile.h"
#include "handheld/registry.h"
#include "handheld/text.h"
#include "tests/support/test_home.h"

namespace fs = std::filesystem;
using namespace handheld;
using orvane_test::Bytes;
using orvane_test::TestHome;

namespace {

std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteHostFile(const fs::path& path, std::string_view text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// A temporary folder removed at the end of the test.
class TemporaryFolder {
public:
    TemporaryFolder() {
        std::string pattern = (fs::temp_directory_path() / "orvane-package-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary folder");
        path_ = pattern;
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const fs::path& Path() const { return path_; }

private:
    fs::path path_;
};

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment() {
        if (previous_)
            setenv(name_, previous_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

}  // namespace

TEST(HandheldPaths, ResolvesExistingComponentsIgnoringCase) {
    TestHome home;
    const struct {
        std::u16string_view handheld;
        fs::path host;
    } cases[] = {
        {u"\\", home.Storage()},
        {u"\\program files\\ORVANE\\devices", home.Storage() / "Program Files" / "Orvane" / "Devices"},
        {u"\\Windows\\", home.Storage() / "Windows"},
        {u"\\MY DOCUMENTS\\\\", home.Storage() / "My Documents"},
        {u"\\windows\\New Folder\\File.TXT", home.Storage() / "Windows" / "New Folder" / "File.TXT"},
    };
    for (const auto& c : cases) {
        const auto host = HostPath(c.handheld);
        ASSERT_TRUE(host.has_value()) << ToUtf8(c.handheld);
        EXPECT_EQ(*host, c.host) << ToUtf8(c.handheld);
    }
}

TEST(HandheldPaths, RefusesPathsTheHandheldCannotName) {
    TestHome home;
    const std::u16string cases[] = {
        u"",
        u"Windows",
        u"\\..",
        u"\\Windows\\..\\..\\outside",
        u"\\.\\Windows",
        u"\\Windows\\a/b",
        u"\\Windows\\a:b",
        u"\\Windows\\a*b",
        u"\\Windows\\a?b",
        u"\\Windows\\a<b",
        u"\\Windows\\a|b",
        u"\\Windows\\a\"b",
        std::u16string(u"\\Windows\\a") + char16_t(1) + u"b",
        std::u16string(u"\\Windows\\a") + char16_t(0xD800) + u"b",
    };
    for (const auto& path : cases) {
        EXPECT_FALSE(HostPath(path).has_value()) << ToUtf8(path);
        SetLastError(0);
        EXPECT_EQ(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE)
            << ToUtf8(path);
        EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND) << ToUtf8(path);
    }
    EXPECT_FALSE(fs::exists(home.Directory() / "outside"));
}

TEST(HandheldPaths, LinkLeadingOutOfTheStorageIsRefused) {
    TestHome home;
    TemporaryFolder outside;
    WriteHostFile(outside.Path() / "secret.txt", "secret");
    fs::create_directory_symlink(outside.Path(), home.Storage() / "Windows" / "link");
    EXPECT_FALSE(HostPath(u"\\Windows\\link\\secret.txt").has_value());
    EXPECT_EQ(CreateFileW(u"\\Windows\\link\\secret.txt", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(HandheldHome, NewHomeHasStorageRegistryAndProfileButNoProgram) {
    TemporaryFolder parent;
    const fs::path home = parent.Path() / "home";
    ASSERT_TRUE(OpenHome(home));

    for (const char* folder : {"Windows", "My Documents", "Program Files/Orvane/Devices"}) {
        EXPECT_TRUE(fs::is_directory(home / "storage" / folder)) << folder;
    }
    EXPECT_EQ(ReadHostFile(home / "registry.reg"), DefaultRegistryText());
    EXPECT_EQ(ReadHostFile(home / "profile.ini"), FormatProfile(HandheldProfile{}));
    EXPECT_TRUE(fs::is_empty(home / "storage" / "Program Files" / "Orvane" / "Devices"));
    EXPECT_FALSE(ProgramInstalled()) << "the programs that make a home install the program through the installer";
}

TEST(HandheldHome, ProgramInstalledFollowsTheModuleFile) {
    TemporaryFolder parent;
    TestHome home(parent.Path() / "no-such-package");
    EXPECT_FALSE(ProgramInstalled());
    fs::create_directories(home.Storage() / "Program Files" / "Orvane" / "Orvane.exe");
    EXPECT_FALSE(ProgramInstalled()) << "a folder of that name is no program";
    fs::remove(home.Storage() / "Program Files" / "Orvane" / "Orvane.exe");
    WriteHostFile(home.Storage() / "Program Files" / "Orvane" / "orvane.EXE", "module");
    EXPECT_TRUE(ProgramInstalled());
}

TEST(HandheldHome, TestHomeGetsThePackageInstalledInEnglish) {
    TemporaryFolder package;
    WriteHostFile(package.Path() / "Orvane.exe", "module");
    WriteHostFile(package.Path() / "English.ln1", "english strings");
    WriteHostFile(package.Path() / "German.ln1", "german strings");
    WriteHostFile(package.Path() / "Devices" / "Demo.kdr", "demo");
    TestHome home(package.Path());

    EXPECT_TRUE(ProgramInstalled());
    EXPECT_EQ(home.ReadFile(u"\\Program Files\\Orvane\\Devices\\Demo.kdr"), Bytes("demo"));
    EXPECT_EQ(home.ReadFile(u"\\Program Files\\Orvane\\Orvane.lng"), Bytes("english strings"));
    EXPECT_FALSE(fs::exists(home.Storage() / "Program Files" / "Orvane" / "German.ln1"));
}

TEST(HandheldHome, MissingPackageGivesAHomeWithoutProgramFiles) {
    TemporaryFolder parent;
    TestHome home(parent.Path() / "no-such-package");
    EXPECT_TRUE(fs::is_directory(home.Storage() / "Program Files" / "Orvane" / "Devices"));
    EXPECT_FALSE(fs::exists(home.Storage() / "Program Files" / "Orvane" / "Orvane.lng"));
    EXPECT_TRUE(fs::exists(home.Directory() / "registry.reg"));
}

TEST(HandheldHome, ReopeningKeepsWhatTheUserChanged) {
    TemporaryFolder package;
    WriteHostFile(package.Path() / "Devices" / "Demo.kdr", "demo");
    TestHome home(package.Path());
    ASSERT_TRUE(DeleteFileW(u"\\Program Files\\Orvane\\Devices\\Demo.kdr"));
    WriteHostFile(home.Directory() / "profile.ini", "orientation=landscape\n");

    ASSERT_TRUE(OpenHome(home.Directory()));
    EXPECT_FALSE(fs::exists(home.Storage() / "Program Files" / "Orvane" / "Devices" / "Demo.kdr"));
    EXPECT_EQ(ReadHostFile(home.Directory() / "profile.ini"), "orientation=landscape\n");
    EXPECT_EQ(Profile().orientationAtStart, Orientation::Landscape);
}

TEST(HandheldHome, SwitchingHomesRereadsTheProfile) {
    TestHome first;
    WriteHostFile(first.Directory() / "profile.ini", "led_count=3\n");
    ASSERT_TRUE(OpenHome(first.Directory()));
    EXPECT_EQ(Profile().ledCount, 3);
    TestHome second;  // opens itself
    EXPECT_EQ(Profile().ledCount, HandheldProfile{}.ledCount);
    EXPECT_EQ(HomeDirectory(), second.Directory());
}

TEST(HandheldHome, OpenHomeOnAFileFailsWithAReason) {
    TemporaryFolder parent;
    WriteHostFile(parent.Path() / "plain-file", "x");
    std::string reason;
    EXPECT_FALSE(OpenHome(parent.Path() / "plain-file", &reason));
    EXPECT_FALSE(reason.empty());
}

TEST(HandheldHome, TakeHandheldOptionRemovesTheOption) {
    const struct {
        std::vector<std::string> arguments;
        std::optional<std::string> folder;  // nullopt: the default home
        std::vector<std::string> rest;
    } cases[] = {
        {{"prog", "--handheld", "/x/home", "file.kdr"}, "/x/home", {"prog", "file.kdr"}},
        {{"prog", "-v", "--handheld=/y"}, "/y", {"prog", "-v"}},
        {{"prog", "a", "b"}, std::nullopt, {"prog", "a", "b"}},
        {{"prog", "--handheld"}, std::nullopt, {"prog"}},
        {{"prog", "--handheldx"}, std::nullopt, {"prog", "--handheldx"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> storage = c.arguments;
        std::vector<char*> argv;
        for (auto& argument : storage) argv.push_back(argument.data());
        argv.push_back(nullptr);
        int argc = static_cast<int>(storage.size());
        const fs::path chosen = TakeHandheldOption(argc, argv.data());
        EXPECT_EQ(chosen, c.folder ? fs::path(*c.folder) : DefaultHomeDirectory()) << c.arguments.back();
        std::vector<std::string> rest(argv.begin(), argv.begin() + argc);
        EXPECT_EQ(rest, c.rest);
        EXPECT_EQ(argv[argc], nullptr);
    }
}

TEST(HandheldHome, DefaultHomeHonoursXdgDataHome) {
    {
        ScopedEnvironment xdg("XDG_DATA_HOME", "/data/share");
        EXPECT_EQ(DefaultHomeDirectory(), fs::path("/data/share/orvane/handheld"));
    }
    ScopedEnvironment home("HOME", "/home/someone");
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/path"}) {
        ScopedEnvironment xdg("XDG_DATA_HOME", ignored);
        EXPECT_EQ(DefaultHomeDirectory(), fs::path("/home/someone/.local/share/orvane/handheld"));
    }
}

TEST(HandheldHome, ModuleFileNameIsCutAsWin32Does) {
    const std::u16string full(kProgramModulePath);
    const auto length = static_cast<DWORD>(full.size());
    const struct {
        DWORD size;
        DWORD result;
        DWORD error;
        std::u16string text;
    } cases[] = {
        {1, 1, ERROR_INSUFFICIENT_BUFFER, u""},
        {4, 4, ERROR_INSUFFICIENT_BUFFER, full.substr(0, 3)},
        {length, length, ERROR_INSUFFICIENT_BUFFER, full.substr(0, length - 1)},
        {length + 1, length, ERROR_SUCCESS, full},
        {MAX_PATH, length, ERROR_SUCCESS, full},
    };
    for (const auto& c : cases) {
        std::vector<char16_t> buffer(c.size + 1, u'#');
        SetLastError(12345);
        EXPECT_EQ(GetModuleFileNameW(nullptr, buffer.data(), c.size), c.result) << c.size;
        EXPECT_EQ(GetLastError(), c.error) << c.size;
        EXPECT_EQ(std::u16string(buffer.data()), c.text) << c.size;
        EXPECT_EQ(buffer[c.size], u'#') << "wrote past the buffer of " << c.size;
    }
    char16_t untouched = u'#';
    EXPECT_EQ(GetModuleFileNameW(nullptr, &untouched, 0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(untouched, u'#');
}

TEST(HandheldProfile, FormatAndParseRoundTrip) {
    HandheldProfile profile;
    profile.processorCore = u"ARM";
    profile.processorName = u"SA1110";
    profile.ledCount = 2;
    profile.orientationAtStart = Orientation::Landscape;
    profile.timerClock = TimerClock::Virtual;
    const HandheldProfile parsed = ParseProfile(FormatProfile(profile));
    EXPECT_EQ(parsed.processorCore, profile.processorCore);
    EXPECT_EQ(parsed.processorName, profile.processorName);
    EXPECT_EQ(parsed.ledCount, 2);
    EXPECT_EQ(parsed.orientationAtStart, Orientation::Landscape);
    EXPECT_EQ(parsed.timerClock, TimerClock::Virtual);
}

TEST(HandheldProfile, DamagedLinesKeepTheirDefaults) {
    const HandheldProfile defaults;
    const char* cases[] = {
        "",
        "garbage without equals\n\x01\x02\xff",
        "led_count=-1\norientation=sideways\ntimer_clock=fast\n",
        "led_count=3x\nprocessor_name=\n",
        "led_count=99999999999999999999\n",
        "[section]\n; comment\n# comment\nunknown=1\n",
    };
    for (const char* text : cases) {
        const HandheldProfile parsed = ParseProfile(text);
        EXPECT_EQ(parsed.processorName, defaults.processorName) << text;
        EXPECT_EQ(parsed.ledCount, defaults.ledCount) << text;
        EXPECT_EQ(parsed.orientationAtStart, defaults.orientationAtStart) << text;
        EXPECT_EQ(parsed.timerClock, defaults.timerClock) << text;
    }
    const HandheldProfile spaced = ParseProfile("  processor_name = PXA270 \r\nled_count=0\r\n");
    EXPECT_EQ(spaced.processorName, u"PXA270");
    EXPECT_EQ(spaced.ledCount, 0);
}

TEST(HandheldProfile, SetProfileOverridesTheHomesFile) {
    TestHome home;
    HandheldProfile chosen;
    chosen.timerClock = TimerClock::Virtual;
    chosen.processorName = u"PXA270";
    SetProfile(chosen);
    EXPECT_EQ(Profile().timerClock, TimerClock::Virtual);
    EXPECT_EQ(Profile().processorName, u"PXA270");
    EXPECT_EQ(ReadHostFile(home.Directory() / "profile.ini"), FormatProfile(HandheldProfile{}));
    ResetProfile();
    EXPECT_EQ(Profile().timerClock, HandheldProfile{}.timerClock);
}

TEST(HandheldMessageBox, GoesToThePresenterWithItsRequest) {
    orvane_test::MessageBoxRecorder recorder;
    recorder.QueueAnswer(IDNO);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(MessageBoxW(owner, u"Delete it?", u"Warning", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, nullptr, nullptr, MB_OK), IDOK);
    ASSERT_EQ(recorder.Shown().size(), 2u);
    EXPECT_EQ(recorder.Shown()[0].owner, owner);
    EXPECT_EQ(recorder.Shown()[0].text, u"Delete it?");
    EXPECT_EQ(recorder.Shown()[0].caption, u"Warning");
    EXPECT_EQ(recorder.Shown()[0].flags, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(recorder.Shown()[1].text, u"");
    EXPECT_EQ(recorder.Shown()[1].caption, u"");
}

TEST(HandheldMessageBox, SetPresenterReturnsThePreviousOne) {
    const MessageBoxPresenter original = SetMessageBoxPresenter([](const MessageBoxRequest&) { return 41; });
    const MessageBoxPresenter first = SetMessageBoxPresenter([](const MessageBoxRequest&) { return 42; });
    ASSERT_TRUE(first);
    EXPECT_EQ(first(MessageBoxRequest{}), 41);
    EXPECT_EQ(MessageBoxW(nullptr, u"t", u"c", MB_OK), 42);
    SetMessageBoxPresenter(nullptr);  // back to the default
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxW(nullptr, u"t", u"c", MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "c: t\n");
    SetMessageBoxPresenter(original);
}

TEST(HandheldMessageBox, DefaultPresenterPrintsAndAnswersAsTheUserWould) {
    const struct {
        UINT flags;
        int answer;
    } cases[] = {
        {MB_OK, IDOK},           {MB_OKCANCEL | MB_ICONWARNING, IDOK}, {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNOCANCEL, IDYES}, {MB_OK | MB_ICONERROR, IDOK},
    };
    for (const auto& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ(MessageBoxW(nullptr, u"Can\u2019t find record", u"Error", c.flags), c.answer) << c.flags;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error: Can\xE2\x80\x99t find record\n");
    }
}
