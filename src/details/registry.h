#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The current user's registry hive, where the program remembers its details. On Windows it
// is the real registry; elsewhere one text file in the registry editor's format.
namespace kivrel {

// Value types, numbered as Windows numbers them; other numbers are kept as they come.
using RegType = std::uint32_t;
inline constexpr RegType kRegNone = 0;
inline constexpr RegType kRegSz = 1;
inline constexpr RegType kRegExpandSz = 2;
inline constexpr RegType kRegBinary = 3;
inline constexpr RegType kRegDword = 4;

enum class RegStatus {
    Ok,
    Missing,   // no value of that name
    TooLarge,  // the value is larger than the buffer that was offered
    Failed,    // the store could not be read
};

// What a query of one value found. Texts are Windows-1252 bytes with their terminator.
struct RegValue {
    RegStatus status = RegStatus::Failed;
    RegType type = kRegNone;
    std::size_t size = 0;  // the value's whole size, also when it did not fit
    std::string data;      // only when data was asked for and status is Ok
};

// The path below the hive that an absolute key path names: "\Software\NORDALKE\QVTR\" gives
// "Software\NORDALKE\QVTR" (leading and trailing backslashes make no difference). nullopt for
// an empty part, a part longer than 255 bytes, more than 512 levels, or a CR or LF in it.
std::optional<std::string> RelativeKeyPath(std::string_view absolutePath);

// One open key of the current user's hive; closed when the object goes. A moved-from key
// may only be destroyed.
class RegistryKey {
public:
    // Opens the key at an absolute path, creating it and any missing parents; nullopt when
    // it can neither be opened nor created.
    static std::optional<RegistryKey> Open(std::string_view absolutePath);

    RegistryKey(RegistryKey&&) noexcept;
    RegistryKey& operator=(RegistryKey&&) noexcept;
    ~RegistryKey();

    // Type and size of a value, without its data ("" names the key's default value).
    RegValue QueryInfo(std::string_view name) const;

    // Type, size and data of a value that fits into capacity bytes; TooLarge otherwise.
    RegValue Read(std::string_view name, std::size_t capacity) const;

    // Stores data under name with that type, replacing what was there. False on failure.
    bool Write(std::string_view name, RegType type, std::string_view data);

private:
    struct Impl;
    explicit RegistryKey(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

// Where the store lives, for a message: its folder, or on Windows the registry key.
std::string StoreLocation();

}  // namespace kivrel
