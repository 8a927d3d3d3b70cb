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

bool PosixStore::KeyExists(const std::string& path) const {
    const auto hive = Parsed();
    return hive && hive->FindKey(path);
}

std::optional<std::pair<RegType, std::string>> PosixStore::StoredValue(
    const std::string& path, const std::string& name) const {
    const auto hive = Parsed();
    const RegHive::Key* key = hive ? hive->FindKey(path) : nullptr;
    const RegHive::Value* value = key ? key->Find(name) : nullptr;
    if (!value)
        return std::nullopt;
    return std::make_pair(value->type, value->data);
}

std::vector<StoreBackendKind> StoreBackends() {
    return {{"File", [] { return std::unique_ptr<StoreBackend>(new PosixStore); }}};
}

}  // namespace kivrel::test
