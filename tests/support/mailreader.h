#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// A mail file as an independent reader sees it: Python's email package, with the default
// policy that mail programs' rules follow (POSIX only: it runs python3).
namespace kivrel::test {

struct ReadMail {
    std::string to;  // UTF-8, as all texts here
    std::string subject;
    std::string unsent;                                      // X-Unsent
    std::string charset;                                     // of the text part
    std::string body;                                        // decoded bytes
    std::vector<std::pair<std::string, std::string>> files;  // name, decoded bytes
    int defects = 0;  // what the reader found wrong with the file

    bool operator==(const ReadMail&) const = default;
};

ReadMail ReadMailFile(const std::filesystem::path& file);

}  // namespace kivrel::test
