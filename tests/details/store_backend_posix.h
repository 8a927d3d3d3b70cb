#pragma once

#include <optional>
#include <string>

#include "details/registryfile.h"
#include "store_backend.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

namespace kivrel::test {

// The store file in a temporary XDG_CONFIG_HOME, which it sets for its lifetime.
class PosixStore : public StoreBackend {
public:
    PosixStore();
    ~PosixStore() override;

    bool KeyExists(const std::string& path) const override;
    std::optional<std::pair<RegType, std::string>> StoredValue(
        const std::string& path, const std::string& name) const override;

    std::filesystem::path folder() const { return dir_.path() / "kivrel"; }
    std::filesystem::path file() const { return folder() / "HKEY_CURRENT_USER.reg"; }
    // The store file as parsed now; nullopt when it is absent or unparsable.
    std::optional<RegHive> Parsed() const;

private:
    TempDir dir_;
    ScopedEnv env_;
};

}  // namespace kivrel::test
