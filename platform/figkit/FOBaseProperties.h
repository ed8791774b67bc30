// A set of custom properties kept on a shape or a model under one property id. A set answers value
// requests for the ids it knows (its own id, or ids of its fields) through GetValue and PutValue.
#pragma once

#include "figkit/FoValue.h"
#include "mfc/Object.h"

class CFOBaseProperties : public CObject
{
    DECLARE_SERIAL(CFOBaseProperties)
public:
    explicit CFOBaseProperties(int nPropId = 0);
    CFOBaseProperties(const CFOBaseProperties& src);
    ~CFOBaseProperties() override;
    CFOBaseProperties& operator=(const CFOBaseProperties& src);

    int GetPropId() const { return m_nPropId; }
    void SetPropId(int nPropId) { m_nPropId = nPropId; }

    // Stores `value` under `nPropId`; 1 when the set knows that id, else 0 and nothing changes.
    virtual BOOL PutValue(const int& nPropId, const FO_VALUE& value);
    // Fills `value` for `nPropId`; 1 when the set knows that id, else 0 and `value` is unchanged.
    virtual BOOL GetValue(FO_VALUE& value, const int& nPropId) const;
    virtual CFOBaseProperties* Copy() const;
    virtual BOOL IsEqual(const CFOBaseProperties* pOther) const;

    // The property id (32-bit); derived sets add their fields after it.
    void Serialize(CArchive& ar) override;

protected:
    int m_nPropId;
};
