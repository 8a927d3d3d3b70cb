#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Spreadsheet exports as Excel and Calc write them: UTF-8 (with or without BOM), UTF-16 with
// BOM or Windows-1252; ";", ",", or tab between the fields; fields between double quotes may
// hold separators, line breaks and doubled quotes. The texts come out as Windows-1252.
namespace kivrel {

// Columns past these are counted but not kept, so that a line of separators alone costs no
// memory.
inline constexpr std::size_t kCsvMaxColumns = 1024;

// One row of the sheet. Its fields lie in one text, so that a row of many short fields costs
// little more memory than its bytes.
class tCsvRecord {
public:
    // The fields kept, at most kCsvMaxColumns.
    std::size_t Size() const { return ends_.size(); }
    std::string_view Field(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(begin, ends_[i] - begin);
    }
    // The field, or an empty one past the row's end (a spreadsheet leaves out trailing empty
    // cells).
    std::string_view FieldOrEmpty(std::size_t i) const {
        return i < Size() ? Field(i) : std::string_view();
    }
    void Add(std::string_view field);
    void ShrinkToFit() {
        text_.shrink_to_fit();
        ends_.shrink_to_fit();
    }

    std::size_t Count = 0;  // fields in the record, kept or not
    // A quote left open, or closed with text after it: the record ends with its line.
    bool BadQuotes = false;
    // The row of the sheet, the first one being 1.
    std::size_t Row = 0;

    // Nothing but blanks and control characters: an empty line of the sheet.
    bool Blank() const;

private:
    std::string text_;
    std::vector<std::uint32_t> ends_;
};

enum class tCsvFault { None, Binary, Empty };

struct tCsvTable {
    tCsvFault Fault = tCsvFault::None;
    char Separator = ';';
    // The first record (the heading) and every one after it that is not blank.
    std::vector<tCsvRecord> Records;
    // More than maxRecords that are not blank: none are kept.
    bool TooMany = false;
};

// Reads a whole file. The encoding: a BOM names it, and a heading of ASCII letters with zero
// bytes between them is UTF-16 without one; otherwise the file is UTF-8 when a line
// with a byte above 127 is valid UTF-8, and then each line that is not is read as
// Windows-1252 (a list put together from two sources); otherwise all of it is
// Windows-1252. Characters that Windows-1252 cannot hold are kept marked (kForeignMark). The
// separator: Excel's first line "sep=X", or whichever of tab, ";" and "," the first line holds most
// often outside quotes (";" when none).
tCsvTable ReadCsv(std::string_view bytes, std::size_t maxRecords);

}  // namespace kivrel
