// The data exchange of floats, list-box strings and the range checks (the rest is in Dialog.cpp).
#include "mfc/Dialog.h"

#include "mfc/ModalHook.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cwchar>

namespace
{
[[noreturn]] void FailWith(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text, MB_ICONEXCLAMATION);
    pDX->Fail();
}

CString Number(long long v)
{
    CString s;
    s.Format(L"%lld", v);
    return s;
}

CString Number(double v, int digits)
{
    CString s;
    s.Format(L"%.*g", digits, v);
    return s;
}

// Checks only on the way out of the dialog, as the value is the one just taken from the control.
void CheckRange(CDataExchange* pDX, bool inRange, const CString& lo, const CString& hi, bool real)
{
    if (!pDX->m_bSaveAndValidate || inRange)
        return;
    CString text;
    text.Format(real ? L"Please enter a number between %s and %s."
                     : L"Please enter an integer between %s and %s.",
                lo.GetString(), hi.GetString());
    FailWith(pDX, text);
}

template <class T> void CheckIntRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    CheckRange(pDX, value >= minVal && value <= maxVal, Number((long long)minVal), Number((long long)maxVal),
               false);
}
} // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    CWnd* p = CWnd::FromHandle(pDX->PrepareEditCtrl(nIDC));
    if (!pDX->m_bSaveAndValidate)
    {
        CString s;
        s.Format(L"%.*g", FLT_DIG, double(value));
        if (p)
            p->SetWindowText(s);
        return;
    }
    CString s;
    if (p)
        p->GetWindowText(s);
    s.Trim();
    wchar_t* end = nullptr;
    errno = 0;
    const double v = std::wcstod(s, &end);
    if (s.IsEmpty() || !end || *end != L'\0' || errno == ERANGE || !std::isfinite(v) ||
        std::fabs(v) > FLT_MAX)
        FailWith(pDX, L"Please enter a number.");
    value = float(v);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd* p = CWnd::FromHandle(pDX->PrepareCtrl(nIDC));
    if (!p)
        return;
    if (!pDX->m_bSaveAndValidate)
    {
        p->SendMessage(LB_SELECTSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(value.GetString()));
        return;
    }
    value.Empty();
    const int index = int(p->SendMessage(LB_GETCURSEL));
    const int len = index >= 0 ? int(p->SendMessage(LB_GETTEXTLEN, WPARAM(index))) : -1;
    if (len < 0)
        return;
    std::wstring buf(size_t(len) + 1, L'\0');
    p->SendMessage(LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buf.data()));
    buf.resize(std::wcslen(buf.c_str()));
    value = CString(std::move(buf));
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckIntRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxLong(CDataExchange* pDX, LONG value, LONG minVal, LONG maxVal)
{
    CheckIntRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckIntRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckIntRange(pDX, value, minVal, maxVal);
}

void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minVal, float maxVal)
{
    CheckRange(pDX, value >= minVal && value <= maxVal, Number(minVal, FLT_DIG), Number(maxVal, FLT_DIG),
               true);
}

void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minVal, double maxVal)
{
    CheckRange(pDX, value >= minVal && value <= maxVal, Number(minVal, DBL_DIG), Number(maxVal, DBL_DIG),
               true);
}
