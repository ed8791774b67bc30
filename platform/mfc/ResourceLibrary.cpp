#include "mfc/ResourceModule.h"

#include "win32/Files.h"
#include "win32/System.h"
#include "win32/Utf.h"

#include <dlfcn.h>
#include <link.h>
#include <mutex>
#include <vector>

namespace
{
struct LoadedLibrary
{
    void* dl = nullptr;
    HINSTANCE handle = nullptr;
    bool bundle = false; // registered here, so unregistered here
    int count = 0;
};

std::mutex& LibLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}
std::vector<LoadedLibrary>& Libraries()
{
    static auto* libs = new std::vector<LoadedLibrary>;
    return *libs;
}

std::string ResolveLibraryPath(const std::wstring& name)
{
    std::wstring path = name;
    for (wchar_t& c : path)
        if (c == L'\\')
            c = L'/';
    if (!path.empty() && path[0] != L'/')
    {
        wchar_t exe[MAX_PATH] = {};
        const DWORD n = GetModuleFileNameW(nullptr, exe, MAX_PATH);
        std::wstring folder(exe, n);
        folder.erase(folder.rfind(L'/') + 1);
        path = folder + path;
    }
    return Win32NativePath(path);
}

// The registered module whose handle lies inside the loaded object.
HINSTANCE ModuleInside(void* dl)
{
    link_map* map = nullptr;
    if (dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0 || !map)
        return nullptr;
    for (HINSTANCE h = nullptr;;)
    {
        h = AfxNextResourceModule(h);
        if (!h)
            return nullptr;
        Dl_info info{};
        if (dladdr(h, &info) && reinterpret_cast<ElfW(Addr)>(info.dli_fbase) == map->l_addr)
            return h;
    }
}
} // namespace

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
    if (!lpLibFileName || !*lpLibFileName)
    {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    void* dl = dlopen(ResolveLibraryPath(lpLibFileName).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl)
    {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(LibLock());
    for (LoadedLibrary& lib : Libraries())
        if (lib.dl == dl)
        {
            ++lib.count;
            dlclose(dl); // the table keeps one reference per library
            return lib.handle;
        }
    LoadedLibrary lib;
    lib.dl = dl;
    lib.count = 1;
    auto bundleFn = reinterpret_cast<QYR_RESOURCE_BUNDLE_FN>(dlsym(dl, QYR_RESOURCE_BUNDLE_SYMBOL));
    if (const AFX_RESOURCE_BUNDLE* bundle = bundleFn ? bundleFn() : nullptr)
    {
        lib.handle = AfxRegisterResourceModule(bundle->module, bundle->text, bundle->files, bundle->count);
        lib.bundle = true;
    }
    else
        lib.handle = ModuleInside(dl);
    if (!lib.handle)
    {
        dlclose(dl);
        SetLastError(ERROR_BAD_FORMAT);
        return nullptr;
    }
    Libraries().push_back(lib);
    return lib.handle;
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    std::lock_guard<std::mutex> guard(LibLock());
    auto& libs = Libraries();
    for (auto it = libs.begin(); it != libs.end(); ++it)
        if (it->handle == hLibModule)
        {
            if (--it->count > 0)
                return TRUE;
            if (it->bundle)
                AfxUnregisterResourceModule(it->handle);
            void* dl = it->dl;
            libs.erase(it);
            dlclose(dl);
            return TRUE;
        }
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    std::lock_guard<std::mutex> guard(LibLock());
    for (const LoadedLibrary& lib : Libraries())
        if (lib.handle == hModule && lpProcName)
            return reinterpret_cast<FARPROC>(dlsym(lib.dl, lpProcName));
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}
