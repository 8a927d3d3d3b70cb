#include "details/storefolder.h"

#include <cstdio>

namespace kivrel {

std::optional<tPath> StoreFolder() {
    auto folder = StoreFolderPath();
    if (!folder || !MakeFolders(*folder))
        return std::nullopt;
    return folder;
}

std::optional<tPath> SetAside(const tPath& file, const char* tag, bool keep) {
    const tLocalTime now = LocalNow();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.Year, now.Month, now.Day,
                  now.Hour, now.Minute, now.Second);
    for (int n = 1; n < 1000; ++n) {
        tPath target = file;
        target += std::string(".") + tag + "-" + stamp;
        if (n > 1)
            target += "-" + std::to_string(n);
        switch (GiveFurtherName(file, target, keep)) {
            case FurtherName::Given:
                return target;
            case FurtherName::Failed:
                return std::nullopt;
            case FurtherName::Taken:
                break;
        }
    }
    return std::nullopt;
}

}  // namespace kivrel
