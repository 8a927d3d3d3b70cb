// The store file of systems without a registry: its exact form, other files it meets, and
// other processes using it at the same time.

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>

#include "base/cp1252.h"
#include "base/error.h"
#include "base/messages.h"
#include "base/path.h"
#include "details/registry.h"
#include "details/registryfile.h"
#include "details/storeddetails.h"
#include "store_backend_posix.h"
#include "store_fixture.h"

namespace kivrel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::WithCrLf;

std::vector<std::string> FilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StoreFile, GoldenFileOfTheThreeKeys) {
    test::PosixStore store;
    SaveVerein({Win1252("JC Süd"), "0815", "Kreis", "Bezirk", "Land", "", "GER"});
    SaveAbsender({Win1252("Jürgen"), Win1252("Müller"), "Weg \"A\" 1", "01234", Win1252("Köln"),
                  "0221 1", "", "", "", "j@example.org"});
    SaveTurnier({"Pokal \\ Nord", 45731, Win1252("Görlitz"), "meldung@example.org"});
    const std::string expected = Win1252(WithCrLf(R"(REGEDIT4

[HKEY_CURRENT_USER\Software]

[HKEY_CURRENT_USER\Software\NORDALKE]

[HKEY_CURRENT_USER\Software\NORDALKE\QVTR]

[HKEY_CURRENT_USER\Software\NORDALKE\QVTR\Absender]
"Vorname"="Jürgen"
"Nachname"="Müller"
"Strasse"="Weg \"A\" 1"
"PLZ"="01234"
"Ort"="Köln"
"Telefonp"="0221 1"
"Telefond"=""
"Telefax"=""
"Mobil"=""
"Email"="j@example.org"

[HKEY_CURRENT_USER\Software\NORDALKE\QVTR\Turnier]
"Bezeichnung"="Pokal \\ Nord"
"Datum"=hex:00,00,00,00,60,54,e6,40
"Ort"="Görlitz"
"Email"="meldung@example.org"

[HKEY_CURRENT_USER\Software\NORDALKE\QVTR\Verein]
"Vereinsname"="JC Süd"
"Sortierbezeichnung"=""
"Vereinsnummer"="0815"
"Kreis"="Kreis"
"Bezirk"="Bezirk"
"Land"="Land"
"Gruppe"=""
"Nation"="GER"

)"));
    EXPECT_EQ(test::ReadFileBytes(store.file()), expected);
    EXPECT_EQ(FilesIn(store.folder()),
              (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

// The Windows tests hand this file to the registry editor; it must stay what the backend
// writes. KIVREL_UPDATE_FIXTURES=1 rewrites it after a wanted change of the file form.
TEST(StoreFile, TheRegistryEditorsFixtureIsWhatTheBackendWrites) {
    test::PosixStore store;
    test::SaveStoreFixture();
    const std::string written = test::ReadFileBytes(store.file());
    if (std::getenv("KIVREL_UPDATE_FIXTURES"))
        test::WriteFileBytes(KIVREL_STORE_FIXTURE, written);
    EXPECT_EQ(written, test::ReadFileBytes(KIVREL_STORE_FIXTURE))
        << "after a wanted change of the file form: KIVREL_UPDATE_FIXTURES=1 rewrites it";
}

TEST(StoreFile, EveryTypeTakesTheEditorsForm) {
    test::PosixStore store;
    auto key = RegistryKey::Open("\\Software\\Formen\\");
    ASSERT_TRUE(key);
    const std::string shellState(
        "\x24\0\0\0\x3c\x28\0\0\0\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0\x13\0\0\0"
        "\0\0\0\0\x72\0\0\0",
        36);
    const std::pair<const char*, std::pair<RegType, std::string>> values[] = {
        {"Leer", {kRegSz, ""}},
        {"Null", {kRegSz, std::string("a\0b\0", 4)}},
        {"Zeilen", {kRegSz, std::string("a\r\nb\0", 5)}},
        {"Pfad", {kRegExpandSz, std::string("%A%\0", 4)}},
        {"Zahl", {kRegDword, std::string("\x2a\0\0\x80", 4)}},
        {"Kurz", {kRegDword, "\1\2"}},
        {"Multi", {7, std::string("a\0\0", 3)}},
        {"Name \"mit\" \\", {kRegSz, std::string("x\0", 2)}},
        {"", {kRegSz, std::string("d\0", 2)}},
        {"ShellState", {kRegBinary, shellState}},
        {"Lang", {kRegBinary, std::string(60, '\xff')}},
    };
    for (const auto& [name, value] : values)
        ASSERT_TRUE(key->Write(name, value.first, value.second));
    EXPECT_FALSE(key->Write("zwei\nZeilen", kRegSz, ""));

    const std::string ff25 =
        "ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff";
    EXPECT_EQ(test::ReadFileBytes(store.file()), WithCrLf(R"(REGEDIT4

[HKEY_CURRENT_USER\Software]

[HKEY_CURRENT_USER\Software\Formen]
"Leer"=hex(1):
"Null"=hex(1):61,00,62,00
"Zeilen"=hex(1):61,0d,0a,62,00
"Pfad"=hex(2):25,41,25,00
"Zahl"=dword:8000002a
"Kurz"=hex(4):01,02
"Multi"=hex(7):61,00,00
"Name \"mit\" \\"="x"
@="d"
"ShellState"=hex:24,00,00,00,3c,28,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  01,00,00,00,13,00,00,00,00,00,00,00,72,00,00,00
"Lang"=hex:)" + ff25.substr(0, 22 * 3) + "\\\n  " + ff25 + ",\\\n  " +
                                                          ff25.substr(0, 13 * 3 - 1) + "\n\n"));
    for (const auto& [name, value] : values) {
        const RegValue back = key->Read(name, 100);
        EXPECT_EQ(back.type, value.first) << name;
        EXPECT_EQ(back.data, value.second) << name;
    }
}

TEST(RegFile, ReadsWhatTheEditorAccepts) {
    // Bare CR and LF line ends, comments, blanks, upper-case hex, a section given twice, and
    // key and value names that differ only in case, and line breaks escaped in a text as the
    // editor exports them.
    const auto parsed = ParseRegFile(
        "REGEDIT4\n; comment\r[hkey_current_user\\Software\\A]\n \"X\" = dword:0000002A\r\n"
        "[HKEY_CURRENT_USER\\SOFTWARE\\a\\B]\r\n\r\n@=\"d\"\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n"
        "\"x\"=hex:0A, 0b,\\\r\n    0C\r\n\"Zeilen\"=\"a\\r\\nb\"\r\n");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(FormatRegFile(parsed->hive), WithCrLf(R"(REGEDIT4

[HKEY_CURRENT_USER\Software]

[HKEY_CURRENT_USER\Software\A]
"X"=hex:0a,0b,0c
"Zeilen"=hex(1):61,0d,0a,62,00

[HKEY_CURRENT_USER\Software\A\B]
@="d"

)"));
    EXPECT_TRUE(parsed->hive.FindKey("SOFTWARE\\a\\b"));
    // A name could not be written back with a line break in it.
    EXPECT_FALSE(ParseRegFile("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"a\\nb\"=\"\"\r\n"));
}

std::string Utf16File(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

TEST(StoreFile, ReadsTheEditorsVersion5Export) {
    const std::u16string_view body =
        u"\r\n; exported\r\n[HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR\\Absender]\r\n"
        u"\"Vorname\"=\"Jürgen \\\"J\\\"\"\r\n\"Strasse\"=hex(2):4b,00,f6,00,00,00\r\n"
        u"\"Ort\"=\"";
    for (const std::u16string_view ort : {u"Köln", u"Łódź"}) {
        test::PosixStore store;
        fs::create_directories(store.folder());
        const std::string original =
            Utf16File(std::u16string(u"Windows Registry Editor Version 5.00") +
                      std::u16string(body) + std::u16string(ort) +
                      u"\"\r\n\r\n[HKEY_CURRENT_USER\\Software\\NORDALKE\\QVTR\\Advert]\r\n"
                      u"\"ShowIntro\"=dword:00000000\r\n");
        test::WriteFileBytes(store.file(), original);
        tAbsenderData a;
        LoadAbsender(a);
        EXPECT_EQ(a.Vorname, Win1252("Jürgen \"J\""));
        EXPECT_EQ(a.Strasse, Win1252("Kö"));
        const bool exact = ort == u"Köln";
        EXPECT_EQ(a.Ort, exact ? Win1252("Köln") : Win1252("?ód?"));
        EXPECT_FALSE(ReadShowIntro());

        // Rewritten in the 8-bit form, a file that does not fit it stays beside as it was.
        SaveAbsender(a);
        const auto files = FilesIn(store.folder());
        ASSERT_EQ(files.size(), exact ? 2u : 3u);
        EXPECT_TRUE(store.Parsed());
        if (!exact) {
            EXPECT_EQ(files[2].rfind("HKEY_CURRENT_USER.reg.original-", 0), 0u);
            EXPECT_EQ(test::ReadFileBytes(store.folder() / files[2]), original);
        }
    }
}

TEST(StoreFile, HostileFilesNeverLoseData) {
    const std::string header = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Fremd]\r\n";
    std::string junk;
    std::mt19937 random(5);
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>(random());
    std::string hugeHex = header + "\"a\"=hex:";
    for (int i = 0; i < 350000; ++i)
        hugeHex += "ab,";
    hugeHex += "cd\r\n";
    const struct {
        const char* what;
        std::string bytes;
        bool parsable;
    } cases[] = {
        {"empty", "", true},
        {"cut inside a text", header + "\"Vereinsname\"=\"Al", false},
        {"cut inside a hex list", header + "\"b\"=hex:01,\\\r\n", false},
        {"binary junk", junk, false},
        {"a line of 1 MB", header + "\"a\"=" + std::string(1 << 20, 'z') + "\r\n", false},
        {"1 MB of hex on one line", hugeHex, true},
        {"unknown types",
         header + "\"m\"=hex(7):61,00,00\r\n\"q\"=hex(b):01,02,03,04,05,06,07,08\r\n"
                  "\"z\"=hex(ffff0000):\r\n",
         true},
        {"a form the editor does not know", header + "\"q\"=qword:1\r\n", false},
        {"a deletion", header + "\"q\"=-\r\n", false},
        {"another hive", "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\Software]\r\n", false},
        {"UTF-16 cut inside a character", std::string("\xFF\xFER\0E\0G", 7), false},
        {"no header", "[HKEY_CURRENT_USER\\Software]\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::PosixStore store;
        fs::create_directories(store.folder());
        test::WriteFileBytes(store.file(), c.bytes);
        const auto before = ParseRegFile(c.bytes);
        ASSERT_EQ(before.has_value(), c.parsable);

        tVereinData v{"alt", "alt", "alt", "alt", "alt", "alt", "alt"};
        EXPECT_NO_THROW(LoadVerein(v));
        EXPECT_EQ(v.Vereinsname, "");  // no such value, or the store went on empty
        EXPECT_NO_THROW(SaveVerein({"Neu", "", "", "", "", "", ""}));
        const auto after = store.Parsed();
        ASSERT_TRUE(after);
        EXPECT_TRUE(after->FindKey("Software\\NORDALKE\\QVTR\\Verein"));

        const auto files = FilesIn(store.folder());
        if (c.parsable) {
            EXPECT_EQ(files.size(), 2u);
            for (const auto& [path, key] : before->hive.Keys()) {
                for (const auto& value : key.Values()) {
                    const auto* kept = after->FindKey(path)->Find(value.name);
                    ASSERT_TRUE(kept) << path << " " << value.name;
                    EXPECT_EQ(*kept, value);
                }
            }
        } else {
            ASSERT_EQ(files.size(), 3u);
            EXPECT_EQ(files[2].rfind("HKEY_CURRENT_USER.reg.unreadable-", 0), 0u);
            EXPECT_EQ(test::ReadFileBytes(store.folder() / files[2]), c.bytes);
        }
    }
}

// A store that cannot be written says so once, naming its folder.
void ExpectOneStoreWarning(const ScriptedBoxes& boxes, const fs::path& folder) {
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].kind, MessageKind::Warning);
    EXPECT_NE(boxes.shown()[0].text.find("\"" + PathText(folder) + "\""), std::string::npos)
        << boxes.shown()[0].text;
}

TEST(StoreFile, AFolderOrPipeInPlaceOfTheFileIsLeftAlone) {
    for (const bool pipe : {false, true}) {
        ScriptedBoxes boxes;
        test::PosixStore store;
        fs::create_directories(store.folder());
        if (pipe) {
            ASSERT_EQ(::mkfifo(store.file().c_str(), 0600), 0);
        } else {
            fs::create_directory(store.file());
            test::WriteFileBytes(store.file() / "inside", "keep");
        }
        tVereinData v{"alt", "alt", "alt", "alt", "alt", "alt", "alt"};
        EXPECT_NO_THROW(LoadVerein(v));
        EXPECT_EQ(v.Vereinsname, "alt");
        EXPECT_NO_THROW(SaveVerein(v));
        EXPECT_NO_THROW(SaveAbsender({}));  // still the one warning
        ExpectOneStoreWarning(boxes, store.folder());
        EXPECT_TRUE(ReadShowIntro());
        EXPECT_EQ(fs::symlink_status(store.file()).type(),
                  pipe ? fs::file_type::fifo : fs::file_type::directory);
        if (!pipe) {
            EXPECT_EQ(test::ReadFileBytes(store.file() / "inside"), "keep");
        }
    }
}

// A child process that holds the store's lock, until this object goes or for a while.
class LockHolder {
public:
    LockHolder(const fs::path& lockFile, int releaseAfterMs = -1) {
        int ready[2];
        if (::pipe(ready) != 0 || ::pipe(release_) != 0)
            throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(release_[1]);
            const int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
            if (fd < 0 || ::flock(fd, LOCK_EX) != 0 || ::write(ready[1], "x", 1) != 1)
                ::_exit(1);
            char c;
            if (releaseAfterMs >= 0)
                ::usleep(static_cast<useconds_t>(releaseAfterMs) * 1000);
            else
                (void)!::read(release_[0], &c, 1);  // returns when the parent closes its end
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(release_[0]);
        char c;
        (void)!::read(ready[0], &c, 1);
        ::close(ready[0]);
    }
    ~LockHolder() {
        ::close(release_[1]);
        ::waitpid(pid_, nullptr, 0);
    }

private:
    int release_[2] = {-1, -1};
    pid_t pid_ = -1;
};

TEST(StoreFile, ALockHeldElsewhereIsWaitedForAWhileOnly) {
    test::PosixStore store;
    SaveVerein({"Alt", "", "", "", "", "", ""});
    const std::string before = test::ReadFileBytes(store.file());
    const fs::path lock = store.file().string() + ".lock";
    {
        ScriptedBoxes boxes;
        const LockHolder holder(lock);
        const auto start = std::chrono::steady_clock::now();
        tVereinData v{"mine", "", "", "", "", "", ""};
        EXPECT_NO_THROW(LoadVerein(v));
        EXPECT_NO_THROW(SaveVerein({"Neu", "", "", "", "", "", ""}));
        EXPECT_EQ(v.Vereinsname, "mine");
        ExpectOneStoreWarning(boxes, store.folder());
        // Five seconds for each of the two accesses.
        const auto waited = std::chrono::steady_clock::now() - start;
        EXPECT_GE(waited, 10s);
        EXPECT_LT(waited, 20s);
        EXPECT_EQ(test::ReadFileBytes(store.file()), before);
    }
    {
        const LockHolder holder(lock, 300);
        SaveVerein({"Neu", "", "", "", "", "", ""});
    }
    tVereinData v;
    LoadVerein(v);
    EXPECT_EQ(v.Vereinsname, "Neu");
}

int ExitCodeOf(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(StoreFile, TwoProcessesSavingAtOnceBothLandWhole) {
    test::PosixStore store;
    int go[2];
    ASSERT_EQ(::pipe(go), 0);
    pid_t children[2];
    for (int who = 0; who < 2; ++who) {
        children[who] = ::fork();
        if (children[who] == 0) {
            ::close(go[1]);
            char c;
            (void)!::read(go[0], &c, 1);  // both start when the parent closes the pipe
            try {
                for (int i = 0; i < 10; ++i) {
                    const std::string n = std::to_string(i);
                    if (who == 0)
                        SaveVerein({"V" + n, n, n, n, n, n, n});
                    else
                        SaveAbsender({"A" + n, n, n, n, n, n, n, n, n, n});
                    // One value per save that nothing overwrites, so a lost change shows.
                    auto marks = RegistryKey::Open("\\Software\\Marken");
                    if (!marks || !marks->Write(std::to_string(who) + "-" + n, kRegSz, ""))
                        ::_exit(3);
                }
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
    }
    ::close(go[0]);
    ::close(go[1]);
    EXPECT_EQ(ExitCodeOf(children[0]), 0);
    EXPECT_EQ(ExitCodeOf(children[1]), 0);

    tVereinData v;
    tAbsenderData a;
    LoadVerein(v);
    LoadAbsender(a);
    EXPECT_EQ(v.Vereinsname, "V9");
    EXPECT_EQ(v.Nation, "9");
    EXPECT_EQ(a.Vorname, "A9");
    EXPECT_EQ(a.Email, "9");
    const auto hive = store.Parsed();
    ASSERT_TRUE(hive);
    EXPECT_EQ(hive->FindKey("Software\\Marken")->Values().size(), 20u);
    EXPECT_EQ(FilesIn(store.folder()).size(), 2u);
}

TEST(StoreFile, AStoreThatCannotBeWrittenIsToldOnceAlsoWhereItsKeysExist) {
    test::PosixStore store;
    SaveTurnier({"Alt", 45731, "O", "E"});
    const std::string before = test::ReadFileBytes(store.file());
    // A file size limit makes every write fail, also for root; it is set in a child only.
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{16, RLIM_INFINITY};
        bool ok = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        try {
            // The key is there, its values cannot be written; then a key that would have to
            // be made: one warning for both, no error box.
            ScriptedBoxes boxes;
            SaveTurnier({"Neu", 1, "", ""});
            SaveVerein({"x", "", "", "", "", "", ""});
            ok = ok && boxes.shown().size() == 1 && boxes.shown()[0].kind == MessageKind::Warning;
        } catch (...) {
            ok = false;
        }
        ::_exit(ok ? 0 : 1);
    }
    EXPECT_EQ(ExitCodeOf(child), 0);
    EXPECT_EQ(test::ReadFileBytes(store.file()), before);
}

}  // namespace
}  // namespace kivrel
