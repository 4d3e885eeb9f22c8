#include "app/shell/button_command.h"

#include <string>

#include "app/ir/send_command.h"
#include "app/shell/app_state.h"
#include "app/shell/messages.h"

void SendButtonCommand(const char16_t* buttonName) {
    AppState& app = TheAppState();
    SendButtonCommand(app, buttonName ? std::u16string_view(buttonName) : std::u16string_view(app.pressedName));
}

void SendButtonCommand(AppState& app, std::u16string_view button) {
    if (const auto problem = SendCommandOfButton(app.device, app.CurrentDeviceSettings(), button)) {
        ShowProblem(app.mainWindow, *problem);
    }
}
