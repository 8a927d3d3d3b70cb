#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The folder of the program's own files for the current user and the few file operations
// that its files need besides the safe write. Paths are as the system spells them (on
// Windows, Windows-1252).
namespace kivrel {

// The folder, created when missing, with its trailing separator: $XDG_CONFIG_HOME/kivrel/
// (default ~/.config/kivrel/), where the store file lives; on Windows "Kivrel\" in the
// user's application-data folder. nullopt when there is none or it cannot be made.
std::optional<std::string> StoreFolder();

// An exclusive lock on a lock file of its own, held while the object lives; the system
// drops it also when the process dies.
class FileLock {
public:
    // Waits at most wait for another holder; zero gives up at once.
    FileLock(const std::string& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

enum class FileRead { Ok, Missing, Failed };

// The whole content of a plain file of at most limit bytes. Anything else under the name
// (a folder, a pipe, a larger file) fails without waiting.
FileRead ReadWholeFile(const std::string& path, std::string& bytes, std::size_t limit);

// Removes the file; true when it is gone, also when it was never there.
bool RemoveFile(const std::string& path);

// Gives file a further name beside it that nothing has yet, "<file>.<tag>-20250315-142233"
// (then "-2", "-3", ...): moved there, or with keep, also there while it stays in place (a
// second link; on Windows a copy). Never replaces an existing file. The new name, or nullopt.
std::optional<std::string> SetAside(const std::string& file, const char* tag, bool keep);

// The local date and time now.
struct tLocalTime {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
};
tLocalTime LocalNow();

// The backend's part of SetAside: one attempt at the name target.
enum class FurtherName { Given, Taken, Failed };
FurtherName GiveFurtherName(const std::string& file, const std::string& target, bool keep);

}  // namespace kivrel
