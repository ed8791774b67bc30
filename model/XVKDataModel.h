// CXVKDataModel: the model of one screen. Over the diagram library's model it adds the factory of
// the library's own shapes with their default sizes, the seven screen user properties, the swap of
// static shapes for live ones after loading, the demo shape of every loaded screen, and the push of
// a variable's new value into the shapes bound to it.
#pragma once

#include "figkit/FODataModel.h"

// Screen user properties.
enum
{
    XVK_PROP_SCREEN_15001 = 15001,
    XVK_PROP_CLOSE_PROC = 15002,
    XVK_PROP_SCREEN_15003 = 15003,
    XVK_PROP_TIMER_PERIOD = 15004,
    XVK_PROP_START_PROC = 15005,
    XVK_PROP_CLOSE_PROC2 = 15006,
    XVK_PROP_TIMER_PROC = 15007,
};

class CXVKDataModel : public CFODataModel
{
    DECLARE_SERIAL(CXVKDataModel)
public:
    CXVKDataModel();
    CXVKDataModel(const CXVKDataModel& src);
    ~CXVKDataModel() override;
    CXVKDataModel& operator=(const CXVKDataModel& src);
    CFODataModel* Copy() const override;

    // Adds those of the user properties 15001 to 15007 that the model lacks.
    void CreateUserProperties();

    // The library's own shapes by type id (see the source for the table), made with a default size
    // when the rectangle is empty or tiny; other ids go to the base factory.
    CFODrawShape* DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                      CFOToolBoxItem* pItem = nullptr) override;
    // The default size of a type made by this factory; (0, 0) for types without one.
    static CSize GetDefaultSize(UINT nType);
    // Whether this factory (not the base's) builds the type.
    static BOOL IsOwnFactoryType(UINT nType);

    // Loading re-creates missing user properties.
    void SerializeS2(CArchive& ar, int& nValue) override;
    // After loading: the static-to-live swap and one demo shape at the end. The demo shape is never
    // stored, and a stored one is dropped on loading.
    void SerializeXdgShapes(CArchive& ar, CFODrawShapeSet& shapes, int& nFlag) override;
    void Static2DynShapes(CArchive& ar, CFODrawShapeSet& shapes);
    BOOL OpenDocument(LPCWSTR lpszPathName) override;
    BOOL SaveDocument(LPCWSTR lpszPathName) override;

    // Sets the value of variable strName (with its prefix; kind 100, 101 or 102) on every shape whose
    // key 3 names it, and lists the changed shapes (not the instrument shapes 633 to 695) in
    // pChanged when given. EventParamData skips pExcept.
    void UpdateParamData(const CString& strName, FO_VALUE& value, CFOTypedShapeObList* pChanged, int nKind);
    void EventParamData(CFODrawShape* pExcept, const CString& strName, FO_VALUE& value,
                        CFOTypedShapeObList* pChanged, int nKind);
    // Sets one shape from a value; TRUE when that changed the shape.
    static BOOL SetShapeValue(CFODrawShape* pShape, const FO_VALUE& value, int nForce = 0);

    // The screen file the program opened or saved last (set by the programs' models).
    CString m_strFilePath;

protected:
    void ResetContents() override;
};
