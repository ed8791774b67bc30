// The least forms of the behaviour and settings dialogs the design view opens: each holds the
// fields the view fills and reads, exchanges them with its edit boxes and check boxes, and tells
// whether OK changed anything (m_bModified). Their full forms come with their own work.
#pragma once

#include "mfc/Dialog.h"

#include <vector>

class CFODrawShape;

// Dialog resources of the editor.
#define IDD_OPTIONS 231

// The fields of a dialog, bound to control ids; the first values are kept on opening.
class CEditorFieldDlg : public CDialog
{
public:
    CEditorFieldDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

    BOOL m_bModified = FALSE;

protected:
    void BindText(int nID, CString* pValue) { m_texts.push_back({nID, pValue, CString()}); }
    void BindInt(int nID, int* pValue) { m_ints.push_back({nID, pValue, 0}); }
    void BindCheck(int nID, int* pValue) { m_checks.push_back({nID, pValue, 0}); }
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    struct TextField
    {
        int nID;
        CString* pValue;
        CString first;
    };
    struct IntField
    {
        int nID;
        int* pValue;
        int first;
    };
    std::vector<TextField> m_texts;
    std::vector<IntField> m_ints;
    std::vector<IntField> m_checks;
};

class COptionDlg : public CEditorFieldDlg
{
public:
    explicit COptionDlg(CWnd* pParent = nullptr);
    int m_bNoDefaultPort = FALSE;
    int m_bLimitPoint = FALSE;
    int m_bSimpleTrack = FALSE;
    int m_bSelectWithin = FALSE;
};
