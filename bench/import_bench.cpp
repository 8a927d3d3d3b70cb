#include <benchmark/benchmark.h>

#include <algorithm>

#include "memberlist.h"
#include "participants/importreader.h"

namespace kivrel {
namespace {

constexpr int kRows = 10000;

// The entry's list that the rows are checked against.
tMeldung Entry() {
    tMeldung entry;
    entry.Altersgruppenliste.Add("U12 (g)",
                                 std::make_unique<tAltersgruppe>(tAltersgruppe{"U12", "g"}));
    for (int i = 0; i < kRows; ++i) {
        auto t = std::make_unique<tTeilnehmer>();
        t->Nachname = "Nachname" + std::to_string(i);
        t->Vorname = "Vorname" + std::to_string(i);
        t->Altersgruppe = "U12 (g)";
        t->Gewicht = "-30";
        const std::string key = ParticipantKey(*t);
        entry.Teilnehmerliste.AddDistinct(key, std::move(t));
    }
    return entry;
}

std::vector<std::size_t> AllRows() {
    std::vector<std::size_t> rows(kRows);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = i;
    return rows;
}

void BM_ReadAndCheckMemberList(benchmark::State& state) {
    const std::vector<tImportFile> files = {{"mitglieder.csv", bench::MemberList(kRows)}};
    const tMeldung entry = Entry();
    for (auto _ : state) {
        tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
        import.Read(files);
        if (import.Rows().size() != kRows)
            state.SkipWithError("rows lost");
        benchmark::DoNotOptimize(import.Rows().data());
    }
}
BENCHMARK(BM_ReadAndCheckMemberList)->Unit(benchmark::kMillisecond)->Repetitions(5);

// Every row given one age group and a weight class, then filed into the list of 10,000.
void BM_CompleteAndApplyMemberList(benchmark::State& state) {
    const std::vector<tImportFile> files = {{"mitglieder.csv", bench::MemberList(kRows)}};
    const tMeldung base = Entry();
    tImport import(base.Teilnehmerliste, base.Altersgruppenliste, 2025);
    import.Read(files);
    import.SetAgeGroup(AllRows(), "U12 (g)");
    for (std::size_t i = 0; i < kRows; ++i)
        import.SetGewicht(i, "-30");
    if (import.GoodRows() != kRows)
        state.SkipWithError("rows refused");
    for (auto _ : state) {
        state.PauseTiming();
        tMeldung entry = Entry();
        state.ResumeTiming();
        import.Apply(entry.Teilnehmerliste, entry.Altersgruppenliste);
        benchmark::DoNotOptimize(entry);
    }
}
BENCHMARK(BM_CompleteAndApplyMemberList)->Unit(benchmark::kMillisecond)->Repetitions(5);

// A file under the size limit of nothing but blank rows as Excel writes formatted empty rows.
void BM_ReadBlankRows4MB(benchmark::State& state) {
    std::string csv = "Nachname;Vorname;Altersgruppe;Geschlecht;Gewichtsklasse\r\n";
    while (csv.size() + 32 < kImportMaxBytes)
        csv += ";;;;\r\n";
    csv += "A;B;U12;m;-30\r\n";
    const tMeldung entry = Entry();
    for (auto _ : state) {
        tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
        import.Read({{ "leer.csv", csv }});
        if (import.Rows().size() != 1)
            state.SkipWithError("rows lost");
    }
}
BENCHMARK(BM_ReadBlankRows4MB)->Unit(benchmark::kMillisecond)->Repetitions(5);

// 20,000 members with birth years, genders and weights, and a federation's table of 20 age
// groups (ten pairs of birth years, each for girls and boys) with ten weight classes each:
// the proposal of every row.
void BM_ProposeFromRules(benchmark::State& state) {
    constexpr int kMembers = 20000;
    std::string csv = "Nachname;Vorname;Geb.-Datum;Geschlecht;Gewicht (kg)\r\n";
    for (int i = 0; i < kMembers; ++i)
        csv += "Name" + std::to_string(i) + ";Vorname;01.02." + std::to_string(2000 + i % 21) +
               ";" + (i % 2 ? "m" : "w") + ";" + std::to_string(20 + i % 50) + "," +
               std::to_string(i % 10) + "\r\n";
    tAgeRules rules;
    for (int pair = 0; pair < 10; ++pair) {
        for (const char* gender : {"w", "m"}) {
            const std::string from = std::to_string(2000 + 2 * pair);
            const std::string to = std::to_string(2001 + 2 * pair);
            rules.push_back({{"U" + std::to_string(26 - 2 * pair), gender},
                             from,
                             to,
                             "-24 -28 -32 -36 -40 -45 -50 -55 -60 +60"});
        }
    }
    const tMeldung entry;
    tImport import(entry.Teilnehmerliste, entry.Altersgruppenliste, 2025);
    import.Read({{ "mitglieder.csv", csv }});
    for (auto _ : state) {
        import.SetRules(rules);
        benchmark::DoNotOptimize(import.Rows().data());
    }
    // Every member born 2000 to 2019 has a group; those of 2020 none.
    const auto proposed =
        std::count_if(import.Rows().begin(), import.Rows().end(),
                      [](const tImportRow& r) { return !r.Proposal.Gewicht.empty(); });
    if (proposed != kMembers - kMembers / 21)
        state.SkipWithError(("proposals: " + std::to_string(proposed)).c_str());
}
BENCHMARK(BM_ProposeFromRules)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace
}  // namespace kivrel
