#include "store_backend_posix.h"

#include <filesystem>

namespace kivrel::test {

PosixStore::PosixStore() {
    env_.Set("XDG_CONFIG_HOME", dir_.path().string());
}

PosixStore::~PosixStore() = default;

std::optional<RegHive> PosixStore::Parsed() const {
    if (!std::filesystem::is_regular_file(file()))
        return std::nullopt;
    auto parsed = ParseRegFile(ReadFileBytes(file()));
    if (!parsed)
        return std::nullopt;
    return std::move(parsed->hive);
}

bool PosixStore::KeyExists(const std::string& absolutePath) const {
    const auto hive = Parsed();
    const auto path = RelativeKeyPath(absolutePath);
    return hive && path && hive->FindKey(*path);
}

std::vector<StoreBackendKind> StoreBackends() {
    return {{"File", [] { return std::unique_ptr<StoreBackend>(new PosixStore); }}};
}

}  // namespace kivrel::test
