#pragma once

#include <algorithm>
#include <optional>
#include <string_view>

// Reads a text line by line, the way the program's own files and the store file end their
// lines.
namespace kivrel {

class tLineReader {
public:
    enum class tEnds {
        // Every line ends with CR LF; a line without its end, or with a lone CR or LF in it,
        // is a fault that ends the reading.
        CrLf,
        // CR LF, LF or a lone CR end a line; the last line needs no end.
        Any,
    };

    tLineReader(std::string_view text, tEnds ends) : rest_(text), ends_(ends) {}

    // The next line without its end; nullopt at the end of the text and at a fault.
    std::optional<std::string_view> Next() {
        if (rest_.empty() || failed_)
            return std::nullopt;
        if (ends_ == tEnds::Any) {
            const std::size_t end = std::min(rest_.find_first_of("\r\n"), rest_.size());
            const std::string_view line = rest_.substr(0, end);
            const std::size_t next =
                end < rest_.size() && rest_.substr(end, 2) == "\r\n" ? end + 2 : end + 1;
            rest_.remove_prefix(std::min(next, rest_.size()));
            return line;
        }
        const std::size_t lf = rest_.find('\n');
        if (lf == std::string_view::npos || lf == 0 || rest_[lf - 1] != '\r' ||
            rest_.substr(0, lf - 1).find('\r') != std::string_view::npos) {
            failed_ = true;
            return std::nullopt;
        }
        const std::string_view line = rest_.substr(0, lf - 1);
        rest_.remove_prefix(lf + 1);
        return line;
    }

    bool AtEnd() const { return rest_.empty(); }
    bool Failed() const { return failed_; }

private:
    std::string_view rest_;
    tEnds ends_;
    bool failed_ = false;
};

}  // namespace kivrel
