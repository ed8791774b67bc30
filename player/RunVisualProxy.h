// CRunVisualProxy: the visual proxy of the runtime programs. It is the editor's proxy cut down to
// what a running screen needs: texts of the two extra handles and of a size in pixels, and the
// default of the shape script property; no named bitmaps, icons or port option. It has its own
// name because the programs also link the editor's CNewVisualProxy of the symbols library.
#pragma once

#include "figkit/FOPVisualProxy.h"

class CRunVisualProxy : public CFOPVisualProxy
{
    DECLARE_DYNCREATE(CRunVisualProxy)
public:
    enum
    {
        HANDLE_KEY_SETTING = 31056,
        HANDLE_EVENT_SETTING = 31057,
        PROP_SCRIPT_PROC = 15008,
    };
    CRunVisualProxy();
    ~CRunVisualProxy() override;

    // "%u Pixel".
    CString GetPixelSizeText(UINT nValue) override;
    // Nothing is loaded; TRUE.
    BOOL LoadNamedBitmap(const CString& strName, CBitmap& bitmap) override;
    // The tooltip of an extra handle; other handle types get the base's.
    void DoGenAddiToolTips(CString& strText, UINT nHandleType) override;
    // Appends the empty default of the shape script property.
    void DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>& values) override;
    BOOL FillWithBitmap(CDC* pDC, const CRect& rect, CBitmap* pBitmap) override;
};
