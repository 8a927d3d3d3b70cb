/* A small Windows console program for the Wine tests of the installed Kivrel: it sees the
 * program's windows as Windows holds them.
 *   winprobe windows            one line per visible top-level window of kivrel.exe:
 *                               caption, border styles, client size
 *   winprobe wait CAPTION SECS  exit 0 as soon as such a window has that caption
 *   winprobe version FILE       the file's version from its version resource */
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

static int OfKivrel(HWND window) {
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
        ours = _wcsicmp(name ? name + 1 : path, L"kivrel.exe") == 0;
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
    if (!IsWindowVisible(window) || !OfKivrel(window))
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

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && wcscmp(argv[1], L"windows") == 0) {
        struct Search all = {NULL, 0};
        EnumWindows(Visit, (LPARAM)&all);
        return 0;
    }
    if (argc == 4 && wcscmp(argv[1], L"wait") == 0) {
        char wanted[1024];
        WideCharToMultiByte(CP_UTF8, 0, argv[2], -1, wanted, sizeof wanted, NULL, NULL);
        const DWORD end = GetTickCount() + 1000 * (DWORD)_wtoi(argv[3]);
        do {
            struct Search search = {wanted, 0};
            EnumWindows(Visit, (LPARAM)&search);
            if (search.found)
                return 0;
            Sleep(200);
        } while (GetTickCount() < end);
        fprintf(stderr, "no window \"%s\"\n", wanted);
        return 1;
    }
    if (argc == 3 && wcscmp(argv[1], L"version") == 0)
        return Version(argv[2]);
    fprintf(stderr, "usage: winprobe windows | wait CAPTION SECONDS | version FILE\n");
    return 2;
}
