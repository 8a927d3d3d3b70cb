#pragma once

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "details/registry.h"

// The registry backends that the store scenarios run on: each gives a fresh, empty current
// user's hive for one test and takes it away again afterwards.
namespace kivrel::test {

class StoreBackend {
public:
    virtual ~StoreBackend() = default;
    // Both look past the seam at what the store itself holds. Their paths are plain and
    // below the hive ("Software\NORDALKE"), so that they check where the program's
    // absolute key names land.

    // Whether a key exists, found without creating it.
    virtual bool KeyExists(const std::string& path) const = 0;
    // Type and bytes of a value; nullopt when the key or value is missing.
    virtual std::optional<std::pair<RegType, std::string>> StoredValue(
        const std::string& path, const std::string& name) const = 0;
};

struct StoreBackendKind {
    const char* name;
    std::unique_ptr<StoreBackend> (*make)();
};

// The backends of this platform.
std::vector<StoreBackendKind> StoreBackends();

}  // namespace kivrel::test
