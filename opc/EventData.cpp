#include "opc/EventData.h"

#include <ctime>

namespace
{
// 100 ns steps between 1601-01-01 and 1970-01-01.
constexpr ULONGLONG kUnixEpochAsFileTime = 116444736000000000ULL;

ULONGLONG FileTimeValue(const FILETIME& ft)
{
    return (ULONGLONG(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

// The UTC file time as the local date and time, "%c"; empty when it cannot be shown.
CString LocalDateText(const FILETIME& ft)
{
    const ULONGLONG value = FileTimeValue(ft);
    const long long seconds =
        (long long)(value / 10000000ULL) - (long long)(kUnixEpochAsFileTime / 10000000ULL);
    const time_t t = time_t(seconds);
    struct tm local = {};
    if (!localtime_r(&t, &local))
        return CString();
    char text[128];
    const size_t n = std::strftime(text, sizeof text, "%c", &local);
    return CString(std::string(text, n).c_str());
}
} // namespace

CEventData::CEventData(const ONEVENTSTRUCT& event)
    : m_strSource(event.szSource ? event.szSource : L""),
      m_strMessage(event.szMessage ? event.szMessage : L""),
      m_strConditionName(event.szConditionName ? event.szConditionName : L""),
      m_strSubconditionName(event.szSubconditionName ? event.szSubconditionName : L""),
      m_strActorID(event.szActorID ? event.szActorID : L""), m_event(event)
{
    CopyAttributes(event.pEventAttributes, event.pEventAttributes ? event.dwNumEventAttrs : 0);
    PointRecordAtCopy();
}

CEventData::CEventData(const CEventData& other)
    : m_strSource(other.m_strSource), m_strMessage(other.m_strMessage),
      m_strConditionName(other.m_strConditionName), m_strSubconditionName(other.m_strSubconditionName),
      m_strActorID(other.m_strActorID), m_event(other.m_event), m_bRefresh(other.m_bRefresh)
{
    CopyAttributes(other.m_attrValues.data(), DWORD(other.m_attrValues.size()));
    PointRecordAtCopy();
}

CEventData& CEventData::operator=(const CEventData& other)
{
    if (this == &other)
        return *this;
    ClearAttributes();
    m_strSource = other.m_strSource;
    m_strMessage = other.m_strMessage;
    m_strConditionName = other.m_strConditionName;
    m_strSubconditionName = other.m_strSubconditionName;
    m_strActorID = other.m_strActorID;
    m_event = other.m_event;
    m_bRefresh = other.m_bRefresh;
    CopyAttributes(other.m_attrValues.data(), DWORD(other.m_attrValues.size()));
    PointRecordAtCopy();
    return *this;
}

CEventData::~CEventData()
{
    ClearAttributes();
}

void CEventData::CopyAttributes(const VARIANT* values, DWORD count)
{
    m_attrValues.resize(count);
    for (DWORD i = 0; i < count; ++i)
    {
        VariantInit(&m_attrValues[i]);
        // A value that cannot be copied (an unknown type) stays empty.
        if (FAILED(VariantCopy(&m_attrValues[i], &values[i])))
            VariantInit(&m_attrValues[i]);
    }
    m_attrTable.clear();
    for (VARIANT& v : m_attrValues)
        m_attrTable.push_back(&v);
}

void CEventData::ClearAttributes()
{
    for (VARIANT& v : m_attrValues)
        VariantClear(&v);
    m_attrValues.clear();
    m_attrTable.clear();
}

void CEventData::PointRecordAtCopy()
{
    m_event.szSource = const_cast<LPWSTR>(m_strSource.GetString());
    m_event.szMessage = const_cast<LPWSTR>(m_strMessage.GetString());
    m_event.szConditionName = const_cast<LPWSTR>(m_strConditionName.GetString());
    m_event.szSubconditionName = const_cast<LPWSTR>(m_strSubconditionName.GetString());
    m_event.szActorID = const_cast<LPWSTR>(m_strActorID.GetString());
    m_event.dwNumEventAttrs = DWORD(m_attrValues.size());
    m_event.pEventAttributes = m_attrValues.empty() ? nullptr : m_attrValues.data();
}

CString CEventData::GetFormatMessage() const
{
    // A simple event has no active time; it shows when it happened instead.
    const FILETIME& when = FileTimeValue(m_event.ftActiveTime) ? m_event.ftActiveTime : m_event.ftTime;
    CString line;
    line.Format(L"%s   %-32.32s   %-80.80s", LocalDateText(when).GetString(), m_strSource.GetString(),
                m_strMessage.GetString());
    return line;
}
