// The shape toolbox's data: a page of items, each one shape type that a drag puts on a screen, and
// the page file (".trs") that keeps a page.
//
// Page file, version 1, a CArchive stream: DWORD 'FOTB' (0x42544F46), WORD version, CString page
// caption, the item count (CArchive count form), then per item: UINT shape type, CString caption,
// CString description, int width and int height of the shape a drop makes. A reader refuses another
// magic number and a newer version; a later version adds its fields after these and keeps reading
// version 1.
#pragma once

#include "mfc/CString.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <vector>

class CArchive;

class CFOToolBoxItem
{
public:
    CFOToolBoxItem() = default;
    CFOToolBoxItem(UINT nType, const CString& strCaption, const CString& strDescription = CString(),
                   CSize size = CSize(0, 0));

    UINT GetType() const { return m_nType; }
    void SetType(UINT nType) { m_nType = nType; }
    const CString& GetCaption() const { return m_strCaption; }
    void SetCaption(const CString& str) { m_strCaption = str; }
    const CString& GetDescription() const { return m_strDescription; }
    void SetDescription(const CString& str) { m_strDescription = str; }
    // The size of the shape that a drop of this item makes, in canvas points; 0 by 0 leaves it to
    // the model's factory.
    CSize GetDefaultSize() const { return m_size; }
    void SetDefaultSize(CSize size);

    bool operator==(const CFOToolBoxItem& o) const
    {
        return m_nType == o.m_nType && m_strCaption == o.m_strCaption &&
               m_strDescription == o.m_strDescription && m_size.cx == o.m_size.cx && m_size.cy == o.m_size.cy;
    }

    // The drag data of an item ("type|width|height|caption"), and the item read back from it;
    // FALSE for text that is not one.
    CString ToDragText() const;
    static BOOL FromDragText(const CString& strText, CFOToolBoxItem& item);

    // Sizes outside 1 to this are taken as 0 by 0.
    static constexpr int nMaxSide = 4000;

private:
    UINT m_nType = 0;
    CString m_strCaption;
    CString m_strDescription;
    CSize m_size = CSize(0, 0);
};

class CFOToolBoxPage : public CObject
{
public:
    static constexpr DWORD dwFileMagic = 0x42544F46; // "FOTB"
    static constexpr WORD wFileVersion = 1;
    // A page holds at most this many items; a file that claims more is refused.
    static constexpr DWORD dwMaxItems = 4096;

    CFOToolBoxPage() = default;
    explicit CFOToolBoxPage(const CString& strCaption) : m_strCaption(strCaption) {}

    const CString& GetObjectCaption() const { return m_strCaption; }
    void SetObjectCaption(const CString& str) { m_strCaption = str; }
    // The file the page came from or went to; empty while it has never been saved.
    const CString& GetFilePath() const { return m_strPath; }
    void SetFilePath(const CString& str) { m_strPath = str; }
    BOOL IsModified() const { return m_bModified; }
    void SetModifyFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    int GetItemCount() const { return int(m_items.size()); }
    const CFOToolBoxItem* GetItem(int nIndex) const;
    const std::vector<CFOToolBoxItem>& GetItems() const { return m_items; }
    // Appends an item; FALSE when the page is full.
    BOOL AddItem(const CFOToolBoxItem& item);
    void RemoveAllItems() { m_items.clear(); }

    // The page's caption and items (the file path and flags are not stored). Loading replaces them
    // only when the whole stream was read; a bad stream throws CArchiveException* and changes
    // nothing.
    void Serialize(CArchive& ar) override;

    // Reads a page file: the caption and items; the path becomes the file's. FALSE (nothing
    // changed) when it cannot be read.
    BOOL OpenDocument(const CString& strPath);
    // Writes the page file (safely: the old file stays on failure); the path becomes the file's and
    // the page is unmodified. FALSE when it cannot be written.
    BOOL SaveDocument(const CString& strPath);

private:
    CString m_strCaption;
    CString m_strPath;
    BOOL m_bModified = FALSE;
    std::vector<CFOToolBoxItem> m_items;
};
