// The property set that every cross-line shape carries under id 15031: product name, item,
// description and unit price, reached by value ids 5001 to 5004.
#pragma once

#include "figkit/FOBaseProperties.h"

#define XFO_PROP_CUSTOM 15031

class CXFOCustomProperties : public CFOBaseProperties
{
    DECLARE_SERIAL(CXFOCustomProperties)
public:
    enum
    {
        PROP_PRODUCT_NAME = 5001,
        PROP_ITEM = 5002,
        PROP_DESCRIPTION = 5003,
        PROP_UNIT_PRICE = 5004,
    };

    explicit CXFOCustomProperties(int nPropId = XFO_PROP_CUSTOM);
    // Takes the source's property id and fields.
    CXFOCustomProperties(const CXFOCustomProperties& src);
    ~CXFOCustomProperties() override;
    // Copies the four fields (not the property id).
    CXFOCustomProperties& operator=(const CXFOCustomProperties& src);
    // The three texts exactly and the unit price.
    bool operator==(const CXFOCustomProperties& other) const;

    void SetProductName(const CString& s) { m_strProductName = s; }
    const CString& GetProductName() const { return m_strProductName; }
    void SetItem(const CString& s) { m_strItem = s; }
    const CString& GetItem() const { return m_strItem; }
    void SetDescription(const CString& s) { m_strDescription = s; }
    const CString& GetDescription() const { return m_strDescription; }
    void SetUnitPrice(float f) { m_fUnitPrice = f; }
    float GetUnitPrice() const { return m_fUnitPrice; }

    // Base record, then description, product name, item and the unit price as a 4-byte float.
    void Serialize(CArchive& ar) override;
    BOOL PutValue(const int& nPropId, const FO_VALUE& value) override;
    BOOL GetValue(FO_VALUE& value, const int& nPropId) const override;
    CFOBaseProperties* Copy() const override;
    // FALSE for another property id, else the fields compared.
    BOOL IsEqual(const CFOBaseProperties* pOther) const override;

private:
    CString m_strProductName;
    CString m_strItem;
    CString m_strDescription;
    float m_fUnitPrice = 0.0f;
};
