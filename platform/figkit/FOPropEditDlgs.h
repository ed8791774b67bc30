// The library's property dialogs over shape property ids: the property manager with every common
// property of a shape, and the text, line, fill and bullet dialogs with a part of them. Each control
// of these dialogs has the id of the property it edits. The dialog shows the values of one shape
// (the first of a selection), checks every value against its type on OK (a bad one is named in a
// message and the dialog stays open), and makes one property action with the values that changed,
// for all the shapes it is for. The position, page, layer and components dialogs edit what has no
// property id: a shape's rectangle, the page, the drawing order and the selection.
#pragma once

#include "figkit/FoValue.h"
#include "figkit/FOShapeSet.h"
#include "mfc/Dialog.h"

#include <vector>

class CFODataModel;
class CFODrawShape;
class CFOPropAction;

// What a row of a property dialog holds, and so how it is read and checked.
enum FOPropRowKind
{
    FO_ROW_TEXT,   // any text
    FO_ROW_NAME,   // a text that may not be empty
    FO_ROW_INT,    // a whole number between the row's limits
    FO_ROW_BOOL,   // a check box
    FO_ROW_COLOR,  // "#RRGGBB"
    FO_ROW_CHOICE, // a drop-down list; the value is the index of the entry
};

struct FOPropRow
{
    int nPropId;
    FOPropRowKind nKind;
    int nMin = 0;
    int nMax = 0;
};

class CFOPropEditDlg : public CDialog
{
public:
    CFOPropEditDlg(LPCWSTR lpszTemplate, std::vector<FOPropRow> rows, CWnd* pParent = nullptr);

    // Takes the values of the shape (missing properties read as 0 or empty).
    void LoadFrom(const CFODrawShape* pShape);
    // The value of a property as the dialog holds it (after OK: as entered).
    const FO_VALUE* GetValue(int nPropId) const;
    // Whether any value differs from what was loaded.
    BOOL IsModified() const;
    // An action with one entry per changed value, on all the shapes; null when nothing changed.
    CFOPropAction* MakeAction(CFODataModel* pModel, const FOPContainer& shapes) const;

    // A colour as the dialogs show it, and back; FALSE for a text that is no colour.
    static CString FormatColor(COLORREF cr);
    static BOOL ParseColor(const CString& strText, COLORREF& cr);
    // The entries of a choice row.
    static std::vector<CString> ChoicesOf(int nPropId);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    // Reads and checks one row's control; FALSE (with the message text) when it does not fit.
    BOOL ReadRow(const FOPropRow& row, FO_VALUE& value, CString& strError) const;

    std::vector<FOPropRow> m_rows;
    std::vector<FO_VALUE> m_first;
    std::vector<FO_VALUE> m_values;
};

// Every common property: name, keys, text and alignment, font, line, fill, visibility condition,
// event, cursor and tooltip.
class CFOPropManagerDlg : public CFOPropEditDlg
{
public:
    explicit CFOPropManagerDlg(CWnd* pParent = nullptr);
};

// The text, its font and alignment.
class CFOTextPropDlg : public CFOPropEditDlg
{
public:
    explicit CFOTextPropDlg(CWnd* pParent = nullptr);
};

// Line width, colour, style and the no-line switch.
class CFOLinePropDlg : public CFOPropEditDlg
{
public:
    explicit CFOLinePropDlg(CWnd* pParent = nullptr);
};

// Fill colour and fill type.
class CFOFillPropDlg : public CFOPropEditDlg
{
public:
    explicit CFOFillPropDlg(CWnd* pParent = nullptr);
};

// The bullet of a text: its type and colour.
class CFOTextBulletDlg : public CFOPropEditDlg
{
public:
    explicit CFOTextBulletDlg(CWnd* pParent = nullptr);
};

// A shape's position and size within the page.
class CFOPositionDlg : public CDialog
{
public:
    explicit CFOPositionDlg(CWnd* pParent = nullptr);
    enum
    {
        IDC_LEFT = 1101,
        IDC_TOP = 1102,
        IDC_WIDTH = 1103,
        IDC_HEIGHT = 1104,
    };
    CRect m_rcShape;
    // The page the shape must stay on.
    CSize m_sizePage;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// The page: its size, colours and border.
class CFOPageSetupDlg : public CDialog
{
public:
    explicit CFOPageSetupDlg(CWnd* pParent = nullptr);
    enum
    {
        IDC_PAGE_WIDTH = 1111,
        IDC_PAGE_HEIGHT = 1112,
        IDC_BACK_COLOR = 1113,
        IDC_PAGE_COLOR = 1114,
        IDC_BORDER = 1115,
    };
    CSize m_sizePage;
    COLORREF m_crBack = 0xFFFFFF;
    COLORREF m_crPage = 0xFFFFFF;
    BOOL m_bBorder = TRUE;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// Where the selection lies in the drawing order: 0 to front, 1 to back, 2 forward, 3 backward.
class CFOLayerDlg : public CDialog
{
public:
    explicit CFOLayerDlg(CWnd* pParent = nullptr);
    enum
    {
        IDC_TO_FRONT = 1121,
        IDC_TO_BACK = 1122,
        IDC_FORWARD = 1123,
        IDC_BACKWARD = 1124,
    };
    int m_nOrder = 0;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};

// The shapes of the page by name and kind; the chosen ones become the selection.
class CFOComponentsDlg : public CDialog
{
public:
    explicit CFOComponentsDlg(CWnd* pParent = nullptr);
    enum
    {
        IDC_SHAPE_LIST = 1131,
    };
    // The shapes listed, and after OK the indexes chosen.
    std::vector<CFODrawShape*> m_shapes;
    std::vector<int> m_chosen;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
