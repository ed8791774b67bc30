// CFOiControlShape: a shape that hosts an instrument control as a child window of the canvas over
// its rectangle. It creates the control by class id from the saved state, keeps the window placed
// when the canvas paints, opens the control's property pages and captures the state afterwards, and
// saves class id, name, creation string and state in the screen file.
//
// Invariants: the control window (GetCtrl) is owned by the shape; a shape that has never created
// its control keeps value, text and visibility in itself, and no push or read reaches a control.
#pragma once

#include "com/Dispatch.h"
#include "figkit/FOWndControlShape.h"
#include "instruments/ExtOcx.h"

#include <memory>

class COleControlWnd;
class COleStreamFile;
class CView;
class IPersistStreamInit;
struct IUnknown;

// How an instrument's value reaches its control.
enum class EShapeValue : BYTE
{
    None,      // kept only in the shape
    R8,        // the property as a double
    I4,        // the property as a 32-bit integer, truncated and saturated
    Bool,      // the property as a BOOL: the truncated value, non-zero is true
    Hex,       // the value as upper-case hexadecimal text into the text property
    Edit,      // the value kept as "%g" text in the shape; nothing reaches the control
    BarMethod, // method 54 (bar 0, value) writes, method 51 (bar 0) reads
};

// One instrument class: its type, classes, control and the dispatch ids of value, text, visibility.
struct INSTRUMENT_SHAPE_ROW
{
    UINT nType;
    CRuntimeClass* pShapeClass;
    LPCWSTR lpszCtrlName;
    LPCWSTR lpszClsid;
    CRuntimeClass* pWrapperClass;
    EShapeValue value;
    DISPID dispValue;
    BOOL bText;
    DISPID dispText;
    BOOL bVisible;
    DISPID dispVisible;
};

class CFOiControlShape : public CFOWndControlShape
{
    DECLARE_SERIAL(CFOiControlShape)
public:
    CFOiControlShape();
    CFOiControlShape(UINT nType, UINT nID);
    // Copies carry class id, control name, creation string and state, never the window.
    CFOiControlShape(const CFOiControlShape& src);
    ~CFOiControlShape() override;
    CFOiControlShape& operator=(const CFOiControlShape& src);
    CFODrawShape* Copy() const override;

    // The instrument's row; null for the bare base, which keeps everything in the shape.
    virtual const INSTRUMENT_SHAPE_ROW* GetRow() const { return nullptr; }

    // Base record, state (CExtOcx), class id (DWORD, WORD, WORD, 8 bytes), control name, creation
    // string. A load that fails leaves class id, names and state as they were.
    void Serialize(CArchive& ar) override;

    void Create(CRect& rcPos, CString strCaption = CString()) override;
    void SetParentWnd(CWnd* pWnd) override;
    // The canvas's call: makes the control with the control id, taking no input in design mode.
    // 0 on success.
    int CreateWnd(CWnd* pParent, int nID) override;
    // Makes the control window as a child of pParentWnd from the saved state; bDisable makes it
    // take no input. A state that the control refuses leaves it on its defaults (the saved state
    // is kept). FALSE without a wrapper object or when the control cannot be made.
    virtual BOOL CreateControlWnd(CWnd* pParentWnd, BOOL bDisable);
    virtual BOOL OnPostCreate() { return TRUE; }
    // Runs the control's property pages and captures its state; FALSE (state unchanged) when there
    // is no control or the pages are cancelled.
    BOOL OnEditProperties(CView* pView) override;
    // The canvas opens the pages on a design-time double-click and records the state change.
    BOOL HasPropertyPages() const override { return TRUE; }
    // The saved state; putting one back also loads it into the running control (an empty one
    // resets the control to its defaults).
    std::vector<BYTE> GetControlState() const override;
    void SetControlState(const std::vector<BYTE>& state) override;

    const CLSID& GetClsid() const { return m_clsid; }
    CLSID& GetClsid() { return m_clsid; }
    COleControlWnd* GetCtrl() const;
    // The control window exists and its control runs.
    BOOL HasControl() const;
    BOOL IsDesignMode() const;
    BOOL PositionCorrect() const;
    BOOL IsDesignFrame() const { return m_bDesignFrame; }
    int GetFrameInset() const { return m_nFrameInset; }

    // The control's identity (bUnknown, no reference added) or its IDispatch (a new reference).
    IUnknown* GetOleIDispatch(BOOL bUnknown) const;
    // The control's persistence (a new reference) over a new memory stream in pFile.
    IPersistStreamInit* GetOleFile(COleStreamFile* pFile) const;
    // Saves the running control's state into pOcx (or the shape's); the blob changes only on success.
    BOOL FetchOcxData(CExtOcx* pOcx = nullptr);
    // A stream holding a copy of the blob, at its start; null for an empty blob.
    std::unique_ptr<COleStreamFile> LoadOcxFile(const CExtOcx* pOcx = nullptr) const;
    // Loads the blob into the running control; TRUE at once for an empty blob.
    BOOL LoadOcxData(const CExtOcx* pOcx = nullptr);
    const CExtOcx& GetOcxData() const { return m_ocxData; }
    void SetOcxData(const CExtOcx& data) { m_ocxData = data; }

    const CString& GetCtrlName() const { return m_strCtrlName; }
    const CString& GetCreateString() const { return m_strCreateString; }

    // Value, text and visibility: the control first (by the row), then the shape.
    double GetCurrentValue() const override;
    void SetCurrentValue(double dValue) override;
    void SetCurrentTextValue(const CString& strValue) override;
    void SetVisible(BOOL bVisible) override;
    BOOL IsVisible() const;

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override;

    // A double as a 32-bit integer: truncated toward zero, saturated, NaN as 0.
    static LONG SaturateToLong(double d);

protected:
    // Places the control window over the shape (design frame inset); FALSE when there is none.
    BOOL PlaceControl(CDC* pDC);
    // Makes the row's wrapper object when the shape has none.
    void EnsureWrapper();
    // A new instrument: creation string, and control name, class id and wrapper of the row.
    void InitFromRow(LPCWSTR lpszCreateString);

    int m_nFrameInset = 0;
    BOOL m_bDesignFrame = FALSE;
    CLSID m_clsid = {};
    CString m_strCreateString;
    CString m_strCtrlName;
    CExtOcx m_ocxData;
};

// The rows of the 63 instrument classes, in type order, and one by type id (null when none).
const INSTRUMENT_SHAPE_ROW* InstrumentShapeRows(int* pnCount);
const INSTRUMENT_SHAPE_ROW* FindInstrumentShapeRow(UINT nType);
