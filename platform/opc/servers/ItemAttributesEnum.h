// The item enumerator of a stand-in group (IEnumOPCItemAttributes) over a snapshot of its items.
#pragma once

#include "opcsdk/OpcDa.h"

#include <memory>
#include <mutex>
#include <string>
#include <vector>

class CItemAttributesEnum : public CComObjectImpl<IEnumOPCItemAttributes>
{
public:
    struct Entry
    {
        std::wstring accessPath;
        std::wstring itemId;
        BOOL active;
        OPCHANDLE hClient;
        OPCHANDLE hServer;
        DWORD rights;
        VARTYPE requested;
        VARTYPE canonical;
    };
    typedef std::vector<Entry> List;

    CItemAttributesEnum(std::shared_ptr<const List> list, size_t pos) : m_list(std::move(list)), m_pos(pos) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, OPCITEMATTRIBUTES** ppItemArray, ULONG* pceltFetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumOPCItemAttributes** ppEnumItemAttributes) override;

private:
    std::shared_ptr<const List> m_list;
    std::mutex m_mutex;
    size_t m_pos;
};
