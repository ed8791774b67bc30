#include "player/RunVisualProxy.h"

IMPLEMENT_DYNCREATE(CRunVisualProxy, CFOPVisualProxy)

CRunVisualProxy::CRunVisualProxy() = default;
CRunVisualProxy::~CRunVisualProxy() = default;

CString CRunVisualProxy::GetPixelSizeText(UINT nValue)
{
    CString text;
    text.Format(L"%u Pixel", nValue);
    return text;
}

BOOL CRunVisualProxy::LoadNamedBitmap(const CString&, CBitmap&)
{
    return TRUE;
}

void CRunVisualProxy::DoGenAddiToolTips(CString& strText, UINT nHandleType)
{
    if (nHandleType == HANDLE_KEY_SETTING)
        strText = L"Key Setting...";
    else if (nHandleType == HANDLE_EVENT_SETTING)
        strText = L"Event Setting...";
    else
        CFOPVisualProxy::DoGenAddiToolTips(strText, nHandleType);
}

void CRunVisualProxy::DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>& values)
{
    values.push_back({PROP_SCRIPT_PROC, FO_VALUE::MakeString(CString())});
}

BOOL CRunVisualProxy::FillWithBitmap(CDC* pDC, const CRect& rect, CBitmap* pBitmap)
{
    return CFOPVisualProxy::FillWithBitmap(pDC, rect, pBitmap);
}
