#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "base/path.h"
#include "base/readfile.h"

// The folder of the program's own files for the current user and the few file operations
// that its files need besides the safe write.
namespace kivrel {

// The folder as the system names it: $XDG_CONFIG_HOME/kivrel (default ~/.config/kivrel),
// where the store file lives; on Windows "Kivrel" in the user's roaming application-data
// folder. nullopt when the system names no home for it.
std::optional<tPath> StoreFolderPath();

// The same folder, created when missing; nullopt when there is none or it cannot be made.
std::optional<tPath> StoreFolder();

// An exclusive lock on a lock file of its own, held while the object lives; the system
// drops it also when the process dies.
class FileLock {
public:
    // Waits at most wait for another holder; zero gives up at once.
    FileLock(const tPath& path, std::chrono::milliseconds wait);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;
};

// Removes the file; true when it is gone, also when it was never there.
bool RemoveFile(const tPath& path);

// Gives file a further name beside it that nothing has yet, "<file>.<tag>-20250315-142233"
// (then "-2", "-3", ...): moved there, or with keep, also there while it stays in place (a
// second link; on Windows a copy). Never replaces an existing file. The new name, or nullopt.
std::optional<tPath> SetAside(const tPath& file, const char* tag, bool keep);

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

// The backend's parts of StoreFolder and SetAside: the folder with any missing parents made
// (true when it is there), and one attempt at the name target.
bool MakeFolders(const tPath& folder);
enum class FurtherName { Given, Taken, Failed };
FurtherName GiveFurtherName(const tPath& file, const tPath& target, bool keep);

}  // namespace kivrel
