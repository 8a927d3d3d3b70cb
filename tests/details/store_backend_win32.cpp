#include "store_backend.h"
#include "windows/win32_test.h"

namespace kivrel::test {

namespace {

// The scenarios own the current user's NORDALKE key and wipe it before and after each test,
// so that a load has to create the missing parents too: run them in a scratch Wine prefix
// or a test account, never where real details live.
constexpr const char* kScratchKey = "Software\\NORDALKE";

class OpenKey {
public:
    explicit OpenKey(const std::string& path) {
        if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~OpenKey() {
        if (key_)
            RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

class RegistryStore : public StoreBackend {
public:
    RegistryStore() { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey); }
    ~RegistryStore() override { RegDeleteTreeA(HKEY_CURRENT_USER, kScratchKey); }

    bool KeyExists(const std::string& path) const override { return OpenKey(path).get(); }

    std::optional<std::pair<RegType, std::string>> StoredValue(
        const std::string& path, const std::string& name) const override {
        const OpenKey key(path);
        DWORD type = 0;
        DWORD size = 0;
        if (!key.get() || RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr,
                                           &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        std::string data(size, '\0');
        if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return std::make_pair(static_cast<RegType>(type), std::move(data));
    }
};

}  // namespace

std::vector<StoreBackendKind> StoreBackends() {
    return {{"Registry", [] { return std::unique_ptr<StoreBackend>(new RegistryStore); }}};
}

}  // namespace kivrel::test
