#include "model/ScriptFileObj.h"

#include "mfc/Archive.h"

IMPLEMENT_SERIAL(CScriptFileObj, CObject, 0)

CScriptFileObj::CScriptFileObj() = default;

CScriptFileObj::~CScriptFileObj() = default;

void CScriptFileObj::SerializeRect(CArchive& ar)
{
    BYTE raw[16];
    if (ar.IsStoring())
    {
        const LONG values[4] = {m_rect.left, m_rect.top, m_rect.right, m_rect.bottom};
        for (int i = 0; i < 4; ++i)
        {
            const DWORD v = DWORD(values[i]);
            for (int b = 0; b < 4; ++b)
                raw[i * 4 + b] = BYTE(v >> (8 * b));
        }
        ar.Write(raw, sizeof(raw));
        return;
    }
    if (ar.Read(raw, sizeof(raw)) != sizeof(raw))
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    LONG values[4];
    for (int i = 0; i < 4; ++i)
    {
        DWORD v = 0;
        for (int b = 0; b < 4; ++b)
            v |= DWORD(raw[i * 4 + b]) << (8 * b);
        values[i] = LONG(v);
    }
    m_rect = {values[0], values[1], values[2], values[3]};
}

void CScriptFileObj::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_strName << m_nType;
    else
        ar >> m_strName >> m_nType;
    SerializeRect(ar);
    if (ar.IsStoring())
        ar << m_strExtra;
    else
        ar >> m_strExtra;
}

void CScriptFileObj::SerializePart(CArchive& ar)
{
    SerializeRect(ar);
    if (ar.IsStoring())
        ar << m_strExtra;
    else
        ar >> m_strExtra;
}
