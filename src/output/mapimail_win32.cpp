#include <windows.h>
// mapi.h needs the Windows types first.
#include <mapi.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/cp1252.h"
#include "output/mapimail.h"
#include "output/mapimail_win32.h"
#include "output/mapiparts.h"

namespace kivrel {

static_assert(kMapiOrig == MAPI_ORIG && kMapiTo == MAPI_TO);
static_assert(kMapiLogonUi == MAPI_LOGON_UI && kMapiDialog == MAPI_DIALOG);
static_assert((MAPI_LOGON_UI | MAPI_DIALOG) == 9);
static_assert(kMapiUserAbort == MAPI_E_USER_ABORT);
static_assert(kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ && kRegDword == REG_DWORD);

namespace {

constexpr const char* kMapiLibrary = "MAPI32.DLL";

std::string& MapiLibraryName() {
    static std::string name = kMapiLibrary;
    return name;
}

using SendMailFunction = ULONG(WINAPI*)(LHANDLE, ULONG_PTR, lpMapiMessage, FLAGS, ULONG);

// Simple MAPI declares its texts writable but only reads them.
LPSTR Text(const char* text) {
    return const_cast<LPSTR>(text);
}

MapiRecipDesc RecipDesc(const MapiRecipFields& fields) {
    MapiRecipDesc desc{};
    desc.ulRecipClass = fields.RecipClass;
    desc.lpszName = Text(fields.Name);
    desc.lpszAddress = Text(fields.Address);
    return desc;
}

// The structures MAPISendMail reads, kept together so their pointers stay valid.
struct MapiMessageStorage {
    explicit MapiMessageStorage(const MapiMessageFields& fields) {
        message.lpszSubject = Text(fields.Subject);
        message.lpszNoteText = Text(fields.NoteText);
        if (fields.Originator) {
            originator = RecipDesc(*fields.Originator);
            message.lpOriginator = &originator;
        }
        for (const auto& r : fields.Recips)
            recips.push_back(RecipDesc(r));
        for (const auto& f : fields.Files) {
            MapiFileDesc desc{};
            desc.flFlags = f.Flags;
            desc.nPosition = f.Position;
            desc.lpszPathName = Text(f.PathName);
            desc.lpszFileName = f.FileName ? Text(f.FileName) : nullptr;
            files.push_back(desc);
        }
        message.nRecipCount = static_cast<ULONG>(recips.size());
        message.lpRecips = recips.empty() ? nullptr : recips.data();
        message.nFileCount = static_cast<ULONG>(files.size());
        message.lpFiles = files.empty() ? nullptr : files.data();
    }
    MapiMessageStorage(const MapiMessageStorage&) = delete;
    MapiMessageStorage& operator=(const MapiMessageStorage&) = delete;

    MapiMessage message{};
    MapiRecipDesc originator{};
    std::vector<MapiRecipDesc> recips;
    std::vector<MapiFileDesc> files;
};

class Library {
public:
    explicit Library(const char* fileName) : module_(LoadLibraryA(fileName)) {}
    ~Library() {
        if (module_)
            FreeLibrary(module_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

class RegistryKey {
public:
    // Opens an existing key for reading, of the local machine hive unless told otherwise;
    // never creates one.
    explicit RegistryKey(const char* path, HKEY hive = HKEY_LOCAL_MACHINE) {
        if (RegOpenKeyExA(hive, path, 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~RegistryKey() {
        if (key_)
            RegCloseKey(key_);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    bool opened() const { return key_ != nullptr; }

    // The type and raw bytes of a value; "" names the default value.
    std::optional<std::pair<DWORD, std::string>> Value(const char* name) const {
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        std::string data(size, '\0');
        if (size > 0 &&
            RegQueryValueExA(key_, name, nullptr, &type, reinterpret_cast<LPBYTE>(data.data()),
                             &size) != ERROR_SUCCESS) {
            return std::nullopt;
        }
        data.resize(size);
        return std::make_pair(type, std::move(data));
    }

private:
    HKEY key_ = nullptr;
};

// The ANSI code page's spelling of text; nullopt when it lacks a letter of it.
std::optional<std::string> Ansi(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    BOOL lossy = FALSE;
    if (size <= 0 ||
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.c_str(),
                            static_cast<int>(text.size()), out.data(), size, nullptr,
                            &lossy) != size ||
        lossy)
        return std::nullopt;
    return out;
}

// Simple MAPI takes ANSI names. A path that the code page cannot spell goes by its short
// name, which is plain ASCII where the volume keeps short names; the mail then names the
// attachment by its own name (longName), which is the entry's and so spelled whenever the
// folder alone is foreign.
std::string AnsiFileName(const tPath& path, std::string& longName) {
    if (auto ansi = Ansi(path.native()))
        return *ansi;
    longName = Ansi(path.filename().native()).value_or(std::string());
    std::wstring shortName(32768, L'\0');
    const DWORD n =
        GetShortPathNameW(path.c_str(), shortName.data(), static_cast<DWORD>(shortName.size()));
    shortName.resize(n < shortName.size() ? n : 0);
    if (auto ansi = Ansi(shortName); ansi && !ansi->empty())
        return *ansi;
    const std::u8string utf8 = path.u8string();
    return Utf8ToCp1252Shown(
        std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

// The default value of a key as text; empty when the key or the value is missing.
std::string DefaultText(const char* path, HKEY hive = HKEY_LOCAL_MACHINE) {
    const RegistryKey key(path, hive);
    if (!key.opened())
        return {};
    const auto value = key.Value("");
    if (!value)
        return {};
    return RegistryText(value->first, value->second).value_or(std::string());
}

std::string MailtoCommand() {
    return DefaultText("Software\\Classes\\Mailto\\Shell\\Open\\Command");
}

// Whether MAPI32.DLL has a client to hand Simple MAPI to: the one the user chose, else the
// machine's, with its provider library named. A client installed for one user only is
// chosen there, not in the mailto key.
bool MapiClientNamed() {
    const std::string clients = "Software\\Clients\\Mail";
    std::string name = DefaultText(clients.c_str(), HKEY_CURRENT_USER);
    if (name.empty())
        name = DefaultText(clients.c_str());
    if (name.empty())
        return false;
    const RegistryKey client((clients + "\\" + name).c_str());
    if (!client.opened())
        return false;
    for (const char* library : {"DLLPathEx", "DLLPath"}) {
        const auto value = client.Value(library);
        if (value && !RegistryText(value->first, value->second).value_or(std::string()).empty())
            return true;
    }
    return false;
}

OutlookExpressSetting ReadOutlookExpress() {
    OutlookExpressSetting setting;
    const RegistryKey key("Software\\Microsoft\\Outlook Express");
    setting.KeyOpened = key.opened();
    if (setting.KeyOpened) {
        if (const auto value = key.Value("SMapi"))
            setting.SMapi = RegistryInteger(value->first, value->second);
    }
    return setting;
}

}  // namespace

tHandOver HandOverMail(const MailRequest& mail) {
    std::vector<std::string> fileNames;
    std::vector<std::string> longNames(mail.Attachments.size());
    for (std::size_t i = 0; i < mail.Attachments.size(); ++i)
        fileNames.push_back(AnsiFileName(mail.Attachments[i], longNames[i]));
    MapiMessageStorage storage(MapiMessageFor(mail, fileNames, longNames));

    // Loaded anew for each mail, so a mail client installed meanwhile is found.
    const Library library(MapiLibraryName().c_str());
    if (!library.get())
        return {-1, false, false};
    const FARPROC entry = GetProcAddress(library.get(), "MAPISendMail");
    if (!entry)
        return {1, false, false};
    // Through void(*)(), which converts to any function type without a warning.
    const auto sendMail = reinterpret_cast<SendMailFunction>(reinterpret_cast<void (*)()>(entry));
    // The client's windows belong to the main window, also when another program is in
    // front and no window of ours is active.
    const ULONG code = sendMail(0, static_cast<ULONG_PTR>(MailParentWindow()), &storage.message,
                                MAPI_LOGON_UI | MAPI_DIALOG, 0);
    return {static_cast<int>(code), true, code == MAPI_E_USER_ABORT};
}

void SetMapiLibraryName(const std::string& fileName) {
    MapiLibraryName() = fileName.empty() ? kMapiLibrary : fileName;
}

bool MapiClientAvailable() {
    return MapiClientNamed() || MailClientRegistered(MailtoCommand(), ReadOutlookExpress);
}

}  // namespace kivrel
