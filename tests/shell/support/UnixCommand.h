// X-level actions for Windows tests under Wine: running Linux commands (xdotool above all) from the test.
//
// Why this works: Wine 8's CreateProcess starts a Linux executable when given its Unix path ("/bin/sh ..."),
// with the Windows-style command line split into argv as CommandLineToArgvW would. But it hands back no
// process handle (hProcess is null, the process id 0), so nobody can wait for it or read its exit code. RunUnix
// therefore starts /bin/sh, which runs the command and writes its output and exit status into files in the
// test's temporary directory; RunUnix waits for the status file. On real Windows, or a Wine that no longer does
// this, RunUnix returns nullopt.
//
// Wine-global hot keys (RegisterHotKey) react to X key events that reach a Wine window holding the X focus, not
// to SendInput: give the program's window the focus (BringToForeground) and then RunXdotool("key alt+F1").
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace lumorra::test {

struct UnixResult {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

// True when this process runs under Wine.
bool RunningUnderWine();

// Runs a /bin/sh command line (UTF-8) on the Linux side in the environment of the test (DISPLAY, PATH, ...),
// with no standard input, and waits for it. nullopt when it could not be started or did not end in time.
std::optional<UnixResult> RunUnix(std::string_view shellCommand,
                                  std::chrono::milliseconds timeout = std::chrono::seconds(20));

// Starts a long-running Linux command (say, a tray host) detached from the test's output and returns its Unix
// process id, for StopUnix. nullopt when it could not be started.
std::optional<int> StartUnix(std::string_view shellCommand);
// Ends a process started by StartUnix (SIGTERM) and waits until it has gone. True when it has.
bool StopUnix(int unixProcessId, std::chrono::milliseconds timeout = std::chrono::seconds(5));

// RunUnix("xdotool " + arguments), e.g. RunXdotool("key alt+F1"). Arguments are passed to the shell as they
// are: quote what needs quoting.
std::optional<UnixResult> RunXdotool(std::string_view arguments,
                                     std::chrono::milliseconds timeout = std::chrono::seconds(20));

} // namespace lumorra::test
