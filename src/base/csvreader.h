#pragma once

#include <cstddef>
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

// Stands in the decoded text for a character that Windows-1252 cannot hold (it is one of the
// code page's unassigned bytes, so no real character reads as it).
inline constexpr char kCsvUnusable = '\x81';

struct tCsvRecord {
    std::vector<std::string> Fields;  // at most kCsvMaxColumns
    std::size_t Count = 0;            // fields in the record, kept or not
    // A quote left open, or closed with text after it: the record ends with its line.
    bool BadQuotes = false;

    // Nothing but blanks and control characters: an empty line of the sheet.
    bool Blank() const;
};

enum class tCsvFault { None, Binary, Empty };

struct tCsvTable {
    tCsvFault Fault = tCsvFault::None;
    char Separator = ';';
    // Every record, blank ones too, so that record i is row i + 1 of the sheet.
    std::vector<tCsvRecord> Records;
    // More than maxRecords that are not blank: none are kept.
    bool TooMany = false;
};

// Reads a whole file. The encoding: a BOM names it, and a heading of ASCII letters with zero
// bytes between them is UTF-16 without one; otherwise the file is UTF-8 when a line
// with a byte above 127 is valid UTF-8, and then each line that is not is read as
// Windows-1252 (a list put together from two sources); otherwise all of it is
// Windows-1252. The separator: Excel's first line "sep=X", or whichever of tab, ";" and ","
// the first line holds most often outside quotes (";" when none).
tCsvTable ReadCsv(std::string_view bytes, std::size_t maxRecords);

}  // namespace kivrel
