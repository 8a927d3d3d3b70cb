#include <windows.h>

#include "app/runningmark.h"

namespace kivrel {

// The installer's script (kivrel.nsi.in) opens the same name. Local: the program is
// installed for one user, whose own session is what matters.
constexpr wchar_t kRunningMarkName[] = L"Local\\Kivrel.Running";

// Several running programs each hold a handle to the one mutex; it is gone with the last.
// A program that could not make it runs all the same: the mark only protects an update.
tRunningMark::tRunningMark() : handle_(CreateMutexW(nullptr, FALSE, kRunningMarkName)) {}

tRunningMark::~tRunningMark() {
    if (handle_ != nullptr)
        CloseHandle(handle_);
}

}  // namespace kivrel
