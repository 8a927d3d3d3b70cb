#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kivrel::test {

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The whole content of a file as bytes; throws when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

// text with every LF preceded by CR, as the program's files end their lines.
std::string WithCrLf(std::string_view text);

}  // namespace kivrel::test
