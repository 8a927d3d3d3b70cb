#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kivrel::test {

// Sets environment variables for one test and puts the old values back.
class ScopedEnv {
public:
    ScopedEnv() = default;
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
            Apply(it->first, it->second);
    }

    // nullopt unsets the variable.
    void Set(const std::string& name, const std::optional<std::string>& value) {
        const char* old = std::getenv(name.c_str());
        saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        Apply(name, value);
    }

private:
    static void Apply(const std::string& name, const std::optional<std::string>& value) {
#ifdef _WIN32
        // An empty value removes the variable on Windows.
        _putenv_s(name.c_str(), value ? value->c_str() : "");
#else
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
#endif
    }

    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace kivrel::test
