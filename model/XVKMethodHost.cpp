#include "model/XVKMethodHost.h"

#include "com/Dispatch.h"
#include "figkit/FODrawPortsShape.h"
#include "figkit/FOPCanvasCore.h"
#include "figkit/FOPortShape.h"
#include "figkit/FOShapeSet.h"
#include "foundation/ROzazeRir.h"
#include "mfc/Exceptions.h"
#include "model/ParamObj.h"
#include "model/WorkSpaceObj.h"
#include "model/XVKDataModel.h"
#include "win32/Utf.h"

#include <QDate>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cwchar>
#include <iterator>
#include <limits>

IMPLEMENT_DYNCREATE(CXVKMethodHost, CFOMethodHost)

BEGIN_MESSAGE_MAP(CXVKMethodHost, CFOMethodHost)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CXVKMethodHost, CFOMethodHost)
DISP_FUNCTION(CXVKMethodHost, "GetVarValue", GetVarValue, VT_R8, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "GetStrVarValue", GetStrVarValue, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "CloseApp", CloseApp, VT_EMPTY, VTS_NONE)
DISP_FUNCTION(CXVKMethodHost, "FindPortWithKey1", FindPortWithKey1, VT_I4, VTS_BSTR VTS_I4)
DISP_FUNCTION(CXVKMethodHost, "GetGVarValue", GetGVarValue, VT_R8, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "GetGStrVarValue", GetGStrVarValue, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "SetGVarValue", SetGVarValue, VT_EMPTY, VTS_BSTR VTS_R8)
DISP_FUNCTION(CXVKMethodHost, "GetRVarValue", GetRVarValue, VT_R8, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "GetRStrVarValue", GetRStrVarValue, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "SetRVarValue", SetRVarValue, VT_EMPTY, VTS_BSTR VTS_R8)
DISP_FUNCTION(CXVKMethodHost, "GetSVarValue", GetSVarValue, VT_R8, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "GetSStrVarValue", GetSStrVarValue, VT_BSTR, VTS_BSTR)
DISP_FUNCTION(CXVKMethodHost, "SetSVarValue", SetSVarValue, VT_EMPTY, VTS_BSTR VTS_R8)
END_DISPATCH_MAP()

namespace
{
BSTR ToBstr(const CString& s)
{
    return SysAllocStringLen(s.GetString(), UINT(s.GetLength()));
}

// The leading number of a text, as _wtof reads it: blanks skipped, 0 when there is none.
double TextToNumber(const CString& text)
{
    const std::string s = WideToUtf8(text.GetString());
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || (s[i] >= '\t' && s[i] <= '\r')))
        ++i;
    if (i < s.size() && s[i] == '+' && i + 1 < s.size() && s[i + 1] != '-')
        ++i;
    double value = 0.0;
    const auto r = std::from_chars(s.data() + i, s.data() + s.size(), value);
    return r.ec == std::errc() ? value : 0.0;
}

// Truncation toward zero as the processor does it: a value out of range (or NaN) gives the
// lowest value of the type.
int32_t TruncToInt32(double d)
{
    if (!(d > -2147483649.0 && d < 2147483648.0))
        return std::numeric_limits<int32_t>::min();
    return int32_t(d);
}

int64_t TruncToInt64(double d)
{
    if (!(d >= -9223372036854775808.0 && d < 9223372036854775808.0))
        return std::numeric_limits<int64_t>::min();
    return int64_t(d);
}

float NarrowToFloat(double d)
{
    if (std::isfinite(d) && std::fabs(d) > double(FLT_MAX))
        return d > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return float(d);
}

// "%A, %B %d, %Y" in English, whatever the locale.
CString FormatDate(const FO_DATETIME& dt)
{
    static const wchar_t* const days[] = {L"Monday", L"Tuesday",  L"Wednesday", L"Thursday",
                                          L"Friday", L"Saturday", L"Sunday"};
    static const wchar_t* const months[] = {L"January",   L"February", L"March",    L"April",
                                            L"May",       L"June",     L"July",     L"August",
                                            L"September", L"October",  L"November", L"December"};
    if (dt.m_status == FO_DATETIME::null)
        return CString();
    const QDate date =
        dt.m_status == FO_DATETIME::valid && std::isfinite(dt.m_dt) && std::fabs(dt.m_dt) < 3.0e6
            ? QDate(1899, 12, 30).addDays(qint64(std::trunc(dt.m_dt)))
            : QDate();
    if (!date.isValid() || date.year() < 100 || date.year() > 9999)
        return CString(L"Invalid DateTime");
    CString s;
    s.Format(L"%s, %s %02d, %d", days[date.dayOfWeek() - 1], months[date.month() - 1], date.day(),
             date.year());
    return s;
}
} // namespace

CXVKMethodHost::CXVKMethodHost()
{
    EnableAutomation();
    AfxOleLockApp();
}

CXVKMethodHost::~CXVKMethodHost()
{
    AfxOleUnlockApp();
}

BOOL CXVKMethodHost::DescribeException(EXCEPINFO* pExcepInfo)
{
    try
    {
        throw;
    }
    catch (CException* e)
    {
        wchar_t text[512];
        if (!e->GetErrorMessage(text, UINT(std::size(text))))
            wcscpy(text, L"Unknown exception");
        e->Delete();
        QyrFillExcepInfo(pExcepInfo, E_FAIL, text, nullptr);
        return TRUE;
    }
    catch (...)
    {
        return FALSE;
    }
}

void CXVKMethodHost::OnFinalRelease()
{
    CFOMethodHost::OnFinalRelease();
}

CParamObj* CXVKMethodHost::FindVariable(int nKind, LPCWSTR lpszName)
{
    if (!lpszName)
        return nullptr;
    ROzazeRir* app = AfxGetXVKApp();
    CWorkSpaceObj* workspace = app ? app->GetWorkSpace() : nullptr;
    if (!workspace)
        return nullptr;
    CString name(lpszName);
    name.Trim();
    name.MakeLower();
    return workspace->GetParamObj(nKind, name);
}

double CXVKMethodHost::ReadNumber(const CParamObj* pParam)
{
    if (!pParam)
        return DBL_MIN;
    const FO_VALUE& v = pParam->GetValue();
    switch (v.m_nValueType)
    {
    case FO_VALUE_BOOL:
        return v.m_bValue == 1 ? 1.0 : 0.0;
    case FO_VALUE_STRING:
        return TextToNumber(v.m_strValue);
    case FO_VALUE_INT:
        return double(v.m_nValue);
    case FO_VALUE_FLOAT:
        return double(v.m_fValue);
    case FO_VALUE_DOUBLE:
        return v.m_dValue;
    default:
        // The 32-bit word is not converted on this path, nor are dates and colours.
        return DBL_MIN;
    }
}

CString CXVKMethodHost::ReadText(const CParamObj* pParam)
{
    CString s;
    if (!pParam)
        return s;
    const FO_VALUE& v = pParam->GetValue();
    switch (v.m_nValueType)
    {
    case FO_VALUE_BOOL:
        s = v.m_bValue ? L"TRUE" : L"FALSE";
        break;
    case FO_VALUE_STRING:
        s = v.m_strValue;
        break;
    case FO_VALUE_INT:
        s.Format(L"%d", v.m_nValue);
        break;
    case FO_VALUE_FLOAT:
        s.Format(L"%.f", double(v.m_fValue));
        break;
    case FO_VALUE_DOUBLE:
        s.Format(L"%.f", v.m_dValue);
        break;
    case FO_VALUE_DWORD:
        s.Format(L"%u", unsigned(v.m_dwValue));
        break;
    case FO_VALUE_DATETIME:
        s = FormatDate(v.m_dtValue);
        break;
    case FO_VALUE_COLOR:
        s.Format(L"RGB(%u,%u,%u)", unsigned(v.m_crValue & 0xFF), unsigned((v.m_crValue >> 8) & 0xFF),
                 unsigned((v.m_crValue >> 16) & 0xFF));
        break;
    default:
        break;
    }
    return s;
}

BOOL CXVKMethodHost::WriteNumber(CParamObj* pParam, double dValue)
{
    if (!pParam)
        return FALSE;
    FO_VALUE& v = pParam->GetValue();
    switch (v.m_nValueType)
    {
    case FO_VALUE_BOOL:
        v.m_bValue = dValue == 0.0 ? 0 : 1;
        return TRUE;
    case FO_VALUE_STRING:
        v.m_strValue.Format(L"%.2f", dValue);
        return TRUE;
    case FO_VALUE_INT:
        v.m_nValue = TruncToInt32(dValue);
        return TRUE;
    case FO_VALUE_FLOAT:
        v.m_fValue = NarrowToFloat(dValue);
        return TRUE;
    case FO_VALUE_DOUBLE:
        v.m_dValue = dValue;
        return TRUE;
    case FO_VALUE_DWORD:
        v.m_dwValue = DWORD(uint64_t(TruncToInt64(dValue)) & 0xFFFFFFFFu);
        return TRUE;
    default:
        return FALSE;
    }
}

void CXVKMethodHost::SetVarValue(int nKind, LPCWSTR lpszName, double dValue)
{
    CParamObj* param = FindVariable(nKind, lpszName);
    if (!WriteNumber(param, dValue))
        return;
    auto* model = dynamic_cast<CXVKDataModel*>(GetCurModel());
    if (!model)
        return;
    CFOTypedShapeObList changed;
    model->UpdateParamData(param->GetName(), param->GetValue(), &changed, param->GetKind());
    CFOPCanvasCore* canvas = GetCanvas();
    if (!changed.IsEmpty() && canvas)
        canvas->UpdateShapes(&changed, 0, 0);
}

double CXVKMethodHost::GetVarValue(LPCWSTR lpszName)
{
    if (!lpszName)
        return DBL_MIN;
    if (lpszName[0] == L'#')
        return GetGVarValue(lpszName);
    if (lpszName[0] == L'$')
        return GetSVarValue(lpszName);
    return GetRVarValue(lpszName);
}

BSTR CXVKMethodHost::GetStrVarValue(LPCWSTR lpszName)
{
    if (!lpszName)
        return nullptr;
    if (lpszName[0] == L'#')
        return GetGStrVarValue(lpszName);
    if (lpszName[0] == L'$')
        return GetSStrVarValue(lpszName);
    return GetRStrVarValue(lpszName);
}

void CXVKMethodHost::CloseApp() {}

LONG CXVKMethodHost::FindPortWithKey1(LPCWSTR lpszKey, LONG lShape)
{
    CString key(lpszKey ? lpszKey : L"");
    key.Trim();
    CFODataModel* model = GetCurModel();
    if (key.IsEmpty() || lShape < 1 || !model)
        return 0;
    auto* shape = dynamic_cast<CFODrawPortsShape*>(model->ShapeFromHandle(DWORD(lShape)));
    if (!shape)
        return 0;
    for (int i = 0; i < shape->GetPortCount(); ++i)
    {
        CFOPortShape* port = shape->GetPort(i);
        if (!port)
            continue;
        CString portKey = port->GetKey();
        portKey.Trim();
        if (portKey == key)
            return LONG(GetPortHandle(port));
    }
    return 0;
}

double CXVKMethodHost::GetGVarValue(LPCWSTR lpszName)
{
    return ReadNumber(FindVariable(PARAM_KIND_GLOBAL, lpszName));
}

double CXVKMethodHost::GetRVarValue(LPCWSTR lpszName)
{
    return ReadNumber(FindVariable(PARAM_KIND_RUNTIME, lpszName));
}

double CXVKMethodHost::GetSVarValue(LPCWSTR lpszName)
{
    return ReadNumber(FindVariable(PARAM_KIND_SYSTEM, lpszName));
}

BSTR CXVKMethodHost::GetGStrVarValue(LPCWSTR lpszName)
{
    const CParamObj* param = FindVariable(PARAM_KIND_GLOBAL, lpszName);
    return param ? ToBstr(ReadText(param)) : nullptr;
}

BSTR CXVKMethodHost::GetRStrVarValue(LPCWSTR lpszName)
{
    const CParamObj* param = FindVariable(PARAM_KIND_RUNTIME, lpszName);
    return param ? ToBstr(ReadText(param)) : nullptr;
}

BSTR CXVKMethodHost::GetSStrVarValue(LPCWSTR lpszName)
{
    const CParamObj* param = FindVariable(PARAM_KIND_SYSTEM, lpszName);
    return param ? ToBstr(ReadText(param)) : nullptr;
}

void CXVKMethodHost::SetGVarValue(LPCWSTR lpszName, double dValue)
{
    SetVarValue(PARAM_KIND_GLOBAL, lpszName, dValue);
}

void CXVKMethodHost::SetRVarValue(LPCWSTR lpszName, double dValue)
{
    SetVarValue(PARAM_KIND_RUNTIME, lpszName, dValue);
}

void CXVKMethodHost::SetSVarValue(LPCWSTR lpszName, double dValue)
{
    SetVarValue(PARAM_KIND_SYSTEM, lpszName, dValue);
}
