// A window that hosts an ActiveX control: the control is made by class id, gets its state from a
// stream, sits on a client site that this window provides, paints into this window and is driven by
// dispatch ids. The window exists exactly while the control does.
#pragma once

#include "activex/OleStreamFile.h"
#include "mfc/Wnd.h"

// Parameter and result types of InvokeHelper, one byte each, as a zero-ended string.
#define VTS_I4 "\x03"
#define VTS_R8 "\x05"
#define VTS_BSTR "\x08"
#define VTS_BOOL "\x0B"
#define VTS_NONE ""

class COleControlSite;

class COleControlWnd : public CWnd
{
    DECLARE_DYNCREATE(COleControlWnd)
public:
    COleControlWnd();
    ~COleControlWnd() override;

    // Makes the control of the class as a child window of pParentWnd. pPersist, when given, holds the
    // control's saved state from its current position; else the control starts new. FALSE when the
    // class is not registered, the object is no control or the window cannot be made.
    BOOL CreateControl(REFCLSID clsid, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, UINT nID, COleStreamFile* pPersist = nullptr, BOOL bStorage = FALSE,
                       BSTR bstrLicKey = nullptr);
    // The control's identity (no reference added); null without a control.
    LPUNKNOWN GetControlUnknown() const;
    COleControlSite* GetControlSite() const { return m_pSite; }

    // Calls a member by dispatch id. pbParamInfo lists the VTS_ types of the arguments that follow;
    // vtRet is the result's type (VT_EMPTY for none) and pvRet where it goes (a BSTR result is
    // written as a CString). A failing call throws _com_error; a call without a control does nothing.
    void InvokeHelper(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const char* pbParamInfo, ...);
    // One value of the type vtProp names. A template rather than a variadic function: a parameter
    // before "..." must not be one that promotion widens, as VARTYPE is.
    template <typename T> void SetProperty(DISPID dwDispID, VARTYPE vtProp, T value)
    {
        const char info[2] = {char(vtProp), 0};
        InvokeHelper(dwDispID, DISPATCH_PROPERTYPUT, VT_EMPTY, nullptr, info, value);
    }
    void GetProperty(DISPID dwDispID, VARTYPE vtProp, void* pvProp) const;

    BOOL DestroyWindow() override;
    afx_msg void OnPaint() override;

protected:
    void InvokeHelperV(DISPID dwDispID, WORD wFlags, VARTYPE vtRet, void* pvRet, const char* pbParamInfo,
                       va_list argList) const;
    void ReleaseControl();

    COleControlSite* m_pSite = nullptr;

    DECLARE_MESSAGE_MAP()
};

// The client site of one hosted control. The in-place object is set once the control is running in
// its window.
class COleControlSite : public CComObjectImpl<IOleClientSite>
{
public:
    explicit COleControlSite(COleControlWnd* pWnd) : m_pWnd(pWnd) {}

    HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ShowObject() override { return S_OK; }
    HWND STDMETHODCALLTYPE GetSiteWindow() override;

    LPUNKNOWN GetInPlaceObject() const { return m_pObject; }
    void SetInPlaceObject(LPUNKNOWN pObject) { m_pObject = pObject; }
    void Detach() { m_pWnd = nullptr; }

private:
    COleControlWnd* m_pWnd;
    CComPtr<IUnknown> m_pObject;
};
