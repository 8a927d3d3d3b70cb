// The spreadsheet reader on arbitrary bytes. Whatever table it reads, written out again
// (every field quoted, as UTF-8 with its BOM, the separator named in Excel's first line)
// must read as the same table; so no field can leak into its neighbour or the next row.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "base/cp1252.h"
#include "base/csvreader.h"

namespace {

constexpr std::size_t kMaxRecords = 100000;

std::string Written(const kivrel::tCsvTable& table) {
    std::string out = "\xEF\xBB\xBFsep=";
    out += table.Separator;
    out += "\r\n";
    for (const kivrel::tCsvRecord& record : table.Records) {
        for (std::size_t i = 0; i < record.Size(); ++i) {
            if (i > 0)
                out += table.Separator;
            out += '"';
            for (const char c : kivrel::MarkedToUtf8(record.Field(i)))
                out += c == '"' ? std::string("\"\"") : std::string(1, c);
            out += '"';
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kivrel::tCsvTable table = kivrel::ReadCsv(bytes, kMaxRecords);
    if (table.Fault != kivrel::tCsvFault::None || table.TooMany)
        return 0;
    for (const kivrel::tCsvRecord& record : table.Records) {
        if (record.Size() != std::min(record.Count, kivrel::kCsvMaxColumns))
            std::abort();
        // A row cut short by its quotes, or one beyond the kept columns, is not written
        // back whole.
        if (record.BadQuotes || record.Count > kivrel::kCsvMaxColumns)
            return 0;
    }
    if (static_cast<unsigned char>(table.Separator) >= 0x80)
        return 0;
    const kivrel::tCsvTable again = kivrel::ReadCsv(Written(table), kMaxRecords);
    if (again.Fault != kivrel::tCsvFault::None || again.Separator != table.Separator ||
        again.Records.size() != table.Records.size())
        std::abort();
    for (std::size_t i = 0; i < table.Records.size(); ++i) {
        const kivrel::tCsvRecord& a = again.Records[i];
        const kivrel::tCsvRecord& b = table.Records[i];
        if (a.Size() != b.Size())
            std::abort();
        for (std::size_t f = 0; f < a.Size(); ++f) {
            if (a.Field(f) != b.Field(f))
                std::abort();
        }
    }
    return 0;
}
