#include "support/mailreader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "support/tempdir.h"

namespace kivrel::test {

namespace {

// One line per field, the values in hex so that any byte comes through.
constexpr const char* kReader = R"(import email, email.policy, sys
m = email.message_from_bytes(open(sys.argv[1], 'rb').read(), policy=email.policy.default)
h = lambda b: b.hex() or '-'
print('to', h(str(m['to'] or '').encode()))
print('subject', h(str(m['subject'] or '').encode()))
print('unsent', h(str(m['x-unsent'] or '').encode()))
for part in m.iter_parts():
    if part.get_content_type() == 'text/plain':
        print('body', part.get_content_charset(), h(part.get_payload(decode=True)))
    else:
        print('file', h(part.get_filename().encode()), h(part.get_payload(decode=True)))
print('defects', len(m.defects) + sum(len(p.defects) for p in m.walk()))
)";

std::string FromHex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; hex != "-" && i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

}  // namespace

ReadMail ReadMailFile(const std::filesystem::path& file) {
    const TempDir dir;
    WriteFileBytes(dir.path() / "reader.py", kReader);
    const std::string command = "python3 '" + dir.file("reader.py") + "' '" + file.string() +
                                "' > '" + dir.file("read.txt") + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    ReadMail mail;
    std::istringstream lines(ReadFileBytes(dir.path() / "read.txt"));
    for (std::string key; lines >> key;) {
        std::string value;
        if (key == "defects") {
            lines >> mail.defects;
        } else if (key == "body") {
            lines >> mail.charset >> value;
            mail.body = FromHex(value);
        } else if (key == "file") {
            std::string name;
            lines >> name >> value;
            mail.files.emplace_back(FromHex(name), FromHex(value));
        } else {
            lines >> value;
            (key == "to"        ? mail.to
             : key == "subject" ? mail.subject
                                : mail.unsent) = FromHex(value);
        }
    }
    return mail;
}

}  // namespace kivrel::test
