// Reads an arbitrary buffer as an archive through a memory file. Any outcome but a CException*
// (a crash, a leak, a huge allocation, another exception) is a finding.
#include "ArchiveTestClasses.h"

#include "mfc/Archive.h"
#include "mfc/Collections.h"
#include "mfc/File.h"
#include "mfc/Geometry.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace
{
// The order the seed files were written in; see corpus/archive/.
void ReadAll(CArchive& ar)
{
    CString s;
    ar >> s;
    ar.ReadCount();
    CObject* pOb = ar.ReadObject(RUNTIME_CLASS(CTracked));
    (void)pOb;
    CTestGroup* pGroup = nullptr;
    ar >> pGroup;
    CStringArray strings;
    strings.Serialize(ar);
    CDWordArray words;
    words.Serialize(ar);
    CArray<CTracked*, CTracked*> objects;
    objects.Serialize(ar);
    CMapStringToString map;
    map.Serialize(ar);
    CPoint pt;
    CRect rc;
    ar >> pt >> rc;
    wchar_t buf[64];
    ar.ReadString(buf, 64);
    CString line;
    while (ar.ReadString(line))
        ;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<BYTE> bytes(data, data + size);
    CMemFile file(bytes.empty() ? nullptr : bytes.data(), UINT(bytes.size()));
    try
    {
        CArchive ar(&file, CArchive::load);
        ReadAll(ar);
    }
    catch (CException* e)
    {
        e->Delete();
    }
    CTracked::DeleteAll();
    return 0;
}
