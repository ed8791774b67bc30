// One named custom property: a single value under its property id.
#pragma once

#include "figkit/FOBaseProperties.h"

class CFOValueProperties : public CFOBaseProperties
{
    DECLARE_SERIAL(CFOValueProperties)
public:
    CFOValueProperties();
    CFOValueProperties(int nPropId, const FO_VALUE& value, const CString& strName = CString());
    CFOValueProperties(const CFOValueProperties& src);
    ~CFOValueProperties() override;
    CFOValueProperties& operator=(const CFOValueProperties& src);

    const FO_VALUE& GetPropValue() const { return m_value; }
    const CString& GetName() const { return m_strName; }
    void SetName(const CString& name) { m_strName = name; }

    // Answers only its own id.
    BOOL PutValue(const int& nPropId, const FO_VALUE& value) override;
    BOOL GetValue(FO_VALUE& value, const int& nPropId) const override;
    CFOBaseProperties* Copy() const override;
    BOOL IsEqual(const CFOBaseProperties* pOther) const override;

    // The base record, then version (1), name and value.
    void Serialize(CArchive& ar) override;

private:
    FO_VALUE m_value;
    CString m_strName;
};
