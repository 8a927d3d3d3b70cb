#pragma once

#include <memory>
#include <string>
#include <vector>

// The registry backends that the store scenarios run on: each gives a fresh, empty current
// user's hive for one test and takes it away again afterwards.
namespace kivrel::test {

class StoreBackend {
public:
    virtual ~StoreBackend() = default;
    // Whether a key exists, found without creating it.
    virtual bool KeyExists(const std::string& absolutePath) const = 0;
};

struct StoreBackendKind {
    const char* name;
    std::unique_ptr<StoreBackend> (*make)();
};

// The backends of this platform.
std::vector<StoreBackendKind> StoreBackends();

}  // namespace kivrel::test
