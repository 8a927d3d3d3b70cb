#include "base/busy.h"

namespace kivrel {

namespace {

std::function<void(bool)>& Indicator() {
    static std::function<void(bool)> indicator;
    return indicator;
}

}  // namespace

BusyScope::BusyScope() {
    if (Indicator())
        Indicator()(true);
}

BusyScope::~BusyScope() {
    if (Indicator())
        Indicator()(false);
}

void InstallBusyIndicator(std::function<void(bool busy)> indicator) {
    Indicator() = std::move(indicator);
}

}  // namespace kivrel
