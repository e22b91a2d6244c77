// The exit question and EndProgram.
#include "shell/Exit.h"

#include "resources/FormTexts.h"
#include "shell/Tray.h"

#include <windows.h>

namespace lumorra::shell {

bool ConfirmExit() {
    // No owner and task-modal: every window of the program is disabled until it is answered, while
    // its loop goes on delivering the timer, so the cycle keeps counting behind it.
    return MessageBoxW(nullptr, texts::ui::kExitQuestion, texts::ui::kExitCaption,
                       MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) == IDYES;
}

void EndProgram(Tray* tray) {
    // No window handler runs from here on; only the icon must not outlive the process.
    if (tray) tray->RemoveTrayIcon();
    ExitProcess(0);
}

} // namespace lumorra::shell
