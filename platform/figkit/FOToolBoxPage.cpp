#include "figkit/FOToolBoxPage.h"

#include "mfc/Archive.h"
#include "mfc/DocFile.h"

#include <cwchar>

namespace
{
bool SideInRange(int n)
{
    return n > 0 && n <= CFOToolBoxItem::nMaxSide;
}

// A decimal number that fills the whole text; false for anything else.
bool ParseUInt(const CString& text, unsigned long& value)
{
    if (text.IsEmpty() || text.GetLength() > 10)
        return false;
    value = 0;
    for (int i = 0; i < text.GetLength(); ++i)
    {
        const wchar_t ch = text[i];
        if (ch < L'0' || ch > L'9')
            return false;
        value = value * 10 + unsigned(ch - L'0');
    }
    return value <= 0xFFFFFFFFul;
}
} // namespace

CFOToolBoxItem::CFOToolBoxItem(UINT nType, const CString& strCaption, const CString& strDescription,
                               CSize size)
    : m_nType(nType), m_strCaption(strCaption), m_strDescription(strDescription)
{
    SetDefaultSize(size);
}

void CFOToolBoxItem::SetDefaultSize(CSize size)
{
    m_size = SideInRange(size.cx) && SideInRange(size.cy) ? size : CSize(0, 0);
}

CString CFOToolBoxItem::ToDragText() const
{
    CString text;
    text.Format(L"%u|%d|%d|", m_nType, int(m_size.cx), int(m_size.cy));
    return text + m_strCaption;
}

BOOL CFOToolBoxItem::FromDragText(const CString& strText, CFOToolBoxItem& item)
{
    unsigned long fields[3] = {};
    int start = 0;
    for (unsigned long& field : fields)
    {
        const int bar = strText.Find(L'|', start);
        if (bar < 0 || !ParseUInt(strText.Mid(start, bar - start), field))
            return FALSE;
        start = bar + 1;
    }
    item = CFOToolBoxItem(UINT(fields[0]), strText.Mid(start));
    item.SetDefaultSize(
        CSize(int(fields[1] > 0x7FFFFFFF ? 0 : fields[1]), int(fields[2] > 0x7FFFFFFF ? 0 : fields[2])));
    return TRUE;
}

const CFOToolBoxItem* CFOToolBoxPage::GetItem(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetItemCount())
        return nullptr;
    return &m_items[size_t(nIndex)];
}

BOOL CFOToolBoxPage::AddItem(const CFOToolBoxItem& item)
{
    if (m_items.size() >= dwMaxItems)
        return FALSE;
    m_items.push_back(item);
    return TRUE;
}

void CFOToolBoxPage::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
    {
        ar << dwFileMagic << wFileVersion << m_strCaption;
        ar.WriteCount(m_items.size());
        for (const CFOToolBoxItem& item : m_items)
        {
            const CSize size = item.GetDefaultSize();
            ar << item.GetType() << item.GetCaption() << item.GetDescription() << int(size.cx)
               << int(size.cy);
        }
        return;
    }
    DWORD magic = 0;
    WORD version = 0;
    ar >> magic;
    if (magic != dwFileMagic)
        throw new CArchiveException(CArchiveException::badClass);
    ar >> version;
    if (version == 0 || version > wFileVersion)
        throw new CArchiveException(CArchiveException::badSchema);
    CString caption;
    ar >> caption;
    // Each item takes at least its type, two one-byte strings and two sides.
    const DWORD_PTR count = ar.ReadCount(4 + 1 + 1 + 4 + 4);
    if (count > dwMaxItems)
        throw new CArchiveException(CArchiveException::badIndex);
    std::vector<CFOToolBoxItem> items;
    items.reserve(count);
    for (DWORD_PTR i = 0; i < count; ++i)
    {
        UINT type = 0;
        CString itemCaption, description;
        int cx = 0, cy = 0;
        ar >> type >> itemCaption >> description >> cx >> cy;
        items.emplace_back(type, itemCaption, description, CSize(cx, cy));
    }
    m_strCaption = caption;
    m_items = std::move(items);
}

BOOL CFOToolBoxPage::OpenDocument(const CString& strPath)
{
    if (strPath.IsEmpty())
        return FALSE;
    CFOToolBoxPage loaded;
    // A page file is small; anything large is not one.
    if (!AfxLoadArchiveFile(
            strPath, [&](CArchive& ar) { loaded.Serialize(ar); }, 0, nullptr, 16ull * 1024 * 1024))
        return FALSE;
    m_strCaption = loaded.m_strCaption;
    m_items = std::move(loaded.m_items);
    m_strPath = strPath;
    m_bModified = FALSE;
    return TRUE;
}

BOOL CFOToolBoxPage::SaveDocument(const CString& strPath)
{
    if (strPath.IsEmpty())
        return FALSE;
    if (!AfxSaveArchiveFile(strPath, [this](CArchive& ar) { Serialize(ar); }))
        return FALSE;
    m_strPath = strPath;
    m_bModified = FALSE;
    return TRUE;
}
