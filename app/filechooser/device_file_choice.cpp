#include "app/filechooser/device_file_choice.h"

#include "app/filechooser/file_chooser.h"
#include "app/model/program_folder.h"
#include "handheld/shell/hwnd.h"

namespace {

constexpr char16_t kDeviceFilter[] = u"Remote devices(*.kdr)\0*.kdr\0";

}  // namespace

QString ChooseDeviceFile(QWidget* owner) {
    const std::u16string& programFolder = GetProgramFolder();
    const std::u16string start = programFolder.empty() ? u"\\Windows" : programFolder + u"\\Devices";
    char16_t chosen[handheld::MAX_PATH] = {};
    handheld::DWORD capacity = handheld::MAX_PATH;
    FileChooserRequest request;
    request.owner = handheld::ToHwnd(owner);
    request.initialFolder = start.c_str();
    request.filter = kDeviceFilter;
    request.result = chosen;
    request.resultCapacity = &capacity;
    if (!ChooseFile(request, u"Name", u"Type", u"Path", u"Open", u"Cancel", u"Size", u"Date")) return {};
    return QString::fromUtf16(chosen);
}
