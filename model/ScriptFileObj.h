// One script-file entry of the project workspace.
#pragma once

#include "mfc/CString.h"
#include "mfc/Object.h"

class CScriptFileObj : public CObject
{
    DECLARE_SERIAL(CScriptFileObj)
public:
    CScriptFileObj();
    ~CScriptFileObj() override;

    // Record: name, type (32-bit), the rectangle as 16 raw bytes (left, top, right, bottom), extra
    // text. Fewer than 16 rectangle bytes throw CArchiveException (endOfFile).
    void Serialize(CArchive& ar) override;
    // The rectangle as 16 raw bytes, then the extra text.
    virtual void SerializePart(CArchive& ar);

public:
    CString m_strName;
    int m_nType = 1001;
    RECT m_rect = {0, 0, 500, 400};
    CString m_strExtra;

private:
    void SerializeRect(CArchive& ar);
};
