#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Starting the desktop's helper programs (xdg-email, xdg-open, xdg-mime, dbus-send) on
// Linux: by their argument vectors, never through a shell.
namespace kivrel {

// Runs args[0], looked up on PATH, collects its standard output (its errors are silenced)
// and waits for it. Returns its exit code (128 + the signal that ended it), or -1 when it
// could not be started.
int RunProgram(const std::vector<std::string>& args, std::string& output);

// Starts args[0], its output silenced, and waits at most wait for it to end, showing the busy
// cursor and keeping the windows painted meanwhile. Returns its exit code, -1 when it could not be
// started, or nullopt when it still runs: it is then left to run on, and its end is collected.
std::optional<int> RunProgramForAWhile(const std::vector<std::string>& args,
                                       std::chrono::milliseconds wait);

}  // namespace kivrel
