#include "app/shell/button_command.h"

#include <string>

#include "app/ir/send_command.h"
#include "app/shell/app_state.h"
#include "app/shell/messages.h"

void SendButtonCommand(const char16_t* buttonName) {
    AppState& app = TheAppState();
    const std::u16string button = buttonName ? std::u16string(buttonName) : app.pressedName;
    if (const auto problem = SendCommandOfButton(app.device, app.CurrentDeviceSettings(), button)) {
        ShowProblem(app.mainWindow, *problem);
    }
}
