#include "base/busy.h"

namespace kivrel {

namespace {

std::function<void(bool)>& Indicator() {
    static std::function<void(bool)> indicator;
    return indicator;
}

std::function<void()>& Responsive() {
    static std::function<void()> handler;
    return handler;
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

void KeepResponsive() {
    if (Responsive())
        Responsive()();
}

void InstallKeepResponsive(std::function<void()> handler) {
    Responsive() = std::move(handler);
}

}  // namespace kivrel
