#include "opc/OPCBrowse.h"

#include "opc/InfoServer.h"

#include <algorithm>

namespace
{
const int kMaxDepth = 10;

// Reads an enumerator in batches; see OPCBrowseNames.
HRESULT ReadNames(IEnumString* names, ULONG batch, std::vector<CString>& out)
{
    // A stored batch size is input too: keep it to what one call can sensibly carry.
    batch = std::clamp<ULONG>(batch, 1, 65536);
    std::vector<LPOLESTR> got(batch, nullptr);
    HRESULT hr;
    do
    {
        ULONG fetched = 0;
        hr = names->Next(batch, got.data(), &fetched);
        if (FAILED(hr))
            return hr;
        for (ULONG i = 0; i < fetched && i < batch; ++i)
        {
            out.emplace_back(got[i] ? got[i] : L"");
            CoTaskMemFree(got[i]);
            got[i] = nullptr;
        }
    } while (hr == S_OK);
    return S_OK;
}

CString Join(const CString& path, const CString& name)
{
    if (path.IsEmpty())
        return name;
    CString full;
    full.Format(L"%s.%s", path.GetString(), name.GetString());
    return full;
}
} // namespace

HRESULT OPCBrowseNames(CIOPCBrowseServerAddressSpace& browse, OPCBROWSETYPE type, LPCWSTR filter,
                       VARTYPE vtFilter, DWORD accessFilter, ULONG batch, std::vector<CString>& names)
{
    CComPtr<IEnumString> found;
    HRESULT hr = browse.BrowseOPCItemIDs(type, filter ? filter : L"", vtFilter, accessFilter, &found);
    if (FAILED(hr))
        return hr;
    if (!found)
        return S_OK;
    return ReadNames(found, batch, names);
}

void OPCBrowseToRoot(CIOPCBrowseServerAddressSpace& browse, int maxSteps)
{
    for (int i = 0; i < maxSteps; ++i)
    {
        if (FAILED(browse.ChangeBrowsePosition(OPC_BROWSE_UP, L"")))
            return;
    }
}

HRESULT OPCBrowseDownTo(CIOPCBrowseServerAddressSpace& browse, const std::vector<CString>& names)
{
    for (const CString& name : names)
    {
        if (name == L"Root")
            continue;
        HRESULT hr = browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, name);
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

void OPCCollectLeaves(CIOPCBrowseServerAddressSpace& browse, CInfoServer& server, const CString& path,
                      const COPCLeafFilter& filter, int depth, int maxDepth, std::vector<CString>& leaves)
{
    // A server that gives no answer is browsed as hierarchical.
    OPCNAMESPACETYPE organization = OPC_NS_HIERARCHIAL;
    browse.QueryOrganization(&organization);
    if (maxDepth == 0)
        maxDepth = kMaxDepth;
    bool listLeaves = true;
    if (organization == OPC_NS_HIERARCHIAL)
    {
        CComPtr<IEnumString> branches;
        if (SUCCEEDED(browse.BrowseOPCItemIDs(OPC_BRANCH, L"", VT_EMPTY, 0, &branches)) && branches)
        {
            for (;;)
            {
                LPOLESTR raw = nullptr;
                ULONG fetched = 0;
                if (FAILED(branches->Next(1, &raw, &fetched)) || fetched == 0)
                {
                    CoTaskMemFree(raw);
                    break;
                }
                const CString name(raw ? raw : L"");
                CoTaskMemFree(raw);
                if (FAILED(browse.ChangeBrowsePosition(OPC_BROWSE_DOWN, name)))
                {
                    listLeaves = false;
                    break;
                }
                const int childDepth = depth + 1;
                if (childDepth > kMaxDepth || childDepth > maxDepth)
                {
                    browse.ChangeBrowsePosition(OPC_BROWSE_UP, L"");
                    listLeaves = false;
                    break;
                }
                OPCCollectLeaves(browse, server, Join(path, name), filter, childDepth, maxDepth, leaves);
                if (FAILED(browse.ChangeBrowsePosition(OPC_BROWSE_UP, L"")))
                {
                    listLeaves = false;
                    break;
                }
            }
        }
    }
    if (!listLeaves)
        return;
    CComPtr<IEnumString> names;
    HRESULT hr = browse.BrowseOPCItemIDs(OPC_LEAF, filter.strFilter, filter.vtType, filter.dwAccess, &names);
    if (FAILED(hr))
    {
        server.DisplayError(hr);
        return;
    }
    if (!names)
        return;
    names->Reset();
    std::vector<CString> found;
    hr = ReadNames(names, server.GetBrowserEnumNextElements(), found);
    if (FAILED(hr))
        server.DisplayError(hr);
    leaves.reserve(leaves.size() + found.size());
    for (const CString& name : found)
        leaves.push_back(Join(path, name));
}
