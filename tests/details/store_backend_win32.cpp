#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0600  // RegDeleteTreeA
#endif
#include <windows.h>

#include "details/registry.h"
#include "store_backend.h"

namespace kivrel::test {

namespace {

// The scenarios own the current user's QVTR key and wipe it before and after each test:
// run them in a scratch Wine prefix or a test account, never where real details live.
constexpr const char* kScratchKey = "Software\\NORDALKE\\QVTR";

class RegistryStore : public StoreBackend {
public:
    RegistryStore() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey); }
    ~RegistryStore() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey); }

    bool KeyExists(const std::string& absolutePath) const override {
        const auto path = RelativeKeyPath(absolutePath);
        HKEY key = nullptr;
        if (!path ||
            RegOpenKeyExA(HKEY_CURRENT_USER, path->c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return false;
        }
        RegCloseKey(key);
        return true;
    }
};

}  // namespace

std::vector<StoreBackendKind> StoreBackends() {
    return {{"Registry", [] { return std::unique_ptr<StoreBackend>(new RegistryStore); }}};
}

}  // namespace kivrel::test
