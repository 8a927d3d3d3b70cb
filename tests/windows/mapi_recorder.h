#pragma once

#include <windows.h>
// mapi.h needs the Windows types first.
#include <mapi.h>

#include <string>
#include <vector>

// A Simple MAPI provider of the tests' own, registered as the default mail client: it
// records every call of MAPISendMail and answers with the code it was told. The test loads
// the same DLL itself and reaches the record through KivrelMapiRecorder.
namespace kivrel::test {

struct RecordedRecip {
    ULONG reserved = 0;
    ULONG recipClass = 0;
    bool hasName = false;
    std::string name;
    bool hasAddress = false;
    std::string address;
    ULONG entryIdSize = 0;
    bool hasEntryId = false;
};

struct RecordedFile {
    ULONG reserved = 0;
    ULONG flags = 0;
    ULONG position = 0;
    bool hasPathName = false;
    std::string pathName;
    bool hasFileName = false;
    std::string fileName;
    bool hasFileType = false;
};

struct RecordedMail {
    LHANDLE session = 0;
    ULONG_PTR uiParam = 0;
    FLAGS flags = 0;
    ULONG reserved = 0;

    // The message as it arrived.
    ULONG messageReserved = 0;
    bool hasSubject = false;
    std::string subject;
    bool hasNoteText = false;
    std::string noteText;
    bool hasMessageType = false;
    bool hasDateReceived = false;
    bool hasConversationId = false;
    FLAGS messageFlags = 0;
    bool hasOriginator = false;
    RecordedRecip originator;
    ULONG recipCount = 0;
    bool hasRecips = false;
    std::vector<RecordedRecip> recips;
    ULONG fileCount = 0;
    bool hasFiles = false;
    std::vector<RecordedFile> files;
};

struct MapiRecorder {
    int calls = 0;
    RecordedMail last;
    ULONG answer = SUCCESS_SUCCESS;  // what MAPISendMail returns
};

// Exported by the recorder DLL under this name.
using KivrelMapiRecorderFunction = MapiRecorder*(__cdecl*)();
inline constexpr const char* kRecorderEntry = "KivrelMapiRecorder";

}  // namespace kivrel::test
