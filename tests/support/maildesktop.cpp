#include "support/maildesktop.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <thread>

namespace kivrel::test {

namespace {

int FromHex(char c) {
    return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
}

}  // namespace

void WriteScript(const std::filesystem::path& path, const std::string& text) {
    WriteFileBytes(path, "#!/bin/sh\n" + text);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string PercentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() &&
            std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(FromHex(text[i + 1]) * 16 + FromHex(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> Mailto::all(const std::string& key) const {
    std::vector<std::string> values;
    for (auto [it, end] = fields.equal_range(key); it != end; ++it)
        values.push_back(it->second);
    return values;
}

Mailto ParseMailto(const std::string& uri) {
    EXPECT_EQ(uri.rfind("mailto:", 0), 0u) << uri;
    Mailto m;
    const std::size_t query = uri.find('?');
    m.to =
        PercentDecoded(uri.substr(7, query == std::string::npos ? std::string::npos : query - 7));
    if (query == std::string::npos)
        return m;
    std::size_t start = query + 1;
    while (start <= uri.size()) {
        std::size_t end = uri.find('&', start);
        if (end == std::string::npos)
            end = uri.size();
        const std::string pair = uri.substr(start, end - start);
        const std::size_t eq = pair.find('=');
        m.fields.emplace(pair.substr(0, eq), PercentDecoded(pair.substr(eq + 1)));
        start = end + 1;
    }
    return m;
}

MailDesktop::MailDesktop() {
    namespace fs = std::filesystem;
    for (const char* sub : {"config", "config-dirs", "data", "data-dirs", "files", "empty"})
        fs::create_directory(dir_.path() / sub);
    env_.Set("XDG_CURRENT_DESKTOP", "X-Generic");
    env_.Set("XDG_CONFIG_HOME", dir_.file("config"));
    env_.Set("XDG_CONFIG_DIRS", dir_.file("config-dirs"));
    env_.Set("XDG_DATA_HOME", dir_.file("data"));
    env_.Set("XDG_DATA_DIRS", dir_.file("data-dirs"));
    env_.Set("XDG_UTILS_DEBUG_LEVEL", std::nullopt);
    // The URI last and whole, so that a mail that has arrived can be read at once.
    WriteScript(dir_.path() / "mailer", "printf '%s' \"$#\" > '" + dir_.file("argc") + "'\n" +
                                            "printf '%s' \"$1\" > '" + dir_.file("uri.part") +
                                            "' && mv '" + dir_.file("uri.part") + "' '" +
                                            dir_.file("uri") + "'\n");
    env_.Set("MAILER", dir_.file("mailer"));
}

bool MailDesktop::MailArrived() const {
    return std::filesystem::exists(dir_.path() / "uri");
}

Mailto MailDesktop::Received() const {
    // The hand-over stops waiting for xdg-email after some seconds, and on a busy machine
    // xdg-email may take longer to check its files; the mail still comes.
    for (int i = 0; i < 300 && !MailArrived(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(ReadFileBytes(dir_.path() / "argc"), "1");
    return ParseMailto(ReadFileBytes(dir_.path() / "uri"));
}

}  // namespace kivrel::test
