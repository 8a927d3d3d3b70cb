#include "mapi_recorder.h"

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
        f.hasFileType = desc.lpFileType != nullptr;
        mail.files.push_back(f);
    }
    return gRecorder.answer;
}

MapiRecorder* __cdecl KivrelMapiRecorder() {
    return &gRecorder;
}

}  // extern "C"
