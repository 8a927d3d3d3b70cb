// The stored details on every registry backend of the platform, each test on a fresh hive.

#include <gtest/gtest.h>

#include <cstring>

#include "base/cp1252.h"
#include "base/error.h"
#include "details/registry.h"
#include "details/storeddetails.h"
#include "store_backend.h"

namespace kivrel {
namespace {

class StoreScenario : public testing::TestWithParam<test::StoreBackendKind> {
protected:
    void SetUp() override { backend_ = GetParam().make(); }
    void TearDown() override { backend_.reset(); }

    static void Put(const char* key, const char* name, RegType type, std::string_view data) {
        auto k = RegistryKey::Open(key);
        ASSERT_TRUE(k);
        ASSERT_TRUE(k->Write(name, type, data));
    }
    static RegValue Get(const char* key, const char* name) {
        return RegistryKey::Open(key)->Read(name, 1 << 20);
    }
    // The text of the KivrelError that body throws, or "" when it throws none.
    template <class Body>
    static std::string FailureOf(Body body) {
        try {
            body();
        } catch (const KivrelError& e) {
            return e.text();
        }
        return {};
    }

    // What the store holds, read past the seam.
    std::pair<RegType, std::string> Stored(const char* path, const char* name) const {
        return backend_->StoredValue(path, name).value_or(std::make_pair(kRegNone, "<missing>"));
    }

    std::unique_ptr<test::StoreBackend> backend_;
};

// The keys as the store spells them below the hive.
constexpr const char* kTurnierPath = "Software\\NORDALKE\\QVTR\\Turnier";
constexpr const char* kVereinPath = "Software\\NORDALKE\\QVTR\\Verein";
constexpr const char* kAbsenderPath = "Software\\NORDALKE\\QVTR\\Absender";
constexpr const char* kAdvertPath = "Software\\NORDALKE\\QVTR\\Advert";

std::string Double(double d) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &d, 8);  // the test machines are little-endian, as Windows is
    return bytes;
}

TEST_P(StoreScenario, RecordsRoundTripAsTheirStoredValues) {
    const tTurnierData turnier{Win1252("Pokal \"Süd\" \\ 2025"), 45731, Win1252("Görlitz"),
                               "meldung@example.org"};
    const tVereinData verein{Win1252("  JC Bärenstark  "), "0815", "K", "B", "L", "G", "GER"};
    const tAbsenderData absender{
        "Jan", "O'Neil", Win1252("Hauptstraße 1"), "12345", "Ort", "1", "2", "", "4", "a@b.de"};
    SaveTurnier(turnier);
    SaveVerein(verein);
    SaveAbsender(absender);

    tTurnierData t;
    tVereinData v;
    tAbsenderData a;
    LoadTurnier(t);
    LoadVerein(v);
    LoadAbsender(a);
    EXPECT_EQ(t.Bezeichnung, turnier.Bezeichnung);
    EXPECT_EQ(t.Datum, 45731);
    EXPECT_EQ(t.Ort, turnier.Ort);
    EXPECT_EQ(t.Email, turnier.Email);
    EXPECT_EQ(v.Vereinsname, verein.Vereinsname);
    EXPECT_EQ(v.Nation, "GER");
    EXPECT_EQ(a.Strasse, absender.Strasse);
    EXPECT_EQ(a.Telefax, "");
    EXPECT_EQ(a.Email, "a@b.de");

    // Texts with their terminator, the empty one as the terminator alone, the date as the
    // 8 bytes of a little-endian double.
    using Value = std::pair<RegType, std::string>;
    EXPECT_EQ(Stored(kTurnierPath, "Datum"),
              Value(kRegBinary, std::string("\x00\x00\x00\x00\x60\x54\xE6\x40", 8)));
    EXPECT_EQ(Stored(kTurnierPath, "Bezeichnung"), Value(kRegSz, turnier.Bezeichnung + '\0'));
    EXPECT_EQ(Stored(kVereinPath, "Vereinsname"), Value(kRegSz, verein.Vereinsname + '\0'));
    EXPECT_EQ(Stored(kVereinPath, "Sortierbezeichnung"), Value(kRegSz, std::string(1, '\0')));
    EXPECT_EQ(Stored(kAbsenderPath, "Strasse"), Value(kRegSz, absender.Strasse + '\0'));
    EXPECT_EQ(Stored(kAbsenderPath, "Telefax"), Value(kRegSz, std::string(1, '\0')));

    SaveTurnier({"x", 0, "", ""});
    EXPECT_EQ(Stored(kTurnierPath, "Datum"), Value(kRegBinary, std::string(8, '\0')));
    LoadTurnier(t);
    EXPECT_EQ(t.Datum, 0);
}

TEST_P(StoreScenario, LoadsOnAnEmptyHiveCreateTheKeysAndReadEmptyTexts) {
    EXPECT_FALSE(backend_->KeyExists("Software\\NORDALKE"));
    tVereinData v{"alt", "alt", "alt", "alt", "alt", "alt", "alt"};
    LoadVerein(v);
    EXPECT_EQ(v.Vereinsname, "");
    EXPECT_EQ(v.Nation, "");
    // The key and its missing parents, right below the hive.
    EXPECT_TRUE(backend_->KeyExists("Software\\NORDALKE"));
    EXPECT_TRUE(backend_->KeyExists("Software\\NORDALKE\\QVTR"));
    EXPECT_TRUE(backend_->KeyExists(kVereinPath));
    EXPECT_FALSE(backend_->StoredValue(kVereinPath, "Vereinsname"));

    tAbsenderData a;
    a.Email = "alt";
    LoadAbsender(a);
    EXPECT_EQ(a.Email, "");
    EXPECT_TRUE(backend_->KeyExists(kAbsenderPath));

    // No "Datum" yet: the event load stops there.
    EXPECT_FALSE(backend_->KeyExists(kTurnierPath));
    tTurnierData t{"alt", 7, "alt", "alt"};
    EXPECT_EQ(FailureOf([&] { LoadTurnier(t); }), Win1252("Konnte Daten für 'Datum' nicht holen"));
    EXPECT_EQ(t.Bezeichnung, "");
    EXPECT_EQ(t.Datum, 7);
    EXPECT_EQ(t.Ort, "alt");
    EXPECT_TRUE(backend_->KeyExists(kTurnierPath));
}

TEST_P(StoreScenario, KeyNamesStartAtTheHiveWhateverTheirBackslashes) {
    Put("\\Software\\NORDALKE\\QVTR\\Form\\", "Wert", kRegSz, std::string("1", 2));
    for (const char* name : {"\\Software\\NORDALKE\\QVTR\\Form", "Software\\NORDALKE\\QVTR\\Form\\",
                             "\\SOFTWARE\\nordalke\\qvtr\\form"}) {
        EXPECT_EQ(Get(name, "Wert").data, std::string("1", 2)) << name;
    }
    EXPECT_EQ(Stored("Software\\NORDALKE\\QVTR\\Form", "Wert"),
              std::make_pair(kRegSz, std::string("1", 2)));
    EXPECT_FALSE(RegistryKey::Open("\\Software\\\\NORDALKE"));  // an empty part
}

TEST_P(StoreScenario, DatumMustBeEightBinaryBytes) {
    Put(kTurnierKey, "Bezeichnung", kRegSz, std::string("Cup", 4));
    const std::string badType = Win1252("Ungültiger Datentyp für 'Datum'");
    const std::string cannotGet = Win1252("Konnte Daten für 'Datum' nicht holen");
    struct Case {
        RegType type;
        std::string data;
        std::string failure;
        double day;
    };
    const Case cases[] = {
        {kRegBinary, std::string(7, '\0'), badType, 0},
        {kRegBinary, std::string(9, '\0'), cannotGet, 0},
        {kRegSz, "4573100", badType, 0},  // 8 bytes with the terminator
        {kRegDword, std::string(4, '\0'), badType, 0},
        {kRegSz, "a long text", cannotGet, 0},
        {kRegBinary, Double(45731.5), "", 45731},
        {kRegBinary, Double(2958466), "", 0},                         // after 31.12.9999
        {kRegBinary, std::string("\0\0\0\0\0\0\xF8\x7F", 8), "", 0},  // NaN
    };
    for (const Case& c : cases) {
        Put(kTurnierKey, "Datum", c.type, c.type == kRegSz ? c.data + '\0' : c.data);
        tTurnierData t{"alt", 1, "alt", "alt"};
        EXPECT_EQ(FailureOf([&] { LoadTurnier(t); }), c.failure) << c.data.size();
        EXPECT_EQ(t.Bezeichnung, "Cup");
        EXPECT_EQ(t.Datum, c.failure.empty() ? c.day : 1);
        EXPECT_EQ(t.Ort, c.failure.empty() ? "" : "alt");
    }
}

TEST_P(StoreScenario, TextsOfAnotherTypeStopTheLoadThere) {
    SaveAbsender({"V", "N", "S", "P", "O", "T1", "T2", "F", "M", "E"});
    Put(kAbsenderKey, "Ort", kRegDword, std::string(4, '\1'));
    tAbsenderData a{"", "", "", "", "alt", "alt", "alt", "alt", "alt", "alt"};
    EXPECT_EQ(FailureOf([&] { LoadAbsender(a); }), Win1252("Ungültiger Datentyp für 'Ort'"));
    EXPECT_EQ(a.Vorname, "V");
    EXPECT_EQ(a.PLZ, "P");
    EXPECT_EQ(a.Ort, "alt");
    EXPECT_EQ(a.Email, "alt");

    // Expandable texts count as texts, a zero-size value of any type as empty, and a text
    // ends at its first zero byte, terminated or not.
    Put(kAbsenderKey, "Ort", kRegExpandSz, std::string("%ORT%", 6));
    Put(kAbsenderKey, "Telefonp", kRegDword, "");
    Put(kAbsenderKey, "Mobil", kRegSz, "");
    Put(kAbsenderKey, "Telefond", kRegSz, std::string("12\0 34\0", 7));
    Put(kAbsenderKey, "Telefax", kRegSz, "ohne Ende");
    LoadAbsender(a);
    EXPECT_EQ(a.Ort, "%ORT%");
    EXPECT_EQ(a.Telefonp, "");
    EXPECT_EQ(a.Telefond, "12");
    EXPECT_EQ(a.Telefax, "ohne Ende");
    EXPECT_EQ(a.Mobil, "");
    EXPECT_EQ(Stored(kAbsenderPath, "Mobil"), std::make_pair(kRegSz, std::string()));
}

TEST_P(StoreScenario, SortierbezeichnungIsWrittenEmptyAndNeverRead) {
    Put(kVereinKey, "Sortierbezeichnung", kRegSz, std::string("Alt\0", 4));
    SaveVerein({"Club", "1", "", "", "", "", ""});
    const RegValue sort = Get(kVereinKey, "Sortierbezeichnung");
    EXPECT_EQ(sort.type, kRegSz);
    EXPECT_EQ(sort.data, std::string(1, '\0'));

    // A value that would fail to load shows that the load skips it.
    Put(kVereinKey, "Sortierbezeichnung", kRegDword, std::string(4, '\0'));
    tVereinData v;
    LoadVerein(v);
    EXPECT_EQ(v.Vereinsname, "Club");
    EXPECT_EQ(v.Vereinsnummer, "1");
}

TEST_P(StoreScenario, ShowIntroFallsBackToShowing) {
    EXPECT_TRUE(ReadShowIntro());
    EXPECT_TRUE(backend_->KeyExists(kAdvertPath));
    WriteShowIntro(false);
    EXPECT_FALSE(ReadShowIntro());
    EXPECT_EQ(Stored(kAdvertPath, "ShowIntro"), std::make_pair(kRegDword, std::string(4, '\0')));
    WriteShowIntro(true);
    EXPECT_TRUE(ReadShowIntro());
    const std::pair<RegType, std::string> notADword[] = {
        {kRegSz, std::string(2, '\0')},
        {kRegBinary, std::string(4, '\0')},
        {kRegDword, std::string(2, '\0')},
    };
    for (const auto& [type, data] : notADword) {
        Put(kAdvertKey, "ShowIntro", type, data);
        EXPECT_TRUE(ReadShowIntro()) << type;
    }
}

TEST_P(StoreScenario, EveryTypeRoundTripsThroughTheSeam) {
    std::string bytes;
    for (int i = 0; i < 300; ++i)
        bytes += static_cast<char>(i);
    const std::pair<RegType, std::string> values[] = {
        {kRegSz, Win1252("Grüße \"x\" \\ y") + '\0'},
        {kRegSz, ""},
        {kRegExpandSz, std::string("%APPDATA%\\Kivrel\0", 18)},
        {kRegBinary, bytes},
        {kRegBinary, ""},
        {kRegDword, std::string("\x2A\0\0\x80", 4)},
        {7, std::string("a\0b\0\0", 5)},
        {11, std::string(8, '\x7F')},
    };
    auto key = RegistryKey::Open("\\Software\\NORDALKE\\QVTR\\Typen");
    ASSERT_TRUE(key);
    for (std::size_t i = 0; i < std::size(values); ++i)
        ASSERT_TRUE(key->Write("v" + std::to_string(i), values[i].first, values[i].second));
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const RegValue value = key->Read("V" + std::to_string(i), 1000);  // names ignore case
        EXPECT_EQ(value.status, RegStatus::Ok) << i;
        EXPECT_EQ(value.type, values[i].first) << i;
        EXPECT_EQ(value.data, values[i].second) << i;
    }
    const RegValue info = key->QueryInfo("v3");
    EXPECT_EQ(info.status, RegStatus::Ok);
    EXPECT_EQ(info.size, 300u);
    EXPECT_EQ(info.data, "");
    const RegValue small = key->Read("v3", 299);
    EXPECT_EQ(small.status, RegStatus::TooLarge);
    EXPECT_EQ(small.size, 300u);
    EXPECT_EQ(key->Read("fehlt", 10).status, RegStatus::Missing);
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreScenario, testing::ValuesIn(test::StoreBackends()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kivrel
