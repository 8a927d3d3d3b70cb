// The current user's hive as one text file in the registry editor's format,
// $XDG_CONFIG_HOME/kivrel/HKEY_CURRENT_USER.reg. Every access reads the file afresh under an
// exclusive lock; every change writes it whole to a temporary file and renames that over it.

#include <chrono>

#include "base/atomicfile.h"
#include "details/registry.h"
#include "details/registryfile.h"
#include "details/storefolder.h"

namespace kivrel {

namespace {

// How long one access waits for another instance of the program that is changing the store
// file at the same moment, before it gives up.
constexpr std::chrono::seconds kWaitLimit{5};

struct StorePaths {
    tPath file;
    tPath lock;  // a file of its own, so that renaming the store does not drop the lock
};

std::optional<StorePaths> FindStorePaths() {
    auto folder = StoreFolder();
    if (!folder)
        return std::nullopt;
    StorePaths paths;
    paths.file = *folder / "HKEY_CURRENT_USER.reg";
    paths.lock = paths.file;
    paths.lock += ".lock";
    return paths;
}

struct Store {
    RegHive hive;
    bool keepOriginal = false;  // rewriting the file as it came would lose part of it
};

// The store as the file holds it; nullopt when it cannot be used. Call with the lock held.
std::optional<Store> LoadStore(const StorePaths& paths) {
    std::string bytes;
    switch (ReadWholeFile(paths.file, bytes, std::string().max_size())) {
        case FileRead::Missing:
            return Store{};
        case FileRead::Failed:
            return std::nullopt;
        case FileRead::Ok:
            break;
    }
    if (auto parsed = ParseRegFile(bytes))
        return Store{std::move(parsed->hive), parsed->lossy};
    // What we cannot read is never overwritten: it stays beside, and the store starts empty.
    if (!SetAside(paths.file, "unreadable", false))
        return std::nullopt;
    return Store{};
}

bool SaveStore(const StorePaths& paths, const Store& store) {
    if (store.keepOriginal && !SetAside(paths.file, "original", true))
        return false;
    return WriteFileAtomically(paths.file, FormatRegFile(store.hive));
}

// One access to the store under its lock. body(hive, changed) returns false when it failed
// and sets changed when the file is to be written.
template <class Body>
bool WithStore(Body&& body) {
    const auto paths = FindStorePaths();
    if (!paths)
        return false;
    const FileLock lock(paths->lock, kWaitLimit);
    if (!lock.Held())
        return false;
    auto store = LoadStore(*paths);
    if (!store)
        return false;
    bool changed = false;
    if (!body(store->hive, changed))
        return false;
    return !changed || SaveStore(*paths, *store);
}

}  // namespace

struct RegistryKey::Impl {
    std::string path;  // below the hive
};

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

std::optional<RegistryKey> RegistryKey::Open(std::string_view absolutePath) {
    auto path = RelativeKeyPath(absolutePath);
    if (!path)
        return std::nullopt;
    const bool opened = WithStore([&](RegHive& hive, bool& changed) {
        changed = hive.FindKey(*path) == nullptr;
        hive.CreateKey(*path);
        return true;
    });
    if (!opened)
        return std::nullopt;
    return RegistryKey(std::make_unique<Impl>(Impl{std::move(*path)}));
}

namespace {

RegValue Lookup(const std::string& keyPath, std::string_view name,
                std::optional<std::size_t> capacity) {
    RegValue result;
    const bool read = WithStore([&](RegHive& hive, bool&) {
        const RegHive::Key* key = hive.FindKey(keyPath);
        const RegHive::Value* value = key ? key->Find(name) : nullptr;
        if (!value) {
            result.status = RegStatus::Missing;
            return true;
        }
        result.type = value->type;
        result.size = value->data.size();
        if (capacity && result.size > *capacity) {
            result.status = RegStatus::TooLarge;
        } else {
            result.status = RegStatus::Ok;
            if (capacity)
                result.data = value->data;
        }
        return true;
    });
    return read ? result : RegValue{};
}

}  // namespace

RegValue RegistryKey::QueryInfo(std::string_view name) const {
    return Lookup(impl_->path, name, std::nullopt);
}

RegValue RegistryKey::Read(std::string_view name, std::size_t capacity) const {
    return Lookup(impl_->path, name, capacity);
}

bool RegistryKey::Write(std::string_view name, RegType type, std::string_view data) {
    // The file has no way to write a name that breaks its line.
    if (name.find_first_of("\r\n") != std::string_view::npos)
        return false;
    return WithStore([&](RegHive& hive, bool& changed) {
        hive.CreateKey(impl_->path).Set(name, type, std::string(data));
        changed = true;
        return true;
    });
}

std::string StoreLocation() {
    const auto folder = StoreFolderPath();
    return folder ? PathText(*folder) : "$XDG_CONFIG_HOME/kivrel";
}

}  // namespace kivrel
