// Stands for the program the shell starts for a file type or a link: a mail program for
// .eml files, a browser for mailto: links. Registered with the command
// "recorder.exe" "RECORD" "%1", it appends the command line it was started with to RECORD,
// in UTF-8, a line each time.
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdio>
#include <string>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    std::wstring line;
    for (int i = 2; i < argc; ++i)
        line += (i > 2 ? L" " : L"") + std::wstring(argv[i]);
    line += L"\n";
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, utf8.data(), size, nullptr, nullptr);
    FILE* record = _wfopen(argv[1], L"ab");
    if (!record)
        return 1;
    std::fputs(utf8.c_str(), record);
    std::fclose(record);
    return 0;
}
