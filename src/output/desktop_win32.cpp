#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h.
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <memory>

#include "output/desktop.h"
#include "output/mapimail.h"

namespace kivrel {

namespace {

HWND Parent() {
    return reinterpret_cast<HWND>(MailParentWindow());
}

bool ShellOpen(const wchar_t* target) {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(Parent(), L"open", target, nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

struct PidlFree {
    void operator()(ITEMIDLIST* pidl) const { ILFree(pidl); }
};
using Pidl = std::unique_ptr<ITEMIDLIST, PidlFree>;

// The shell wants COM on the calling thread; Qt has it there already, a test may not.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

}  // namespace

bool OpenWithSystem(const tPath& file) {
    const ComScope com;
    return ShellOpen(file.c_str());
}

bool ShowInFileManager(const std::vector<tPath>& files) {
    if (files.empty())
        return false;
    const ComScope com;
    const tPath folder = files.front().parent_path();
    const Pidl folderItem(ILCreateFromPathW(folder.c_str()));
    std::vector<Pidl> items;
    std::vector<LPCITEMIDLIST> children;
    for (const tPath& file : files) {
        Pidl item(ILCreateFromPathW(file.c_str()));
        if (!item)
            continue;
        children.push_back(ILFindLastID(item.get()));
        items.push_back(std::move(item));
    }
    if (folderItem && !children.empty() &&
        SUCCEEDED(SHOpenFolderAndSelectItems(folderItem.get(), static_cast<UINT>(children.size()),
                                             children.data(), 0)))
        return true;
    return ShellOpen(folder.c_str());
}

bool OpenLink(const std::string& uri) {
    const ComScope com;
    const std::wstring wide(uri.begin(), uri.end());  // ASCII
    return ShellOpen(wide.c_str());
}

}  // namespace kivrel
