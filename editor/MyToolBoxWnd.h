// The editor's shape toolbox: the library's toolbox with the page commands New, Open, Save and
// Close, which keep each page in a page file (".trs") of the toolbox folder and list the saved and
// opened ones in the folder's "index.dat" (ToolBoxIndex.h).
#pragma once

#include "figkit/FOToolBoxWnd.h"

#include <vector>

#define ID_TOOLBOX_OPEN_PAGE 41071
#define ID_TOOLBOX_NEW_PAGE 41072
#define ID_TOOLBOX_SAVE_PAGE 41073
#define ID_TOOLBOX_CLOSE_PAGE 41100
#define IDS_TOOLBOX_NEW_PAGE 28067
#define IDS_TOOLBOX_SELECT_FILE 32867
#define IDS_TOOLBOX_BAD_NAME 33960
#define IDS_TOOLBOX_NOT_WRITTEN 33961
#define IDS_TOOLBOX_NOT_READ 48000

class CMyToolBoxPageWnd : public CFOToolBoxPageWnd
{
    DECLARE_DYNCREATE(CMyToolBoxPageWnd)
public:
    // Saves the page: to its own file when it has one, else under a name asked for (as Save page).
    BOOL SavePageAs() override;
};

class CMyToolBoxWnd : public CFOMultiToolBoxWnd
{
    DECLARE_DYNCREATE(CMyToolBoxWnd)
public:
    CMyToolBoxWnd();
    ~CMyToolBoxWnd() override;

    // The folder of the page files and the index, with a trailing '/'. It starts as the program's
    // toolbox folder (ToolBoxIndex.h).
    const CString& GetToolBoxFolder() const { return m_strFolder; }
    void SetToolBoxFolder(const CString& strFolder);

    // The page commands.
    afx_msg void OnNewPage();
    afx_msg void OnOpenPage();
    afx_msg void OnSavePage();
    afx_msg void OnClosePage();
    // The page commands and the view styles on a right click.
    void OnContextMenu(CWnd* pWnd, CPoint pos) override;

    // Opens the pages that the index lists, in its order; a page that cannot be read stays out.
    // With none, one empty "New" page. Returns the number opened from files.
    int OpenIndexedPages();
    // Loads a page file of the toolbox folder into a new page; the caption is the name without
    // ".trs". FALSE when the file cannot be read (the page stays, empty).
    BOOL LoadPageFile(const CString& strFileName);
    // Removes the open page unless it is the last one.
    BOOL RemoveActivePage();
    // The captions of the open pages, last to first, lower-cased and trimmed.
    void GetOpenCaptions(std::vector<CString>& captions) const;

    // Asks for a page name until it is usable and free, as Save page does: fills the caption and
    // the file name; FALSE when the user cancels. strInitial fills the first dialog.
    BOOL AskPageName(CString& strCaption, CString& strFileName, const CString& strInitial = CString()) const;
    // Saves the given page window's page under a new name and lists it in the index (Save page
    // for a page without a file).
    BOOL SaveNewPage(CFOToolBoxPageWnd* pPageWnd);

    // Whether a name ends in ".trs" (four characters, any case).
    static BOOL HasPageExtension(const CString& strName);
    // Whether a typed page name may be used: not empty, without '/', '\' or "..".
    static BOOL IsUsablePageName(const CString& strName);
    // The text after the last '/' or '\' (all of it when there is none).
    static CString FileNameOf(const CString& strPath);

protected:
    CFOToolBoxPageWnd* CreatePageWnd() override;

    CString m_strFolder;

    DECLARE_MESSAGE_MAP()
};
