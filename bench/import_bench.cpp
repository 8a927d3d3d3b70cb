#include <benchmark/benchmark.h>

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

}  // namespace
}  // namespace kivrel
