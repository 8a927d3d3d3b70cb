#include "base/csvreader.h"

#include <algorithm>
#include <cstring>

#include "base/cp1252.h"

namespace kivrel {

namespace {

bool HasHighByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// The text as Windows-1252, line by line (a line keeps its end).
std::string Decoded(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
        return Utf16ToCp1252Marked(bytes.substr(2), bytes[0] == '\xFE');
    // UTF-16 without its BOM: a heading begins with two ASCII letters, which no other
    // encoding writes with zero bytes between them.
    const auto ascii = [&](std::size_t i) {
        return static_cast<unsigned char>(bytes[i]) >= 0x20 &&
               static_cast<unsigned char>(bytes[i]) < 0x80;
    };
    if (bytes.size() >= 4 && ascii(0) && bytes[1] == '\0' && ascii(2) && bytes[3] == '\0')
        return Utf16ToCp1252Marked(bytes, false);
    if (bytes.size() >= 4 && bytes[0] == '\0' && ascii(1) && bytes[2] == '\0' && ascii(3))
        return Utf16ToCp1252Marked(bytes, true);
    const bool bom = bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (bom)
        bytes.remove_prefix(3);
    const auto lines = [&](auto&& each) {
        for (std::size_t pos = 0; pos < bytes.size();) {
            const std::size_t lf = bytes.find('\n', pos);
            const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
            each(bytes.substr(pos, end - pos));
            pos = end;
        }
    };
    bool utf8 = bom;
    if (!utf8) {
        lines([&](std::string_view line) {
            utf8 = utf8 || (HasHighByte(line) && IsValidUtf8(line));
        });
    }
    if (!utf8)
        return Cp1252Marked(bytes);
    std::string out;
    out.reserve(bytes.size());
    lines([&](std::string_view line) {
        out += IsValidUtf8(line) ? Utf8ToCp1252Marked(line) : Cp1252Marked(line);
    });
    return out;
}

// Splits the text into records. A quote left open, or closed with text after it, ends its
// record at the end of the line it opened on, so the rows after it are read as they stand.
class tSplitter {
public:
    tSplitter(std::string_view text, char separator)
        : text_(text), separator_(separator), stops_{separator, '\r', '\n', '\0'} {}

    bool Next(tCsvRecord& record) {
        if (pos_ >= text_.size())
            return false;
        record = tCsvRecord();
        record.Row = ++row_;
        for (;;) {
            std::string field;
            if (text_[pos_] == '"') {
                if (!QuotedField(field)) {
                    record.BadQuotes = true;
                    record.Add(std::string_view());
                    EndLine();
                    return true;
                }
            } else {
                const std::size_t end = std::min(text_.find_first_of(stops_, pos_), text_.size());
                field.assign(text_.substr(pos_, end - pos_));
                pos_ = end;
            }
            record.Add(field);
            if (pos_ < text_.size() && text_[pos_] == separator_) {
                ++pos_;
                continue;
            }
            EndLine();
            return true;
        }
    }

private:
    // Reads a field from its opening quote on; false when the quote is never closed.
    bool QuotedField(std::string& field) {
        const std::size_t open = pos_++;
        while (pos_ < text_.size()) {
            const std::size_t quote = text_.find('"', pos_);
            if (quote == std::string_view::npos)
                break;
            field.append(text_.substr(pos_, quote - pos_));
            pos_ = quote + 1;
            if (pos_ < text_.size() && text_[pos_] == '"') {
                field += '"';
                ++pos_;
                continue;
            }
            if (pos_ == text_.size() || std::strchr(stops_, text_[pos_]))
                return true;
            break;
        }
        const std::size_t lineEnd = text_.find_first_of("\r\n", open);
        pos_ = lineEnd == std::string_view::npos ? text_.size() : lineEnd;
        return false;
    }

    // CR LF, LF or a lone CR.
    void EndLine() {
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t row_ = 0;
    char separator_;
    const char stops_[4];
};

// The separator the heading uses most often outside quotes; ";" when it has none.
char DetectSeparator(std::string_view text) {
    int counts[3] = {};
    const char candidates[3] = {';', ',', '\t'};
    bool quoted = false;
    for (const char c : text) {
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == '\r' || c == '\n'))
            break;
        for (int i = 0; i < 3; ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    return candidates[std::max_element(counts, counts + 3) - counts];
}

}  // namespace

void tCsvRecord::Add(std::string_view field) {
    if (++Count > kCsvMaxColumns)
        return;
    text_.append(field);
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

bool tCsvRecord::Blank() const {
    return !BadQuotes && std::all_of(text_.begin(), text_.end(),
                                     [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

tCsvTable ReadCsv(std::string_view bytes, std::size_t maxRecords) {
    tCsvTable table;
    const std::string text = Decoded(bytes);
    std::string_view rest = text;
    if (rest.find('\0') != std::string_view::npos) {
        table.Fault = tCsvFault::Binary;
        return table;
    }
    // Excel's "sep=;" names the separator in a line of its own, which the sheet never shows.
    if (rest.size() >= 5 && rest.substr(0, 4) == "sep=" &&
        std::strchr("\"\r\n", rest[4]) == nullptr &&
        (rest.size() == 5 || rest[5] == '\r' || rest[5] == '\n')) {
        table.Separator = rest[4];
        rest.remove_prefix(5);
        rest.remove_prefix(std::min<std::size_t>(rest.size(), rest.substr(0, 2) == "\r\n" ? 2 : 1));
    } else {
        table.Separator = DetectSeparator(rest);
    }
    if (rest.find_first_not_of(std::string(" \t\r\n;,") + table.Separator) ==
        std::string_view::npos) {
        table.Fault = tCsvFault::Empty;
        return table;
    }
    tCsvRecord record;
    // Counted first: a file of too many rows is refused before a row is kept.
    std::size_t filled = 0;
    std::size_t all = 0;
    for (tSplitter counter(rest, table.Separator); counter.Next(record); ++all)
        filled += record.Blank() ? 0 : 1;
    if (filled > maxRecords) {
        table.TooMany = true;
        return table;
    }
    // Blank rows cost nothing: Excel writes formatted empty rows as lines of separators.
    table.Records.reserve(std::min(all, filled + 1));
    for (tSplitter splitter(rest, table.Separator); splitter.Next(record);) {
        if (table.Records.empty() || !record.Blank()) {
            record.ShrinkToFit();
            table.Records.push_back(std::move(record));
        }
    }
    return table;
}

}  // namespace kivrel
