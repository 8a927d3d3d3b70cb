#pragma once

namespace kivrel {

// Held for as long as the program runs, so that its installer and uninstaller can tell that
// they would replace or remove files in use: on Windows the named mutex they look for
// (kRunningMarkName), elsewhere nothing, as the Debian package's tools need no such sign.
class tRunningMark {
public:
    tRunningMark();
    ~tRunningMark();
    tRunningMark(const tRunningMark&) = delete;
    tRunningMark& operator=(const tRunningMark&) = delete;

private:
    [[maybe_unused]] void* handle_ = nullptr;  // the mutex; unused where there is no mark
};

}  // namespace kivrel
