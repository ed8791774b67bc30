#include "editor/DocTemplates.h"

#include "mfc/Document.h"
#include "mfc/WaitCursor.h"
#include "mfc/File.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMultiDocTemplateEx, CMultiDocTemplate)
IMPLEMENT_DYNAMIC(CFOZeroDocTemplate, CMultiDocTemplate)

namespace
{
// The same file, whatever the case of the path's letters on disk.
bool SameFile(const CString& a, const CString& b)
{
    return !a.IsEmpty() && !b.IsEmpty() && AfxResolvePathCase(a) == AfxResolvePathCase(b);
}
} // namespace

CDocTemplate::Confidence CMultiDocTemplateEx::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch)
{
    rpDocMatch = nullptr;
    LoadTemplate();
    const CString path = lpszPathName ? lpszPathName : L"";
    POSITION pos = GetFirstDocPosition();
    while (pos)
    {
        CDocument* pDoc = GetNextDoc(pos);
        if (SameFile(pDoc->GetPathName(), path))
        {
            rpDocMatch = pDoc;
            return yesAlreadyOpen;
        }
    }
    CString filter;
    if (GetDocString(filter, filterExt) && !filter.IsEmpty())
    {
        filter.MakeLower();
        const CString name = path.Mid(std::max(path.ReverseFind(L'/'), path.ReverseFind(L'\\')) + 1);
        const int dot = name.ReverseFind(L'.');
        CString ext = dot < 0 ? CString(L".!!!") : name.Mid(dot);
        ext.MakeLower();
        if (filter.Find(ext) >= 0)
            return yesAttemptNative;
    }
    return noAttempt;
}

CDocument* CFOZeroDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible)
{
    POSITION pos = GetFirstDocPosition();
    CDocument* pOnly = pos ? GetNextDoc(pos) : nullptr;
    CWaitCursor wait;
    return OpenReusing(pOnly, lpszPathName, bMakeVisible);
}

void CFOZeroDocTemplate::SetDefaultTitle(CDocument* pDocument)
{
    CString title;
    if (!GetDocString(title, docName) || title.IsEmpty())
        title = UntitledString();
    pDocument->SetTitle(title);
}
