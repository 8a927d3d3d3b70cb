#include "mapi_recorder.h"

#include <cstdio>
#include <cstdlib>

namespace kivrel::test {

namespace {

MapiRecorder gRecorder;

std::string Text(LPCSTR text) {
    return text ? std::string(text) : std::string();
}

RecordedRecip Recip(const MapiRecipDesc& desc) {
    RecordedRecip r;
    r.reserved = desc.ulReserved;
    r.recipClass = desc.ulRecipClass;
    r.hasName = desc.lpszName != nullptr;
    r.name = Text(desc.lpszName);
    r.hasAddress = desc.lpszAddress != nullptr;
    r.address = Text(desc.lpszAddress);
    r.entryIdSize = desc.ulEIDSize;
    r.hasEntryId = desc.lpEntryID != nullptr;
    return r;
}

// For a test that drives the whole program from outside: each hand-over is appended to the
// file that KIVREL_MAPI_RECORD names, as the bytes arrived (Windows-1252), body last.
void Append(const RecordedMail& mail) {
    const char* path = std::getenv("KIVREL_MAPI_RECORD");
    if (!path || !*path)
        return;
    FILE* file = std::fopen(path, "ab");
    if (!file)
        return;
    std::fprintf(file, "Flags: %lu\n", static_cast<unsigned long>(mail.flags));
    std::fprintf(file, "Originator: %s\n", mail.hasOriginator ? "yes" : "none");
    for (const RecordedRecip& r : mail.recips)
        std::fprintf(file, "Recipient: %lu %s <%s>\n", static_cast<unsigned long>(r.recipClass),
                     r.name.c_str(), r.address.c_str());
    for (const RecordedFile& f : mail.files)
        std::fprintf(file, "Attachment: %ld %s%s\n", static_cast<long>(f.position),
                     f.pathName.c_str(), f.hasFileName ? " (with a file name)" : "");
    std::fprintf(file, "Subject: %s\nBody: %zu\n", mail.subject.c_str(), mail.noteText.size());
    std::fwrite(mail.noteText.data(), 1, mail.noteText.size(), file);
    std::fputs("\n", file);
    std::fclose(file);
}

// For the same test: the code to answer with, read at each call from the file that
// KIVREL_MAPI_ANSWER names ("2" is MAPI_E_FAILURE, "1" the user's cancel); without one, the
// recorder's own answer.
ULONG Answer() {
    const char* path = std::getenv("KIVREL_MAPI_ANSWER");
    FILE* file = path && *path ? std::fopen(path, "rb") : nullptr;
    if (!file)
        return gRecorder.answer;
    unsigned long code = gRecorder.answer;
    if (std::fscanf(file, "%lu", &code) != 1)
        code = gRecorder.answer;
    std::fclose(file);
    return static_cast<ULONG>(code);
}

}  // namespace

}  // namespace kivrel::test

using namespace kivrel::test;

extern "C" {

ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR uiParam, lpMapiMessage message, FLAGS flags,
                          ULONG reserved) {
    ++gRecorder.calls;
    RecordedMail& mail = gRecorder.last;
    mail = RecordedMail();
    mail.session = session;
    mail.uiParam = uiParam;
    mail.flags = flags;
    mail.reserved = reserved;
    if (!message)
        return MAPI_E_FAILURE;
    mail.messageReserved = message->ulReserved;
    mail.hasSubject = message->lpszSubject != nullptr;
    mail.subject = Text(message->lpszSubject);
    mail.hasNoteText = message->lpszNoteText != nullptr;
    mail.noteText = Text(message->lpszNoteText);
    mail.hasMessageType = message->lpszMessageType != nullptr;
    mail.hasDateReceived = message->lpszDateReceived != nullptr;
    mail.hasConversationId = message->lpszConversationID != nullptr;
    mail.messageFlags = message->flFlags;
    mail.hasOriginator = message->lpOriginator != nullptr;
    if (message->lpOriginator)
        mail.originator = Recip(*message->lpOriginator);
    mail.recipCount = message->nRecipCount;
    mail.hasRecips = message->lpRecips != nullptr;
    for (ULONG i = 0; message->lpRecips && i < message->nRecipCount; ++i)
        mail.recips.push_back(Recip(message->lpRecips[i]));
    mail.fileCount = message->nFileCount;
    mail.hasFiles = message->lpFiles != nullptr;
    for (ULONG i = 0; message->lpFiles && i < message->nFileCount; ++i) {
        const MapiFileDesc& desc = message->lpFiles[i];
        RecordedFile f;
        f.reserved = desc.ulReserved;
        f.flags = desc.flFlags;
        f.position = desc.nPosition;
        f.hasPathName = desc.lpszPathName != nullptr;
        f.pathName = Text(desc.lpszPathName);
        f.hasFileName = desc.lpszFileName != nullptr;
        f.fileName = Text(desc.lpszFileName);
        f.hasFileType = desc.lpFileType != nullptr;
        mail.files.push_back(f);
    }
    Append(mail);
    return Answer();
}

MapiRecorder* __cdecl KivrelMapiRecorder() {
    return &gRecorder;
}

}  // extern "C"
