#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "output/entryfile.h"
#include "support/entrybuilder.h"

namespace kivrel::test {

// Stadtpokal 2026 from TSV Musterstadt, sent by Anna Berger: Ben Adler and Tim Kurz in
// U12 (m), Mia Lange in U15 (w).
tMeldung ExampleEntry();
tUsedAgeGroups Used(const tMeldung& meldung);

// The two files the example entry gives, for the age groups U12 (m) and U15 (w).
std::string ExampleFileU12();
std::string ExampleFileU15();

// The example entry's mail: its subject and its body's lines, in UTF-8.
std::string ExampleMailSubject();
std::vector<std::string> ExampleMailLines();

// Everything below dir: relative path -> content, "<folder>" for a folder.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir);

}  // namespace kivrel::test
