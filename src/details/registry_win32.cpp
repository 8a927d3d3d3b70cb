// The current user's hive in the Windows registry, through the ANSI entry points, so that
// texts arrive in the system's 8-bit code page.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <limits>

#include "details/registry.h"

namespace kivrel {

struct RegistryKey::Impl {
    HKEY key = nullptr;
};

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
        if (impl_ && impl_->key)
            RegCloseKey(impl_->key);
        impl_ = std::move(other.impl_);
    }
    return *this;
}

RegistryKey::~RegistryKey() {
    if (impl_ && impl_->key)
        RegCloseKey(impl_->key);
}

std::optional<RegistryKey> RegistryKey::Open(std::string_view absolutePath) {
    // RegCreateKeyExA wants the path below the hive, without a leading backslash.
    const auto path = RelativeKeyPath(absolutePath);
    if (!path)
        return std::nullopt;
    // Allocated first, so that nothing can fail between opening the key and owning it.
    auto impl = std::make_unique<Impl>();
    DWORD disposition = 0;
    const LSTATUS rc =
        RegCreateKeyExA(HKEY_CURRENT_USER, path->c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &impl->key, &disposition);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    return RegistryKey(std::move(impl));
}

namespace {

RegStatus StatusOf(LSTATUS rc) {
    switch (rc) {
        case ERROR_SUCCESS:
            return RegStatus::Ok;
        case ERROR_FILE_NOT_FOUND:
            return RegStatus::Missing;
        case ERROR_MORE_DATA:
            return RegStatus::TooLarge;
        default:
            return RegStatus::Failed;
    }
}

}  // namespace

RegValue RegistryKey::QueryInfo(std::string_view name) const {
    const std::string valueName(name);
    RegValue result;
    DWORD type = REG_NONE;
    DWORD size = 0;
    result.status =
        StatusOf(RegQueryValueExA(impl_->key, valueName.c_str(), nullptr, &type, nullptr, &size));
    if (result.status == RegStatus::Ok) {
        result.type = type;
        result.size = size;
    }
    return result;
}

RegValue RegistryKey::Read(std::string_view name, std::size_t capacity) const {
    const std::string valueName(name);
    RegValue result;
    if (capacity > std::numeric_limits<DWORD>::max()) {
        result.status = RegStatus::Failed;
        return result;
    }
    std::string buffer(capacity, '\0');
    DWORD type = REG_NONE;
    DWORD size = static_cast<DWORD>(capacity);
    result.status = StatusOf(RegQueryValueExA(impl_->key, valueName.c_str(), nullptr, &type,
                                              reinterpret_cast<LPBYTE>(buffer.data()), &size));
    if (result.status == RegStatus::Ok || result.status == RegStatus::TooLarge) {
        result.type = type;
        result.size = size;
    }
    if (result.status == RegStatus::Ok) {
        buffer.resize(size);
        result.data = std::move(buffer);
    }
    return result;
}

bool RegistryKey::Write(std::string_view name, RegType type, std::string_view data) {
    if (data.size() > std::numeric_limits<DWORD>::max())
        return false;
    const std::string valueName(name);
    return RegSetValueExA(impl_->key, valueName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
}

std::string StoreLocation() {
    return "HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR";
}

}  // namespace kivrel
