// CMyExtDataModel: the editor's screen model. Over the library's model it builds the symbol shapes
// (608 to 614), a polygon (603) with the editor's defaults and the three window-control shapes of
// the insert commands, and reads and writes a screen file with the project's screen setting.
#pragma once

#include "model/XVKDataModel.h"

class CFOWndControlShape;

class CMyExtDataModel : public CXVKDataModel
{
    DECLARE_SERIAL(CMyExtDataModel)
public:
    CMyExtDataModel();
    CMyExtDataModel(const CMyExtDataModel& src);
    ~CMyExtDataModel() override;
    CMyExtDataModel& operator=(const CMyExtDataModel& src);
    CFODataModel* Copy() const override;

    CFODrawShape* DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                      CFOToolBoxItem* pItem = nullptr) override;
    void AddPolygonShape(UINT nType, const CArray<CPoint, CPoint>& points) override;
    // An empty file is an empty screen. Saving writes beside the file and renames it over the old
    // one, so a failed save leaves the old screen whole.
    BOOL SaveDocument(LPCWSTR lpszPathName) override;
    BOOL OpenDocument(LPCWSTR lpszPathName) override;
    void ReleaseFile(CFile* pFile, BOOL bAbort) override;

    void CreateRealTimeChartShape(const CRect& rcPos, const CString& strCaption, UINT nChildId);
    void CreateGridShape(const CRect& rcPos, const CString& strCaption, UINT nChildId);
    void CreateListCtrlShape(const CRect& rcPos, const CString& strCaption, UINT nChildId);

protected:
    void InsertWndControl(CFOWndControlShape* pShape, UINT nType, const CRect& rcPos,
                          const CString& strCaption);
    // The integer the open project keeps for its screens (its rulers setting); 1 without a project.
    static int GetProjectScreenSetting();
};
