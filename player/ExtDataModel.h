// CExtDataModel: the screen model of the runtime programs. Over the library's model it builds the
// symbol shapes (608 to 614) itself, the switches at a usable size when they are asked for at a
// tiny one, and pushes a project variable's value to the shapes bound to it.
#pragma once

#include "model/XVKDataModel.h"

#include <utility>
#include <vector>

class CExtDataModel : public CXVKDataModel
{
    DECLARE_SERIAL(CExtDataModel)
public:
    CExtDataModel();
    CExtDataModel(const CExtDataModel& src);
    ~CExtDataModel() override;
    CExtDataModel& operator=(const CExtDataModel& src);
    CFODataModel* Copy() const override;

    // The symbols by type id; other ids go to the base factory. Types 609, 611, 612 and 613 asked
    // for in an empty rectangle, or one at most 10 wide and under 20 high, get the 40 x 40 square
    // centred on the rectangle's first corner.
    CFODrawShape* DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                      CFOToolBoxItem* pItem = nullptr) override;

    // Empties the model to a new one's state.
    void ResetContent() { ResetContents(); }

    // Remember the path as the model's file path; an empty file is an empty screen.
    BOOL OpenDocument(LPCWSTR lpszPathName) override;
    BOOL SaveDocument(LPCWSTR lpszPathName) override;

    // Sets value on every shape (but pSkip) bound to the variable strName of nKind (100 '@',
    // 101 '#', 102 '$') and lists the changed ones that are not instrument shapes.
    void PushParamValue(CFODrawShape* pSkip, const CString& strName, FO_VALUE& value,
                        CFOTypedShapeObList* pChanged, int nKind);
    void PushParamValue(const CString& strName, FO_VALUE& value, CFOTypedShapeObList* pChanged, int nKind);

    // Run-time bookkeeping, not part of a copy: the runtime views that show this model, and the OPC
    // groups (server name, group name) made for its shapes. The groups go before the shapes do, so
    // no item outlives the shape that owns it, and they stay while another view still shows them.
    int m_nRunViews = 0;
    std::vector<std::pair<CString, CString>> m_runGroups;
};
