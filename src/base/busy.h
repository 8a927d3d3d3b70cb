#pragma once

#include <functional>

namespace kivrel {

// Shows the hour-glass while it lives and puts the cursor back on every path. The UI
// installs what that means for its windows; without it nothing is shown.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// busy(true) when a BusyScope begins, busy(false) when it ends.
void InstallBusyIndicator(std::function<void(bool busy)> indicator);

// Called again and again while the program waits on another program: the UI repaints its
// windows there (taking no input), so a long wait does not look like a hang.
void KeepResponsive();
void InstallKeepResponsive(std::function<void()> handler);

}  // namespace kivrel
