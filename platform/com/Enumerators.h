// The enumerator interfaces IEnumString, IEnumUnknown and IEnumGUID, and objects that enumerate a
// fixed list. Next hands out copies the caller owns: strings from CoTaskMemAlloc (CoTaskMemFree
// them), interfaces with one reference (Release them).
#pragma once

#include "com/ComObject.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

inline const IID IID_IEnumString = {
    0x00000101, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IEnumUnknown = {
    0x00000100, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline const IID IID_IEnumGUID = {
    0x0002E000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Next returns S_OK when it fetched all celt elements, S_FALSE when fewer; pceltFetched may be null
// only when celt is 1. Skip returns S_FALSE when it ran past the end.
class IEnumString : public IUnknown
{
public:
    static const IID& Iid() { return IID_IEnumString; }
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPOLESTR* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumString** ppenum) = 0;
};
typedef IEnumString* LPENUMSTRING;

class IEnumUnknown : public IUnknown
{
public:
    static const IID& Iid() { return IID_IEnumUnknown; }
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IUnknown** rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumUnknown** ppenum) = 0;
};
typedef IEnumUnknown* LPENUMUNKNOWN;

class IEnumGUID : public IUnknown
{
public:
    static const IID& Iid() { return IID_IEnumGUID; }
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, GUID* rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
    virtual HRESULT STDMETHODCALLTYPE Clone(IEnumGUID** ppenum) = 0;
};
typedef IEnumGUID IEnumCLSID;
typedef IEnumGUID IEnumCATID;
typedef IEnumGUID* LPENUMGUID;

// Enumerator over a shared, fixed list; clones share the list and keep their own position.
// Policy::Copy(const Elem&, Out*) makes the caller's copy and returns FALSE when it cannot.
template <class Itf, class Elem, class Out, class Policy> class CComListEnum : public CComObjectImpl<Itf>
{
public:
    typedef std::vector<Elem> List;

    explicit CComListEnum(std::shared_ptr<const List> list, size_t pos = 0)
        : m_list(std::move(list)), m_pos(pos)
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, Out* rgelt, ULONG* pceltFetched) override
    {
        if (pceltFetched)
            *pceltFetched = 0;
        if (celt == 0)
            return S_OK;
        if (!rgelt || (!pceltFetched && celt != 1))
            return E_POINTER;
        std::lock_guard lock(m_mutex);
        ULONG fetched = 0;
        while (fetched < celt && m_pos < m_list->size())
        {
            if (!Policy::Copy((*m_list)[m_pos], &rgelt[fetched]))
            {
                for (ULONG i = 0; i < fetched; ++i)
                    Policy::Free(&rgelt[i]);
                return E_OUTOFMEMORY;
            }
            ++fetched;
            ++m_pos;
        }
        if (pceltFetched)
            *pceltFetched = fetched;
        return fetched == celt ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override
    {
        std::lock_guard lock(m_mutex);
        size_t left = m_list->size() - m_pos;
        if (celt > left)
        {
            m_pos = m_list->size();
            return S_FALSE;
        }
        m_pos += celt;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        std::lock_guard lock(m_mutex);
        m_pos = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Itf** ppenum) override
    {
        if (!ppenum)
            return E_POINTER;
        size_t pos;
        {
            std::lock_guard lock(m_mutex);
            pos = m_pos;
        }
        CComPtr<CComListEnum> copy = QyrNewObject<CComListEnum>(m_list, pos);
        *ppenum = copy.Detach();
        return S_OK;
    }

private:
    std::shared_ptr<const List> m_list;
    std::mutex m_mutex;
    size_t m_pos;
};

struct CEnumStringPolicy
{
    static BOOL Copy(const std::wstring& from, LPOLESTR* to);
    static void Free(LPOLESTR* p);
};
struct CEnumUnknownPolicy
{
    static BOOL Copy(const CComPtr<IUnknown>& from, IUnknown** to);
    static void Free(IUnknown** p);
};
struct CEnumGUIDPolicy
{
    static BOOL Copy(const GUID& from, GUID* to)
    {
        *to = from;
        return TRUE;
    }
    static void Free(GUID*) {}
};

typedef CComListEnum<IEnumString, std::wstring, LPOLESTR, CEnumStringPolicy> CEnumStringImpl;
typedef CComListEnum<IEnumUnknown, CComPtr<IUnknown>, IUnknown*, CEnumUnknownPolicy> CEnumUnknownImpl;
typedef CComListEnum<IEnumGUID, GUID, GUID, CEnumGUIDPolicy> CEnumGUIDImpl;

// New enumerators over a copy of the given list, with one reference for the caller.
HRESULT QyrCreateEnumString(std::vector<std::wstring> items, IEnumString** out);
HRESULT QyrCreateEnumUnknown(std::vector<CComPtr<IUnknown>> items, IEnumUnknown** out);
HRESULT QyrCreateEnumGUID(std::vector<GUID> items, IEnumGUID** out);
