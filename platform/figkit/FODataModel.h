// CFODataModel: one screen's shapes, its user properties and page, and its screen file.
//
// The model holds one reference on each of its shapes (its shape set owns them). The views that
// show the model are its observers (IFODataModelObserver), and every one of them hears every change:
// shapes added or removed, a load, and any shape whose setters changed what it draws or stores. The
// first observer with a window is where the shapes' timers run.
//
// Screen file: the model's record begins with the signature "FXDG" and a format version; files of
// every version up to the current one load. Shapes and other objects that belong to one owner are
// stored as class tag and record (see FOArchiveHelper.h), so no file can make two owners share an
// object.
#pragma once

#include "figkit/FODataModelObserver.h"
#include "figkit/FODrawShape.h"
#include "figkit/FOPropertyList.h"
#include "figkit/FOShapeSet.h"
#include "mfc/Collections.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CFOAction;
class CFOBackShape;
class CFOPropAction;
class CFOUndoHistory;
class CFOToolBoxItem;
class CFile;
class CFileException;

// The model's canvas background colour, as a property id.
#define FO_PROP_MODEL_BKCOLOR 2050

// Snap features of a model (SetSnapFlag).
enum
{
    FO_SNAP_GRID = 0x01,
    FO_SNAP_DYNAMIC_GRID = 0x02,
    FO_SNAP_AID_LINES = 0x04,
    FO_SNAP_CONTROL_HANDLES = 0x08,
    FO_SNAP_SPOTS = 0x10,
    FO_SNAP_INTERSECTIONS = 0x20,
    FO_SNAP_HELP_LINES = 0x40,
    FO_SNAP_PAGE_BORDER = 0x80,
    FO_SNAP_ALL = 0xFF,
};

// The margin round a shape that its selection handles take.
#define FO_HANDLE_MARGIN 4

class CFODataModel : public CObject, public IFOShapeOwner
{
    DECLARE_SERIAL(CFODataModel)
public:
    enum
    {
        // Written by Serialize; files of versions 1 to this one load. Version 2 adds the snap
        // features, the page border and the point limit (a version 1 file leaves them as they are).
        XDG_FILE_VERSION = 2,
    };
    // "FXDG", the first four bytes of a screen file.
    static constexpr DWORD XDG_SIGNATURE = 0x47445846;

    CFODataModel();
    // Copies the page, the user properties and a copy of every shape (not the observers).
    CFODataModel(const CFODataModel& src);
    ~CFODataModel() override;
    CFODataModel& operator=(const CFODataModel& src);
    virtual CFODataModel* Copy() const;
    // Sets the page and properties to their defaults; called by the constructor.
    virtual void DoInitData();

    // Shapes, in drawing order.
    CFODrawShapeSet* GetShapes() { return &m_shapes; }
    const CFODrawShapeSet* GetShapes() const { return &m_shapes; }
    int GetShapeCount() const { return m_shapes.Count(); }
    // Appends the shape; the model takes its own reference and becomes the shape's model.
    virtual void InsertShape(CFODrawShape* pShape);
    virtual void InsertShapeAt(int nIndex, CFODrawShape* pShape);
    // Takes the shape out and gives its reference back; FALSE when it is not the model's.
    virtual BOOL RemoveShape(CFODrawShape* pShape);
    virtual void RemoveAllShapes();
    // The first shape (of the model, then inside composites) with that key 1, or that name.
    CFODrawShape* FindShapeWithKey1(const CString& strKey) const;
    CFODrawShape* FindCompWithName(const CString& strName) const override;
    // The topmost visible shape of the model under the point, or null.
    CFODrawShape* HitTest(CPoint point) const;

    // Shape factory: a new shape with one reference for the caller, or null for an unknown type.
    virtual CFODrawShape* DoCreateShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                              CFOToolBoxItem* pItem = nullptr);
    virtual CFODrawShape* DoCreateCompositeShapeByType(UINT nType, CRect& rcCreate, CString strName,
                                                       CFOToolBoxItem* pItem = nullptr);
    // A polygon of that type through the points, inserted into the model.
    virtual void AddPolygonShape(UINT nType, const CArray<CPoint, CPoint>& points);
    // Readies a shape that a canvas just made for this model.
    virtual void DoInitCreateShape(CFODrawShape* pShape);

    // User properties: each is added only when the model has none with that id.
    void AddStringUserProperty(int nPropId, const CString& strValue, const CString& strName);
    void AddIntUserProperty(int nPropId, int nValue, const CString& strName);
    void AddBoolUserProperty(int nPropId, BOOL bValue, const CString& strName);
    void AddDoubleUserProperty(int nPropId, double dValue, const CString& strName);
    void AddColorUserProperty(int nPropId, COLORREF crValue, const CString& strName);
    CFOBaseProperties* FindProperty(int nPropId) const { return m_userProps.Find(nPropId); }
    CFOPropertyList& GetUserProperties() { return m_userProps; }
    // The output keeps its value and the result is FALSE when the property is missing.
    // FO_PROP_MODEL_BKCOLOR reaches the background colour; other ids are user properties.
    BOOL GetPropValue(FO_VALUE& value, int nPropId) const;
    BOOL GetPropStringValue(CString& strValue, int nPropId) const;
    BOOL GetPropIntValue(int& nValue, int nPropId) const;
    BOOL GetPropBoolValue(BOOL& bValue, int nPropId) const;
    BOOL GetPropDoubleValue(double& dValue, int nPropId) const;
    // Stores into an existing property (keeping its name) or adds one without a name.
    void PutPropValue(int nPropId, const FO_VALUE& value);
    void PutPropStringValue(int nPropId, const CString& s) { PutPropValue(nPropId, FO_VALUE::MakeString(s)); }
    void PutPropIntValue(int nPropId, int n) { PutPropValue(nPropId, FO_VALUE::MakeInt(n)); }
    void PutPropBoolValue(int nPropId, BOOL b) { PutPropValue(nPropId, FO_VALUE::MakeBool(b)); }
    void PutPropDoubleValue(int nPropId, double d) { PutPropValue(nPropId, FO_VALUE::MakeDouble(d)); }

    // Design mode (the editor) or run mode. Entering design mode stops the shapes' timers at once.
    BOOL IsDesignMode() const { return m_bDesignMode; }
    // What a redraw adds round a shape: the handles' margin in design mode, else one pixel.
    int GetHandleMargin() const { return m_bDesignMode ? FO_HANDLE_MARGIN : 1; }
    virtual void SetDesignMode(BOOL bDesign);
    virtual void SetModifiedFlag(BOOL bModified = TRUE);
    virtual BOOL IsModified() const { return m_bModified; }

    // Observers: the views that show this model.
    void AddObserver(IFODataModelObserver* pObserver);
    void RemoveObserver(IFODataModelObserver* pObserver);
    int GetObserverCount() const { return int(m_observers.size()); }
    BOOL HasObserver(const IFODataModelObserver* pObserver) const;
    // The window of the first observer that has one: shapes' timers run there. Null without one.
    CWnd* GetTimerWnd() const override;
    // Tells every observer (OnModelUpdate, or OnModelReset for FO_HINT_LOADED and FO_HINT_RESET).
    virtual void NotifyObserver(LPARAM lHint, CObject* pHint = nullptr);
    // A canvas rectangle, or a shape's bounds with the margin of its handles, is drawn again in
    // every view.
    void InvalidateRect(const CRect& rcCanvas) override;
    void InvalidateShape(CFODrawShape* pShape) override;
    // What a redraw of the shape must cover: its bounds grown by GetHandleMargin.
    CRect GetShapeDirtyRect(const CFODrawShape* pShape) const;
    virtual void UpdateTitle();
    // An edit action was done or undone (for the undo list of the editor).
    virtual void DoActionChange(const CObject* pAction);

    // The undo history: every edit of the editor is an action done through Do. Do with bExecute
    // FALSE records an action whose change is already made. FALSE when the action refused (the
    // caller then deletes it).
    CFOUndoHistory* GetUndoHistory() const { return m_pHistory.get(); }
    virtual BOOL Do(CFOAction* pAction, BOOL bExecute = TRUE);
    int UndoMacro(int nSteps);
    int RedoMacro(int nSteps);
    void SetClean();
    // A new, empty property action on this model (for the caller to fill and Do).
    CFOPropAction* GetShapesPropAction();
    // One undo step setting one property of every listed shape.
    BOOL ChangeShapesIntProp(const FOPContainer& shapes, int nValue, int nPropId);
    BOOL ChangeShapesUIntProp(const FOPContainer& shapes, UINT nValue, int nPropId);
    BOOL ChangeShapesBoolProp(const FOPContainer& shapes, BOOL bValue, int nPropId);
    BOOL ChangeShapesStringProp(const FOPContainer& shapes, const CString& strValue, int nPropId);
    BOOL ChangeShapesColorProp(const FOPContainer& shapes, COLORREF crValue, int nPropId);
    BOOL ChangeShapesValueProp(const FOPContainer& shapes, const FO_VALUE& value, int nPropId);
    // Puts the model's shapes into this order (the same shapes); FALSE when the list differs.
    BOOL SetShapeOrder(const std::vector<CFODrawShape*>& order);
    // Empties the model and its undo history.
    void ResetContent();

    // Editing settings of the screen (not stored in the screen file).
    DWORD GetSnapFlags() const { return m_dwSnapFlags; }
    void SetSnapFlag(DWORD dwFlag, BOOL bOn)
    {
        m_dwSnapFlags = bOn ? (m_dwSnapFlags | dwFlag) : (m_dwSnapFlags & ~dwFlag);
    }
    BOOL IsSnapOn(DWORD dwFlag) const { return (m_dwSnapFlags & dwFlag) != 0; }
    BOOL IsBorderShow() const { return m_bBorderShow; }
    void SetBorderShow(BOOL bShow);
    BOOL IsPointLimitWithPage() const { return m_bPointLimit; }
    void SetPointLimitWithPage(BOOL bLimit) { m_bPointLimit = bLimit; }
    BOOL IsShowPort() const { return m_bShowPort; }
    void ShowPort(BOOL bShow) { m_bShowPort = bShow; }
    int GetUIUnit() const { return m_nUIUnit; }
    void SetUIUnit(int nUnit) { m_nUIUnit = nUnit; }
    const CString& GetDocTitle() const { return m_strDocTitle; }
    void SetDocTitle(const CString& strTitle);

    // Names and captions that no shape of the model has yet: the base text and a number from 1.
    virtual CString CreateBaseName(UINT nType);
    virtual CString CreateBaseCaption(UINT nType);
    virtual CString GetUniqueName(UINT nType);
    virtual CString GetUniqueCaption(UINT nType);
    BOOL IsNameUsed(const CString& strName) const;

    // Page.
    CRect GetPagePosition() const override { return CRect(0, 0, m_sizeCanvas.cx, m_sizeCanvas.cy); }
    CSize GetCanvasSize() const { return m_sizeCanvas; }
    void SetCanvasSize(CSize size);
    COLORREF GetBkColor() const { return m_crBk; }
    void SetBkColor(COLORREF cr) { m_crBk = cr; }
    COLORREF GetPageBkColor() const override { return m_crPageBk; }
    void SetPageBkColor(COLORREF cr) { m_crPageBk = cr; }
    CFOBackShape* GetBackDrawComp() const { return m_pBackComp.get(); }
    // Takes ownership; null removes the background component.
    void SetBackDrawComp(CFOBackShape* pBack);

    // Drawing: the background, then every visible shape that meets the clip rectangle.
    void OnDraw(CDC* pDC, const CRect& rcClip);
    virtual void OnDrawBack(CDC* pDC, const CRect& rcClip);
    virtual void OnDrawShape(CDC* pDC, const CRect& rcClip);

    // Screen file.
    void Serialize(CArchive& ar) override;
    // The same record with the caller's integer stored in it (loaded into nValue).
    virtual void SerializeS2(CArchive& ar, int& nValue);
    // The shapes of a set: count, then each shape. Loading appends to the set, one reference per
    // shape; nFlag is set to 1 after loading, 0 after storing.
    virtual void SerializeXdgShapes(CArchive& ar, CFODrawShapeSet& shapes, int& nFlag);
    // A failed load leaves the model empty (no shapes, default page and properties) and usable.
    virtual BOOL OpenDocument(LPCWSTR lpszPathName);
    virtual BOOL SaveDocument(LPCWSTR lpszPathName);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
    virtual CFile* GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError);

    // Script handles: a 32-bit handle for a shape of this model (0 for none), and the shape of a
    // handle, or null when the handle is unknown or its shape has left the model.
    DWORD GetShapeHandle(CFODrawShape* pShape);
    CFODrawShape* ShapeFromHandle(DWORD dwHandle) const;

    // The model's shapes whose key 3, trimmed and lower-cased, is strKey (already so), in
    // container order; null when none.
    const std::vector<CFODrawShape*>* FindShapesWithKey3(const std::wstring& strKey);
    static std::wstring NormalizeKey(const CString& strKey);

    // A handle for this model (never 0), and the live model of a handle, or null once the model has
    // gone: for holders that must not keep a dangling pointer.
    DWORD GetModelHandle() const { return m_dwModelHandle; }
    static CFODataModel* FromModelHandle(DWORD dwHandle);

    // Called by shapes (IFOShapeOwner).
    CFODataModel* GetOwnerModel() override { return this; }
    // A shape of the model changed what it draws or stores: every view redraws it.
    void OnShapeChanged(CFODrawShape* pShape, const CRect* pOldRect = nullptr) override;
    void OnShapeKeyChanged(CFODrawShape* pShape) override;
    void OnShapeNameChanged(CFODrawShape* pShape, const CString& strOldName) override;
    void DropShapeHandle(CFODrawShape* pShape) override;

protected:
    // Links the loaded shapes to the model and rebuilds what depends on them.
    void AttachLoadedShapes();
    // Empties the model to the state of a new one.
    virtual void ResetContents();
    // The names in use become those of these shapes.
    void RebuildNames(const FOPContainer& shapes);
    void ReadRecord(CArchive& ar, int& nValue);
    void WriteRecord(CArchive& ar, int nValue);
    void DetachShape(CFODrawShape* pShape);
    void DropHandlesOf(CFODrawShape* pShape);
    // After loading: a shape stored under a stand-in class (the library base a type id used before
    // its own class was built) becomes the class the factory now makes for its type id.
    void ResolveStandInShapes(CFODrawShapeSet& shapes);
    CRuntimeClass* FactoryClassOfType(UINT nType);

    CFODrawShapeSet m_shapes;
    CFOPropertyList m_userProps;
    BOOL m_bDesignMode = TRUE;
    BOOL m_bModified = FALSE;
    CSize m_sizeCanvas = CSize(1000, 1000);
    COLORREF m_crBk = 0xFFFFFF;
    COLORREF m_crPageBk = 0xFFFFFF;
    int m_nS2Value = 0;
    std::unique_ptr<CFOBackShape> m_pBackComp;
    std::unique_ptr<CFOUndoHistory> m_pHistory;
    DWORD m_dwSnapFlags = 0;
    BOOL m_bBorderShow = TRUE;
    BOOL m_bPointLimit = FALSE;
    BOOL m_bShowPort = TRUE;
    int m_nUIUnit = 10;
    CString m_strDocTitle;

private:
    template <class F> void ForEachObserver(F&& f);

    std::vector<IFODataModelObserver*> m_observers;
    DWORD m_dwModelHandle = 0;
    // Names in use by the model's shapes, with their counts, and the next number per base name.
    std::unordered_map<std::wstring, int> m_names;
    std::unordered_map<std::wstring, int> m_nextNumber;
    // Key 3 lookups for value pushes, rebuilt after any change of shapes or keys.
    std::unordered_map<std::wstring, std::vector<CFODrawShape*>> m_key3Index;
    BOOL m_bKey3IndexValid = FALSE;
    int m_nKey3IndexCount = 0;
    void RebuildKey3Index();
    std::unordered_map<DWORD, CFODrawShape*> m_handles;
    DWORD m_dwNextHandle = 1;
};
