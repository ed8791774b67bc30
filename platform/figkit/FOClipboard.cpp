#include "figkit/FOClipboard.h"

#include "figkit/FODataModel.h"
#include "figkit/FODrawShape.h"
#include "mfc/Archive.h"
#include "mfc/Clipboard.h"
#include "mfc/Exceptions.h"
#include "mfc/File.h"
#include "mfc/Wnd.h"

#include <cstring>

namespace
{
// "FSHP"
constexpr DWORD kSignature = 0x50485346;
constexpr int kVersion = 1;
} // namespace

UINT FOGetShapeClipboardFormat()
{
    static const UINT format = RegisterClipboardFormatW(L"Figkit Shapes");
    return format;
}

std::vector<BYTE> FOWriteShapesBlock(const FOPContainer& shapes)
{
    CFODrawShapeSet copies;
    for (CFODrawShape* shape : shapes)
        if (shape)
            copies.AddTail(CFOShapePtr<CFODrawShape>(shape->Copy()));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << kSignature << kVersion;
        CFODataModel scratch;
        int flag = 0;
        scratch.SerializeXdgShapes(ar, copies, flag);
        ar.Close();
    }
    const size_t size = size_t(file.GetLength());
    std::vector<BYTE> bytes(size);
    file.SeekToBegin();
    if (size)
        file.Read(bytes.data(), UINT(size));
    return bytes;
}

BOOL FOReadShapesBlock(const BYTE* pData, size_t nSize, CFODrawShapeSet& shapes)
{
    shapes.RemoveAll();
    if (!pData || nSize < 8)
        return FALSE;
    std::vector<BYTE> copy(pData, pData + nSize);
    CMemFile file(copy.data(), UINT(copy.size()));
    CFODrawShapeSet loaded;
    try
    {
        CArchive ar(&file, CArchive::load);
        DWORD signature = 0;
        int version = 0;
        ar >> signature >> version;
        if (signature != kSignature || version < 1 || version > kVersion)
            return FALSE;
        CFODataModel scratch;
        int flag = 0;
        scratch.SerializeXdgShapes(ar, loaded, flag);
        ar.Close();
    }
    catch (CException* e)
    {
        e->Delete();
        return FALSE;
    }
    catch (...)
    {
        return FALSE;
    }
    shapes = std::move(loaded);
    return TRUE;
}

BOOL FOCopyShapesToClipboard(const FOPContainer& shapes, CWnd* pOwner)
{
    if (shapes.IsEmpty())
        return FALSE;
    const std::vector<BYTE> bytes = FOWriteShapesBlock(shapes);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block)
        return FALSE;
    if (void* p = GlobalLock(block))
    {
        std::memcpy(p, bytes.data(), bytes.size());
        GlobalUnlock(block);
    }
    if (!OpenClipboard(pOwner ? pOwner->GetSafeHwnd() : nullptr))
    {
        GlobalFree(block);
        return FALSE;
    }
    EmptyClipboard();
    const BOOL ok = SetClipboardData(FOGetShapeClipboardFormat(), block) != nullptr;
    if (!ok)
        GlobalFree(block);
    CloseClipboard();
    return ok;
}

BOOL FOReadShapesFromClipboard(CFODrawShapeSet& shapes, CWnd* pOwner)
{
    shapes.RemoveAll();
    if (!OpenClipboard(pOwner ? pOwner->GetSafeHwnd() : nullptr))
        return FALSE;
    BOOL ok = FALSE;
    if (HANDLE block = GetClipboardData(FOGetShapeClipboardFormat()))
    {
        const size_t size = GlobalSize(block);
        if (const void* p = GlobalLock(block))
        {
            ok = FOReadShapesBlock(static_cast<const BYTE*>(p), size, shapes);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return ok;
}

BOOL FOCanPasteShapes()
{
    return IsClipboardFormatAvailable(FOGetShapeClipboardFormat());
}
