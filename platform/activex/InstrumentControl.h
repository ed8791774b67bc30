// The stand-in instrument controls: 63 control classes, registered by class id and name when this
// library loads, each drawn by one of the renderers of InstrumentState.h and answering the dispatch
// ids of its value, text and visibility. Any other dispatch id is not a member.
//
// State: the settings in the stream of InstrumentState.h. A stream that does not read is kept byte
// for byte, saved back unchanged and drawn with defaults, until the property page changes the
// settings.
#pragma once

#include "activex/InstrumentState.h"
#include "activex/OleInterfaces.h"
#include "com/EmptyDispatch.h"

#include <vector>

// How a control takes its value.
enum class EInstrumentValue : BYTE
{
    None,
    R8,
    I4,
    Bool,
    BarMethod, // method 54 (bar, value) writes; method 51 (bar) reads
};

struct INSTRUMENT_CONTROL_INFO
{
    LPCWSTR lpszName;
    CLSID clsid;
    EInstrumentRenderer renderer;
    int nCount; // the renderer's default count
    EInstrumentValue valueKind;
    DISPID dispValue;
    BOOL bText;
    DISPID dispText;
    BOOL bVisible;
    DISPID dispVisible;
};

// Dispatch ids of the bar methods.
#define INSTRUMENT_DISPID_SETBAR 54
#define INSTRUMENT_DISPID_GETBAR 51
#define INSTRUMENT_BAR_COUNT 8

const std::vector<INSTRUMENT_CONTROL_INFO>& AfxInstrumentControls();
const INSTRUMENT_CONTROL_INFO* AfxFindInstrumentControl(REFCLSID clsid);
// Registers the class objects (again after a test took them away); idempotent.
void AfxRegisterInstrumentControls();

class CInstrumentControl : public CEmptyDispatchImpl<IPersistStreamInit, IOleObject, IQyrControlView>
{
public:
    explicit CInstrumentControl(const INSTRUMENT_CONTROL_INFO& info);

    // IDispatch: no names, only the dispatch ids of the control's members.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID dispIdMember, REFIID, LCID, WORD wFlags, DISPPARAMS* pDispParams,
                                     VARIANT* pVarResult, EXCEPINFO*, UINT*) override;
    // IPersistStreamInit
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* pClassID) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override;
    HRESULT STDMETHODCALLTYPE Load(LPSTREAM pStm) override;
    HRESULT STDMETHODCALLTYPE Save(LPSTREAM pStm, BOOL fClearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULONGLONG* pcbSize) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    // IOleObject: the properties verb runs the property page; S_FALSE when it is cancelled.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* pClientSite) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** ppClientSite) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG iVerb, MSG*, IOleClientSite*, LONG, HWND hwndParent,
                                     LPCRECT) override;
    // IQyrControlView
    HRESULT STDMETHODCALLTYPE Draw(CDC* pDC, LPCRECT lprcBounds) override;

    const INSTRUMENT_CONTROL_INFO& Info() const { return m_info; }
    const CInstrumentSettings& Settings() const { return m_settings; }
    void SetSettings(const CInstrumentSettings& settings);
    BOOL HasForeignState() const { return m_bForeign; }
    double GetValue() const { return m_dValue; }
    const CString& GetText() const { return m_strText; }
    BOOL GetVisible() const { return m_bVisible; }
    // Property puts and method calls that changed something or not: what reached the control.
    int GetPutCount() const { return m_nPuts; }

    // Largest state stream a control reads.
    static const ULONG kMaxState = 1u << 20;

private:
    void Repaint();
    HRESULT PutValue(const VARIANT& v);
    HRESULT GetValue(VARIANT* pResult) const;

    const INSTRUMENT_CONTROL_INFO& m_info;
    CInstrumentSettings m_settings;
    std::vector<BYTE> m_foreign;
    BOOL m_bForeign = FALSE;
    BOOL m_bDirty = FALSE;
    double m_dValue = 0.0;
    double m_aBars[INSTRUMENT_BAR_COUNT] = {};
    CString m_strText;
    BOOL m_bVisible = TRUE;
    int m_nPuts = 0;
    CComPtr<IOleClientSite> m_site;
};
