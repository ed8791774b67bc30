// CExtOcx: the saved state of a hosted control, as bytes. A loaded length never exceeds what is
// left in the archive; a failed load leaves the blob as it was.
#pragma once

#include "mfc/Object.h"

#include <memory>

class CExtOcx : public CObject
{
    DECLARE_DYNCREATE(CExtOcx)
public:
    CExtOcx() = default;
    CExtOcx(const CExtOcx& src);
    ~CExtOcx() override = default;

    // Length (DWORD), then the bytes when there are any.
    void Serialize(CArchive& ar) override;

    virtual CExtOcx& operator=(const CExtOcx& src);
    virtual BOOL operator==(const CExtOcx& other) const;
    virtual BOOL operator!=(const CExtOcx& other) const { return !(*this == other); }

    // Replaces the bytes with a copy of these.
    void SetData(const BYTE* pData, DWORD nLength);
    void Empty() { SetData(nullptr, 0); }
    DWORD GetLength() const { return m_nLength; }
    const BYTE* GetData() const { return m_pData.get(); }

    DWORD m_nLength = 0;
    std::unique_ptr<BYTE[]> m_pData;
};
