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

}  // namespace kivrel
