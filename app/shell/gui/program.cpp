#include "app/shell/gui/program.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#include "app/shell/gui/library_preview.h"
#include "app/shell/language_table.h"
#include "handheld/shell/desktop_frame.h"
#include "handheld/shell/input_recorder.h"
#include "handheld/shell/qt_message_box.h"

namespace {
handheld::HMODULE g_buttonLibrary = nullptr;
}

handheld::HMODULE ButtonLibrary() {
    return g_buttonLibrary;
}

int RunProgram() {
    const std::u16string& folder = GetProgramFolder();
    LanguageTable::Instance().LoadLanguageFile(folder + u"\\Orvane.lng");

    const auto buttonLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRBtnLib.dll");
    const auto helpLibrary = handheld::ResourceLibrary::Load(folder + u"\\KRHelpLib.dll");
    if (!buttonLibrary || !helpLibrary) {
        // Without its pictures the program cannot draw a single button. The handheld shows nothing; the host
        // console gets one line, as a home made before the libraries existed would otherwise just vanish.
        std::fprintf(stderr, "orvane: %s missing or damaged in the program folder; ending\n",
                     buttonLibrary ? "KRHelpLib.dll" : "KRBtnLib.dll");
        LanguageTable::Instance().Clear();
        return 0;
    }
    g_buttonLibrary = buttonLibrary.get();
    const auto previousPresenter = handheld::InstallQtMessageBoxPresenter();

    int exitCode = 0;
    {
        handheld::InputRecorder inputRecorder;
        handheld::DesktopFrame frame;
        LibraryPreview preview(buttonLibrary.get(), frame.Screen());
        frame.show();
        exitCode = QApplication::exec();
    }

    handheld::SetMessageBoxPresenter(previousPresenter);
    g_buttonLibrary = nullptr;
    LanguageTable::Instance().Clear();
    return exitCode;
}
