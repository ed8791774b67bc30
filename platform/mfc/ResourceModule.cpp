#include "mfc/ResourceModule.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

namespace
{
struct ModuleEntry
{
    std::string name;
    HINSTANCE handle = nullptr;
    bool live = true;
    std::unique_ptr<CResourceScript> script;
};

struct Registry
{
    std::mutex lock;
    std::vector<std::unique_ptr<ModuleEntry>> modules; // never shrinks: handles stay unambiguous
    std::vector<CDynLinkLibrary*> libraries;           // in creation order
    HINSTANCE hResource = nullptr;
    HINSTANCE hInstance = nullptr;
};

// Never destroyed, so that modules registering or leaving during static construction or
// destruction, in any order, always find it.
Registry& Reg()
{
    static Registry* registry = new Registry;
    return *registry;
}

const ModuleEntry* FindLive(const Registry& r, HINSTANCE h)
{
    if (!h)
        return nullptr;
    for (const auto& m : r.modules)
        if (m->live && m->handle == h)
            return m.get();
    return nullptr;
}

HINSTANCE InstanceLocked(const Registry& r)
{
    if (FindLive(r, r.hInstance))
        return r.hInstance;
    const char* program = program_invocation_short_name;
    if (!program)
        return nullptr;
    for (const auto& m : r.modules)
        if (m->live && m->name == program)
            return m->handle;
    return nullptr;
}

HINSTANCE ResourceLocked(const Registry& r)
{
    return FindLive(r, r.hResource) ? r.hResource : InstanceLocked(r);
}

// The modules a lookup visits, in order, each once.
std::vector<const ModuleEntry*> ChainLocked(const Registry& r)
{
    std::vector<const ModuleEntry*> chain;
    auto add = [&](HINSTANCE h)
    {
        const ModuleEntry* m = FindLive(r, h);
        if (m && std::find(chain.begin(), chain.end(), m) == chain.end())
            chain.push_back(m);
    };
    const HINSTANCE instance = InstanceLocked(r);
    add(FindLive(r, r.hResource) ? r.hResource : instance);
    for (const CDynLinkLibrary* lib : r.libraries)
        if (!lib->m_bSystem)
            add(lib->m_hResource);
    for (const CDynLinkLibrary* lib : r.libraries)
        if (lib->m_bSystem)
            add(lib->m_hResource);
    add(instance);
    return chain;
}

// The first non-null answer of find over the chain, with the module that gave it.
template <typename T, typename F> const T* FindInChain(F&& find, HINSTANCE* from = nullptr)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const ModuleEntry* m : ChainLocked(r))
        if (const T* found = find(*m->script))
        {
            if (from)
                *from = m->handle;
            return found;
        }
    return nullptr;
}

template <typename T, typename F> const T* FindInModule(HINSTANCE h, F&& find)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    const ModuleEntry* m = FindLive(r, h);
    return m ? find(*m->script) : nullptr;
}

const CString* ChainString(UINT nID)
{
    return FindInChain<CString>([&](const CResourceScript& s) { return s.FindString(nID); });
}

// Copies like LoadStringW: at most cch - 1 characters and a terminator.
int CopyString(const CString* s, LPWSTR buf, int cch)
{
    if (!buf || cch <= 0)
        return 0;
    if (!s)
    {
        buf[0] = L'\0';
        return 0;
    }
    const int n = std::min(s->GetLength(), cch - 1);
    std::wmemcpy(buf, s->GetString(), size_t(n));
    buf[n] = L'\0';
    return n;
}
} // namespace

// --- modules --------------------------------------------------------------------------------------

HINSTANCE AfxRegisterResourceModule(const char* module, const char* text, const AFX_RESOURCE_FILE* files,
                                    size_t count)
{
    if (!module || !*module)
    {
        std::fprintf(stderr, "resources: a module without a name was not registered\n");
        return nullptr;
    }
    auto entry = std::make_unique<ModuleEntry>();
    entry->name = module;
    entry->script = std::make_unique<CResourceScript>();
    entry->script->Parse(module, text ? std::string_view(text) : std::string_view(), files, count);
    for (const std::string& e : entry->script->GetErrors())
        std::fprintf(stderr, "resources: %s\n", e.c_str());

    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const auto& m : r.modules)
        if (m->live && m->name == entry->name)
        {
            std::fprintf(stderr, "resources: module %s is already registered\n", module);
            return nullptr;
        }
    // An address inside the module; moved on only if a live module holds it already.
    uintptr_t h = text ? uintptr_t(text) : uintptr_t(entry->script.get());
    for (bool taken = true; taken;)
    {
        taken = false;
        for (const auto& m : r.modules)
            if (m->handle == reinterpret_cast<HINSTANCE>(h))
            {
                if (m->live)
                {
                    taken = true;
                    ++h;
                }
                else
                    m->handle = nullptr;
            }
    }
    entry->handle = reinterpret_cast<HINSTANCE>(h);
    r.modules.push_back(std::move(entry));
    return r.modules.back()->handle;
}

void AfxUnregisterResourceModule(HINSTANCE hInstance)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    for (auto& m : r.modules)
        if (m->live && m->handle == hInstance)
            m->live = false;
    if (r.hResource == hInstance)
        r.hResource = nullptr;
    if (r.hInstance == hInstance)
        r.hInstance = nullptr;
}

AfxResourceRegistrar::AfxResourceRegistrar(const char* module, const char* text,
                                           const AFX_RESOURCE_FILE* files, size_t count)
    : m_hInstance(AfxRegisterResourceModule(module, text, files, count))
{
}

AfxResourceRegistrar::~AfxResourceRegistrar()
{
    if (m_hInstance)
        AfxUnregisterResourceModule(m_hInstance);
}

HINSTANCE AfxGetModuleByName(const char* module)
{
    if (!module)
        return nullptr;
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const auto& m : r.modules)
        if (m->live && m->name == module)
            return m->handle;
    return nullptr;
}

std::string AfxGetModuleName(HINSTANCE hInstance)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    const ModuleEntry* m = FindLive(r, hInstance);
    return m ? m->name : std::string();
}

const CResourceScript* AfxGetResourceScript(HINSTANCE hInstance)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    const ModuleEntry* m = FindLive(r, hInstance);
    return m ? m->script.get() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    return InstanceLocked(r);
}

void AfxSetInstanceHandle(HINSTANCE hInstance)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.hInstance = hInstance;
}

HINSTANCE AfxGetResourceHandle()
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    return ResourceLocked(r);
}

void AfxSetResourceHandle(HINSTANCE hResource)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.hResource = hResource;
}

// --- extension modules ----------------------------------------------------------------------------

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule)
{
    if (state.bInitialized)
        return TRUE;
    {
        Registry& r = Reg();
        std::lock_guard<std::mutex> guard(r.lock);
        if (!FindLive(r, hModule))
            return FALSE;
    }
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll)
{
    std::vector<CDynLinkLibrary*> doomed;
    {
        Registry& r = Reg();
        std::lock_guard<std::mutex> guard(r.lock);
        auto& libs = r.libraries;
        for (auto it = libs.begin(); it != libs.end();)
        {
            if (bAll || (*it)->m_hModule == state.hModule)
            {
                doomed.push_back(*it);
                it = libs.erase(it);
            }
            else
                ++it;
        }
    }
    // Outside the lock: the destructors take it again.
    for (CDynLinkLibrary* lib : doomed)
        delete lib;
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource ? state.hResource : state.hModule),
      m_bSystem(bSystem)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.libraries.push_back(this);
}

CDynLinkLibrary::CDynLinkLibrary(HINSTANCE hModule, HINSTANCE hResource)
    : m_hModule(hModule), m_hResource(hResource ? hResource : hModule), m_bSystem(FALSE)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    r.libraries.push_back(this);
}

CDynLinkLibrary::~CDynLinkLibrary()
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    auto& libs = r.libraries;
    libs.erase(std::remove(libs.begin(), libs.end(), this), libs.end());
}

// --- lookups --------------------------------------------------------------------------------------

HINSTANCE AfxFindResourceHandle(LPCWSTR lpszName, LPCWSTR lpszType)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    const CResourceName type = CResourceName::FromPointer(lpszType);
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    for (const ModuleEntry* m : ChainLocked(r))
        if (m->script->HasResource(type, name))
            return m->handle;
    return ResourceLocked(r);
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    HINSTANCE from = nullptr;
    FindInChain<CString>([&](const CResourceScript& s) { return s.FindString(nID); }, &from);
    return from;
}

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax < 0)
        return 0;
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    const ModuleEntry* m = FindLive(r, hInstance ? hInstance : InstanceLocked(r));
    const CString* s = m ? m->script->FindString(uID) : nullptr;
    if (cchBufferMax == 0)
    {
        if (!s)
            return 0;
        *reinterpret_cast<LPCWSTR*>(lpBuffer) = s->GetString();
        return s->GetLength();
    }
    return CopyString(s, lpBuffer, cchBufferMax);
}

int AfxLoadString(UINT nIDS, LPWSTR lpszBuf, UINT nMaxBuf)
{
    return CopyString(ChainString(nIDS), lpszBuf, int(std::min<UINT>(nMaxBuf, 0x7FFFFFFF)));
}

BOOL AfxLoadString(UINT nIDS, CString& rString)
{
    return rString.LoadString(nIDS);
}

BOOL CString::LoadString(UINT id)
{
    const CString* s = ChainString(id);
    if (!s)
        return FALSE;
    *this = *s;
    return !IsEmpty();
}

void AfxFormatStrings(CString& rString, LPCWSTR lpszFormat, LPCWSTR const* rglpsz, int nString)
{
    if (!rglpsz)
        nString = 0;
    std::wstring out;
    for (const wchar_t* p = lpszFormat ? lpszFormat : L""; *p; ++p)
    {
        if (p[0] == L'%' && p[1] >= L'1' && p[1] <= L'9' && p[1] - L'1' < nString)
        {
            if (const wchar_t* insert = rglpsz[p[1] - L'1'])
                out += insert;
            ++p;
            continue;
        }
        out += *p;
    }
    rString = CString(std::move(out));
}

void AfxFormatString1(CString& rString, UINT nIDS, LPCWSTR lpsz1)
{
    const CString* format = ChainString(nIDS);
    if (!format)
    {
        rString.Empty();
        return;
    }
    AfxFormatStrings(rString, *format, &lpsz1, 1);
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCWSTR lpsz1, LPCWSTR lpsz2)
{
    const CString* format = ChainString(nIDS);
    if (!format)
    {
        rString.Empty();
        return;
    }
    LPCWSTR strings[2] = {lpsz1, lpsz2};
    AfxFormatStrings(rString, *format, strings, 2);
}

const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(HINSTANCE hInstance, LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInModule<AFX_MENU_TEMPLATE>(hInstance,
                                           [&](const CResourceScript& s) { return s.FindMenu(name); });
}

const AFX_MENU_TEMPLATE* AfxFindMenuTemplate(LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInChain<AFX_MENU_TEMPLATE>([&](const CResourceScript& s) { return s.FindMenu(name); });
}

const AFX_TOOLBAR_TEMPLATE* AfxFindToolBarTemplate(LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInChain<AFX_TOOLBAR_TEMPLATE>([&](const CResourceScript& s) { return s.FindToolBar(name); });
}

const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(HINSTANCE hInstance, LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInModule<AFX_DLG_TEMPLATE>(hInstance,
                                          [&](const CResourceScript& s) { return s.FindDialog(name); });
}

const AFX_DLG_TEMPLATE* AfxFindDialogTemplate(LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInChain<AFX_DLG_TEMPLATE>([&](const CResourceScript& s) { return s.FindDialog(name); });
}

const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(HINSTANCE hInstance, LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInModule<AFX_ACCEL_TABLE>(hInstance,
                                         [&](const CResourceScript& s) { return s.FindAccelerators(name); });
}

const AFX_ACCEL_TABLE* AfxFindAcceleratorTable(LPCWSTR lpszName)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    return FindInChain<AFX_ACCEL_TABLE>([&](const CResourceScript& s) { return s.FindAccelerators(name); });
}

const AFX_RESOURCE_DATA* AfxFindResourceData(HINSTANCE hInstance, LPCWSTR lpszName, LPCWSTR lpszType)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    const CResourceName type = CResourceName::FromPointer(lpszType);
    return FindInModule<AFX_RESOURCE_DATA>(hInstance,
                                           [&](const CResourceScript& s) { return s.FindData(type, name); });
}

const AFX_RESOURCE_DATA* AfxFindResourceData(LPCWSTR lpszName, LPCWSTR lpszType)
{
    const CResourceName name = CResourceName::FromPointer(lpszName);
    const CResourceName type = CResourceName::FromPointer(lpszType);
    return FindInChain<AFX_RESOURCE_DATA>([&](const CResourceScript& s) { return s.FindData(type, name); });
}

HINSTANCE AfxNextResourceModule(HINSTANCE h)
{
    Registry& r = Reg();
    std::lock_guard<std::mutex> guard(r.lock);
    bool past = h == nullptr;
    for (const auto& m : r.modules)
    {
        if (!m->live)
            continue;
        if (past)
            return m->handle;
        past = m->handle == h;
    }
    return nullptr;
}

const AFX_VERSION_INFO* AfxFindVersionInfo(HINSTANCE hInstance)
{
    return FindInModule<AFX_VERSION_INFO>(hInstance,
                                          [](const CResourceScript& s) { return s.FindVersion(); });
}
