#include <windows.h>

// A library that loads like a mail library but has no MAPISendMail.
extern "C" __declspec(dllexport) ULONG WINAPI KivrelNoMapi() {
    return 0;
}
