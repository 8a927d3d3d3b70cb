/* A small Windows console program for the Wine tests of the installed Kivrel: it sees the
 * program's windows as Windows holds them.
 *   winprobe windows            one line per visible top-level window of kivrel.exe:
 *                               caption, border styles, client size
 *   winprobe wait CAPTION SECS  exit 0 as soon as such a window has that caption
 *   winprobe box PROGRAM SECS [BUTTON]
 *                               waits for a dialog box of PROGRAM (say, uninstall.exe):
 *                               its caption and the texts in it, one a line; then clicks
 *                               the button so labelled, whichever window has the focus
 *   winprobe hold FILE          opens FILE, shared with no one, says "held" and keeps it
 *                               open until it is ended
 *   winprobe version FILE       the file's version from its version resource
 *   winprobe close CAPTION      asks the top-level window of that caption, whichever
 *                               program's, to close (a folder window of the shell's) */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

static char caption_utf8[1024];

static const char* Utf8(const wchar_t* text) {
    WideCharToMultiByte(CP_UTF8, 0, text, -1, caption_utf8, sizeof caption_utf8, NULL, NULL);
    return caption_utf8;
}

static int OfProgram(HWND window, const wchar_t* program) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process)
        return 0;
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    int ours = 0;
    if (QueryFullProcessImageNameW(process, 0, path, &size)) {
        const wchar_t* name = wcsrchr(path, L'\\');
        ours = _wcsicmp(name ? name + 1 : path, program) == 0;
    }
    CloseHandle(process);
    return ours;
}

struct Search {
    const char* caption; /* NULL: list every window */
    int found;
};

static BOOL CALLBACK Visit(HWND window, LPARAM data) {
    struct Search* search = (struct Search*)data;
    if (!IsWindowVisible(window) || !OfProgram(window, L"kivrel.exe"))
        return TRUE;
    wchar_t caption[512];
    GetWindowTextW(window, caption, 512);
    if (search->caption) {
        if (strcmp(Utf8(caption), search->caption) == 0)
            search->found = 1;
        return TRUE;
    }
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    const LONG exstyle = GetWindowLongW(window, GWL_EXSTYLE);
    RECT client;
    GetClientRect(window, &client);
    printf("%s\t%s%s%s%s%s%s\t%ldx%ld\n", Utf8(caption),
           (style & WS_CAPTION) == WS_CAPTION ? "caption " : "",
           style & WS_SYSMENU ? "sysmenu " : "", style & WS_MINIMIZEBOX ? "minimize " : "",
           style & WS_MAXIMIZEBOX ? "maximize " : "", style & WS_THICKFRAME ? "sizable " : "",
           exstyle & WS_EX_TOPMOST ? "topmost " : "", client.right - client.left,
           client.bottom - client.top);
    return TRUE;
}

/* A window found by its name: a dialog box by its program's file name, a button by its label. */
struct Lookup {
    const wchar_t* name;
    HWND found;
};

static BOOL CALLBACK VisitBox(HWND window, LPARAM data) {
    struct Lookup* box = (struct Lookup*)data;
    wchar_t type[64];
    GetClassNameW(window, type, 64);
    if (!IsWindowVisible(window) || wcscmp(type, L"#32770") != 0 || !OfProgram(window, box->name))
        return TRUE;
    box->found = window;
    return FALSE;
}

static BOOL CALLBACK VisitButton(HWND child, LPARAM data) {
    struct Lookup* button = (struct Lookup*)data;
    wchar_t text[256];
    GetWindowTextW(child, text, 256);
    if (wcscmp(text, button->name) != 0)
        return TRUE;
    button->found = child;
    return FALSE;
}

static BOOL CALLBACK PrintText(HWND child, LPARAM data) {
    (void)data;
    wchar_t text[2048];
    if (GetWindowTextW(child, text, 2048) > 0)
        printf("%s\n", Utf8(text));
    return TRUE;
}

/* Asks FOUND every 200 ms until it says yes or SECONDS have passed. */
static int WaitFor(int (*found)(void*), void* data, int seconds) {
    const DWORD end = GetTickCount() + 1000 * (DWORD)seconds;
    do {
        if (found(data))
            return 1;
        Sleep(200);
    } while (GetTickCount() < end);
    return 0;
}

static int CaptionShown(void* data) {
    struct Search* search = (struct Search*)data;
    EnumWindows(Visit, (LPARAM)search);
    return search->found;
}

static int BoxShown(void* data) {
    struct Lookup* box = (struct Lookup*)data;
    EnumWindows(VisitBox, (LPARAM)box);
    return box->found != NULL;
}

static int ShowBox(const wchar_t* program, int seconds, const wchar_t* label) {
    struct Lookup box = {program, NULL};
    if (!WaitFor(BoxShown, &box, seconds)) {
        fprintf(stderr, "no dialog box of %s\n", Utf8(program));
        return 1;
    }
    wchar_t caption[512];
    GetWindowTextW(box.found, caption, 512);
    printf("%s\n", Utf8(caption));
    EnumChildWindows(box.found, PrintText, 0);
    if (!label)
        return 0;
    struct Lookup button = {label, NULL};
    EnumChildWindows(box.found, VisitButton, (LPARAM)&button);
    if (!button.found) {
        fprintf(stderr, "no button \"%s\"\n", Utf8(label));
        return 1;
    }
    SendMessageW(button.found, BM_CLICK, 0, 0);
    return 0;
}

static int Hold(const wchar_t* file) {
    HANDLE held = CreateFileW(file, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (held == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot open %s\n", Utf8(file));
        return 1;
    }
    printf("held\n");
    fflush(stdout);
    Sleep(INFINITE);
    return 0;
}

static int Version(const wchar_t* file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file, &ignored);
    if (!size)
        return 1;
    void* data = malloc(size);
    VS_FIXEDFILEINFO* info = NULL;
    UINT length = 0;
    if (!GetFileVersionInfoW(file, 0, size, data) ||
        !VerQueryValueW(data, L"\\", (void**)&info, &length) || !info)
        return 1;
    printf("%u.%u.%u.%u\n", HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
           HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
    free(data);
    return 0;
}

static int Close(const wchar_t* caption) {
    HWND window = FindWindowW(NULL, caption);
    if (!window) {
        fprintf(stderr, "no window \"%s\"\n", Utf8(caption));
        return 1;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && wcscmp(argv[1], L"windows") == 0) {
        struct Search all = {NULL, 0};
        EnumWindows(Visit, (LPARAM)&all);
        return 0;
    }
    if (argc == 4 && wcscmp(argv[1], L"wait") == 0) {
        char wanted[1024];
        WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, wanted, sizeof wanted, NULL, NULL);
        struct Search search = {wanted, 0};
        if (WaitFor(CaptionShown, &search, _wtoi(argv[3])))
            return 0;
        fprintf(stderr, "no window \"%s\"\n", wanted);
        return 1;
    }
    if ((argc == 4 || argc == 5) && wcscmp(argv[1], L"box") == 0)
        return ShowBox(argv[2], _wtoi(argv[3]), argc == 5 ? argv[4] : NULL);
    if (argc == 3 && wcscmp(argv[1], L"hold") == 0)
        return Hold(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"version") == 0)
        return Version(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"close") == 0)
        return Close(argv[2]);
    fprintf(stderr,
            "usage: winprobe windows | wait CAPTION SECONDS | box PROGRAM SECONDS [BUTTON] |"
            " hold FILE |"
            " version FILE | close CAPTION\n");
    return 2;
}
