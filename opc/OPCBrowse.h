// The walks over a server's address space that the picker and the tag browser make, as plain
// functions over the browse interface, so they run without a dialog.
#pragma once

#include "opc/IOPCBrowseWrapper.h"

#include "mfc/CString.h"

#include <vector>

class CInfoServer;

// The names BrowseOPCItemIDs gives, fetched in batches of batch while the enumerator answers S_OK
// (the last, short batch counts too). The failing call's code, else S_OK; names fetched before a
// failure stay.
HRESULT OPCBrowseNames(CIOPCBrowseServerAddressSpace& browse, OPCBROWSETYPE type, LPCWSTR filter,
                       VARTYPE vtFilter, DWORD accessFilter, ULONG batch, std::vector<CString>& names);

// Browses up with an empty name until that fails, at most maxSteps times.
void OPCBrowseToRoot(CIOPCBrowseServerAddressSpace& browse, int maxSteps);

// Browses down from the root along the names; a name "Root" is not entered. The first refused step's
// code, else S_OK.
HRESULT OPCBrowseDownTo(CIOPCBrowseServerAddressSpace& browse, const std::vector<CString>& names);

// What the picker lists: the leaves below the browse position, as full paths ("%s.%s" with path),
// found through the branches one name per call down to depth 10, then the leaves through the
// server's browser batch. A branch below depth 10 is skipped, and so are the leaves of a level
// whose walk ended early. Failures of the leaf enumeration go to the server's DisplayError.
struct COPCLeafFilter
{
    CString strFilter = L"*";
    VARTYPE vtType = VT_EMPTY;
    DWORD dwAccess = 0;
};
void OPCCollectLeaves(CIOPCBrowseServerAddressSpace& browse, CInfoServer& server, const CString& path,
                      const COPCLeafFilter& filter, int depth, int maxDepth, std::vector<CString>& leaves);
