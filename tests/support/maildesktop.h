#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/scopedenv.h"
#include "support/tempdir.h"

// A desktop of the tests' own for the real xdg-email (POSIX only): no mail handler
// registered, a $MAILER that records the mailto URI it is given, and nothing of the user's
// own set-up in the way.
namespace kivrel::test {

// An executable /bin/sh script.
void WriteScript(const std::filesystem::path& path, const std::string& text);
std::string PercentDecoded(const std::string& text);

struct Mailto {
    std::string to;
    std::multimap<std::string, std::string> fields;  // decoded
    std::vector<std::string> all(const std::string& key) const;
};
Mailto ParseMailto(const std::string& uri);

class MailDesktop {
public:
    MailDesktop();

    const TempDir& dir() const { return dir_; }
    ScopedEnv& env() { return env_; }

    // No $MAILER and no handler: the probe finds no mail client.
    void RemoveMailClient() { env_.Set("MAILER", std::nullopt); }
    // No xdg-email to start.
    void RemoveXdgEmail() { env_.Set("PATH", dir_.file("empty")); }

    bool MailArrived() const;
    // The one mailto URI $MAILER was started with, parsed.
    Mailto Received() const;

private:
    TempDir dir_;
    ScopedEnv env_;
};

}  // namespace kivrel::test
