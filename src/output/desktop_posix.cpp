#include <chrono>

#include "base/spawn_posix.h"
#include "output/desktop.h"
#include "output/mapiparts.h"

namespace kivrel {

namespace {

// xdg-open ends when the program it started has taken over, or with that program when it
// runs in the foreground; either way the desktop has it after a while.
constexpr auto kOpenWait = std::chrono::seconds(3);

bool Opened(const std::vector<std::string>& args) {
    const std::optional<int> code = RunProgramForAWhile(args, kOpenWait);
    return !code || *code == 0;
}

// The file's URI: its bytes percent-encoded where a URI, or dbus-send's comma-separated
// array, could not hold them.
std::string FileUri(const tPath& path) {
    return "file://" + PercentEncoded(path.native(), "/");
}

}  // namespace

bool OpenWithSystem(const tPath& file) {
    return Opened({"xdg-open", file.native()});
}

bool ShowInFileManager(const std::vector<tPath>& files) {
    if (files.empty())
        return false;
    // The file managers' common interface (Nautilus, Dolphin, Nemo, Caja, Thunar, ...)
    // selects the files; without one, the folder alone.
    std::string items = "array:string:";
    for (const tPath& file : files)
        items += (&file == &files.front() ? "" : ",") + FileUri(file);
    const std::optional<int> code =
        RunProgramForAWhile({"dbus-send", "--session", "--print-reply", "--reply-timeout=3000",
                             "--dest=org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
                             "org.freedesktop.FileManager1.ShowItems", items, "string:"},
                            std::chrono::seconds(4));
    if (code && *code == 0)
        return true;
    return Opened({"xdg-open", files.front().parent_path().native()});
}

bool OpenLink(const std::string& uri) {
    return Opened({"xdg-open", uri});
}

}  // namespace kivrel
