// The least forms of the behaviour and settings dialogs the design view opens: each holds the
// fields the view fills and reads, exchanges them with its edit boxes and check boxes, and tells
// whether OK changed anything (m_bModified). Their full forms come with their own work.
#pragma once

#include "mfc/Dialog.h"

#include <vector>

class CInfoServer;
class CFODrawShape;

// Dialog resources of the editor.
#define IDD_EVENT_SET 220
#define IDD_EF_EVENT_SET 187
#define IDD_KEY_VALUE 229
#define IDD_QYR_KEY_VALUE 230
#define IDD_OPTIONS 231
#define IDD_VISIBLE_EXPERT 232
#define IDD_SCREEN_SET 233
#define IDD_VALUE_TEST 234

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

// Event setting: event type, event string, cursor type, tooltip and click method.
class CQYREventSetDlg : public CEditorFieldDlg
{
public:
    explicit CQYREventSetDlg(CWnd* pParent = nullptr, UINT nIDTemplate = IDD_EVENT_SET);
    int m_nEventType = 0;
    CString m_strEventString;
    int m_nCursorType = 0;
    CString m_strToolTip;
    CString m_strMethod;
    // Whether a click reaches the children of a composite.
    int m_bAllowHitChild = FALSE;
};

// The event-function variant of the same dialog.
class CEFEventSetDlg : public CQYREventSetDlg
{
public:
    explicit CEFEventSetDlg(CWnd* pParent = nullptr) : CQYREventSetDlg(pParent, IDD_EF_EVENT_SET) {}
};

// Object name and keys 1 to 3, over an OPC server.
class CQYRKeyValueDlg : public CEditorFieldDlg
{
public:
    explicit CQYRKeyValueDlg(CInfoServer* pServer, CWnd* pParent = nullptr);
    CInfoServer* m_pServer;
    CString m_strObjectName;
    CString m_strKey1;
    CString m_strKey2;
    CString m_strKey3;
};

// Connect to parameter: object name, tooltip and keys 1 to 3.
class CKeyValueDlg : public CEditorFieldDlg
{
public:
    explicit CKeyValueDlg(CWnd* pParent = nullptr);
    CString m_strObjectName;
    CString m_strToolTip;
    CString m_strKey1;
    CString m_strKey2;
    CString m_strKey3;
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

class CVisibleExpertDlg : public CEditorFieldDlg
{
public:
    explicit CVisibleExpertDlg(CWnd* pParent = nullptr);
    CString m_strCondition;
};

// The seven screen user properties.
class CScreenSetDlg : public CEditorFieldDlg
{
public:
    explicit CScreenSetDlg(CWnd* pParent = nullptr);
    CString m_str15001;
    CString m_str15002;
    CString m_str15003;
    int m_n15004 = 1000;
    CString m_str15005;
    CString m_str15006;
    CString m_str15007;
};

class CMyTestDlg : public CEditorFieldDlg
{
public:
    explicit CMyTestDlg(CWnd* pParent = nullptr);
    void DoDataExchange(CDataExchange* pDX) override;
    CString m_strKey;
    double m_dValue = 0.0;
    CString m_strText;
};
