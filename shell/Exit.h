// The exit question and the program's own immediate end.
#pragma once

namespace lumorra::shell {

class Tray;

// "是否退出Lumorra": Yes or No, No the default, modal to the whole program. True on Yes.
bool ConfirmExit();

// The exit clean-up, then the end of the process with exit code 0. Does not return.
[[noreturn]] void EndProgram(Tray* tray);

} // namespace lumorra::shell
