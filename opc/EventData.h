// CEventData: one alarm or event as the alarms-and-events sink received it, copied out of the
// server's record so that it outlives the call. Whoever receives it owns it and deletes it.
//
// The copy trusts nothing of the record: null texts read as empty, a count without an attribute
// array copies none (and the copy's count says so), and the record's pointers are pointed at the
// copy's own texts and values, never left pointing into the server's memory.
#pragma once

#include "com/Variant.h"
#include "mfc/CString.h"
#include "opcsdk/OpcAe.h"

#include <vector>

class CEventData
{
public:
    explicit CEventData(const ONEVENTSTRUCT& event);
    CEventData(const CEventData& other);
    CEventData& operator=(const CEventData& other);
    virtual ~CEventData();

    DWORD GetNumEventAttrs() const { return m_event.dwNumEventAttrs; }
    // The display line: "%s   %-32.32s   %-80.80s" with the local date and time of the condition's
    // activation (the event time when the record has no active time), the source and the message.
    CString GetFormatMessage() const;

    CString m_strSource;
    CString m_strMessage;
    CString m_strConditionName;
    CString m_strSubconditionName;
    CString m_strActorID;
    ONEVENTSTRUCT m_event;
    BOOL m_bRefresh = FALSE;
    std::vector<VARIANT> m_attrValues; // deep copies, one per attribute
    std::vector<VARIANT*> m_attrTable; // one per attribute, into m_attrValues

private:
    void CopyAttributes(const VARIANT* values, DWORD count);
    void ClearAttributes();
    void PointRecordAtCopy();
};
