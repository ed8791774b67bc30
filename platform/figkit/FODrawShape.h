// CFODrawShape: the base of every shape of a screen.
//
// A shape keeps its outline as a list of points in its own coordinates. An unrotated shape's own
// coordinates are the canvas's; a rotated one has a matrix (GetMatrixData) that maps its own
// coordinates to the canvas, and drawing runs with that matrix as the DC's world transform, so the
// draw hooks always work in own coordinates. The draw rectangle (GetDrawRect, GetSnapRect) is the
// bounding box of the outline on the canvas.
//
// Shapes are reference counted: a new shape has no reference; whoever keeps it AddRefs it and
// Releases it when done (CFOShapePtr does both), and the last Release deletes it. The model's shape
// set holds one reference per shape.
//
// Change: a setter that changes what the shape draws or stores tells the shape's model, which tells
// every view of it (CFODataModel::OnShapeChanged); setting a value the shape already has tells no one.
//
// Drawing: the canvas calls OnDraw, which prepares the DC (PrepareDC), draws the shadow
// (OnDrawShadow) when the shape has one, then the shape (OnDraw3d for a shape with the 3-D look,
// else OnDrawFlat) and its ports when they are shown, and restores the DC (ClearDC).
//
// Shape timers: RegisterTimerEvent asks the shape's canvas for a timer that calls the shape's
// OnTimer with the id it returns (ids start at 1; -1 means none was given); UnregisterTimerEvent
// stops it. Animated shapes start their timers in DoStartTimer, only when their model is not in
// design mode.
#pragma once

#include "figkit/FOGeometry.h"
#include "figkit/FOMatrix.h"
#include "figkit/FOPortShape.h"
#include "figkit/FOPropertyList.h"
#include "figkit/FOShapeOwner.h"
#include "figkit/FoValue.h"
#include "mfc/Collections.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <memory>
#include <string>
#include <vector>

class CDC;
class CFile;
class CFileException;
class CFODataModel;
class CWnd;
class CFOArea;
class CFOPHandleList;
class CFOCompositeShape;
struct FOShapeLook;
struct FOShapeRunState;
struct FOShapeStateAccess;

// Type ids of the library's own base shapes (stored in files; never renumber).
enum
{
    FO_COMP_SHAPE = 1,
    FO_COMP_PORTSSHAPE = 3,
    FO_COMP_LINE = 10,
    FO_COMP_LINK = 11,
    FO_COMP_ELLIPSE_SHAPE = 22,
    FO_COMP_ELLIPSE = 23,
    FO_COMP_PATH = 28,
    FO_COMP_IMAGE = 35,
    FO_COMP_STATIC = 36,
    FO_COMP_POLYGON = 27,
    FO_COMP_RECTANGLE = 30,
    FO_COMP_COMPOSITE = 40,
    FO_COMP_GROUP = 41,
    FO_COMP_WNDCONTROL = 50,
    FO_COMP_BACK = 60,
    FO_COMP_CHORD = 70,
    FO_COMP_GAUGE_CIRCULAR = 71,
    FO_COMP_GAUGE_VERTLINE = 72,
    FO_COMP_TIMECHART = 256,
    FO_COMP_SIMPLELABEL = 257,
    FO_COMP_HIGH = 281,
    FO_COMP_WATERHIGH = 284,
    FO_COMP_MOVEPATH = 285,
    FO_COMP_SCALEREF = 294,
    FO_COMP_MENUBUTTON = 540,
};

// Ids of the library's own properties.
enum
{
    // Set on rectangles and ellipses made from the toolbox.
    FO_PROP_TOOLBOX_DEFAULTS = 1005,
    // Set to whether a bound shape's value switched it on.
    FO_PROP_SWITCH_STATE = 1533,
    // The run-time event of a click on the shape: its kind (0: none) and its text.
    FO_PROP_EVENT_TYPE = 1900,
    FO_PROP_CURSOR_TYPE = 1901,
    FO_PROP_EVENT_STRING = 1902,
    FO_PROP_TOOLTIP = 1903,
    FO_PROP_VALUE_ON = 1609,
    // The value range of the base.
    FO_PROP_MIN_VALUE = 1105,
    FO_PROP_MAX_VALUE = 1106,
    // A locked shape is not moved, sized or deleted in the editor.
    FO_PROP_LOCKED = 1230,
};

// Property ids of the base's own fields: reading or writing one of these by id reaches the field.
enum
{
    FO_PROP_NAME = 1000,
    FO_PROP_CAPTION = 1001,
    FO_PROP_KEY1 = 1002,
    FO_PROP_KEY2 = 1003,
    FO_PROP_KEY3 = 1004,
    FO_PROP_TEXT_HALIGN = 1501,
    FO_PROP_TEXT_VALIGN = 1502,
    FO_PROP_FACE_NAME = 1504,
    FO_PROP_POINT_SIZE = 1505,
    FO_PROP_FONT_COLOR = 1507,
    FO_PROP_WEIGHT = 1508,
    FO_PROP_ITALIC = 1509,
    FO_PROP_UNDERLINE = 1510,
    FO_PROP_BULLET_COLOR = 1512,
    FO_PROP_BULLET_TYPE = 1513,
    FO_PROP_VISIBLE_COND_ON = 1534,
    FO_PROP_VISIBLE_COND = 1535,
    FO_PROP_LINE_WIDTH = 1701,
    FO_PROP_LINE_COLOR = 1702,
    FO_PROP_PEN_STYLE = 1703,
    FO_PROP_NULL_PEN = 1704,
    FO_PROP_FILL_COLOR = 1712,
    FO_PROP_BRUSH_TYPE = 1715,
    // 1900 to 1903 (event, cursor, tooltip) are listed with the library's own properties above.
};

// A value that carries no change: the smallest positive double.
#define FO_NO_VALUE 2.2250738585072014e-308

class CFODrawShape : public CObject, public IFOPortOwner
{
    DECLARE_SERIAL(CFODrawShape)
public:
    CFODrawShape();
    CFODrawShape(const CFODrawShape& src);
    ~CFODrawShape() override;
    // Copies what describes the shape; not its references, model, canvas, item data, timers or
    // handle.
    CFODrawShape& operator=(const CFODrawShape& src);
    virtual CFODrawShape* Copy() const;

    // References.
    int AddRef();
    int Release();
    int GetRefCount() const { return m_nRefCount; }

    // Builds the outline from a rectangle (normalised): the base makes its four corners, unless the
    // shape already has points, which are then fitted into the rectangle.
    virtual void Create(CRect& rcPos, CString strCaption = CString());

    // Record: version, then every described field of the base (see the source).
    void Serialize(CArchive& ar) override;

    // Identity.
    UINT GetType() const { return m_nType; }
    void SetType(UINT nType) { SetAndNotify(m_nType, nType); }
    const CString& GetObjectName() const { return m_strObjectName; }
    virtual void SetObjectName(const CString& strName);
    const CString& GetObjectCaption() const { return m_strCaption; }
    virtual void SetObjectCaption(const CString& strCaption) { SetAndNotify(m_strCaption, strCaption); }

    // Where the shape lives: the model (through its owner interface). SetModel also reaches a
    // composite's children.
    CFODataModel* GetModel() const { return m_pModel; }
    IFOShapeOwner* GetOwner() const { return m_pOwner; }
    virtual void SetModel(IFOShapeOwner* pOwner);
    // The window where the shape's timers run (the canvas that first showed its model).
    CWnd* GetParentWnd() const { return m_pParentWnd; }
    virtual void SetParentWnd(CWnd* pWnd);
    // The composite that holds this shape, or null for a shape of the model.
    CFOCompositeShape* GetParentComp() const { return m_pParentComp; }
    void SetParentComp(CFOCompositeShape* pComp) { m_pParentComp = pComp; }

    // Outline points, in own coordinates.
    void AllocMemory(int nCount);
    int GetPointCount() const { return int(m_aPoints.size()); }
    CPoint* GetPoints() { return m_aPoints.data(); }
    const CPoint* GetPoints() const { return m_aPoints.data(); }
    CPoint GetPoint(int i) const { return m_aPoints.at(size_t(i)); }
    void SetPoint(int i, const CPoint& pt) { m_aPoints.at(size_t(i)) = pt; }
    void SetPoints(const POINT* points, int nCount);
    // Points used while the user drags a handle, on the canvas.
    CPoint* GetTrackPoints() { return m_aTrackPoints.data(); }
    int GetTrackPointCount() const { return int(m_aTrackPoints.size()); }
    // The track points become the outline as it is on the canvas now.
    void ResetTrackPoints();

    // Geometry on the canvas.
    CRect GetDrawRect() const;
    CRect GetSnapRect() const;
    // The draw rectangle grown by the line width, shadow and a margin: what a redraw must cover.
    virtual CRect GetMaxRect() const;
    // Bounding box of the outline in own coordinates.
    CRect GetOwnRect() const;
    // The outline on the canvas (matrix applied).
    virtual void DoGenPoints(CArray<CPoint, CPoint>& points) const;
    // Null for an unrotated shape.
    CFOMatrix* GetMatrixData() const { return m_pMatrix.get(); }
    void SetMatrixData(const CFOMatrix* pMatrix);
    double GetRotateAngle() const { return m_dRotateAngle; }
    // Own point to canvas and back.
    CPoint OwnToCanvas(const CPoint& pt) const;
    CPoint CanvasToOwn(const CPoint& pt) const;

    // The geometry of src (a copy of this shape) becomes this shape's: points, matrix, angle,
    // anchor and, for composites, the children's.
    virtual void CopyGeometryFrom(const CFODrawShape& src);
    virtual BOOL IsSameGeometry(const CFODrawShape& src) const;
    // Locked in the editor (FO_PROP_LOCKED).
    BOOL IsLock() const;

    virtual void OffsetShape(CSize offset);
    // Moves and scales the shape so that its draw rectangle becomes rc.
    virtual void PositionShape(const CRect& rc);
    // Turns the shape by nAngle degrees about (x, y) on the canvas.
    virtual void RotateShape(int nAngle, double x, double y);
    virtual void RotateTrackShape(int nAngle, double x, double y);
    virtual BOOL PtInShape(CPoint point) const;
    virtual void GetPathSimplePolygon(FOPSimpleCompositePolygon& polygon) const;

    // Bring derived geometry up to date after the points changed.
    virtual void UpdatePosition();
    virtual void UpdateComp();
    virtual void GeometryUpdated(CFOArea* pArea);
    virtual void ValidatePoints() {}

    // The anchor: a point of the shape (own coordinates) that a shape may let the user move.
    CPoint GetAnchorPoint() const { return m_ptAnchor; }
    void SetAnchorPoint(const CPoint& pt) { SetAndNotify(m_ptAnchor, pt); }
    // The anchor where it shows on the canvas.
    CPoint GetDisplayAnchorPoint() const { return OwnToCanvas(m_ptAnchor); }
    CPoint GetTrackAnchorPoint() const { return m_ptTrackAnchor; }
    void SetTrackAnchorPoint(const CPoint& pt) { m_ptTrackAnchor = pt; }
    // Moving the anchor handles; the base moves nothing and returns 0.
    virtual int OffsetAnchorPoint(CPoint ptOffset);
    virtual int TrackOffsetAnchorPoint(CPoint ptOffset);
    virtual int OffsetExtAnchorPoint(CPoint ptOffset);
    virtual int TrackOffsetExtAnchorPoint(CPoint ptOffset);
    virtual int OffsetThirdAnchorPoint(CPoint ptOffset);
    virtual int TrackOffsetThirdAnchorPoint(CPoint ptOffset);
    virtual int OffsetFourAnchorPoint(CPoint ptOffset);
    virtual int TrackOffsetFourAnchorPoint(CPoint ptOffset);
    virtual int OffsetFiveAnchorPoint(CPoint ptOffset);
    virtual int TrackOffsetFiveAnchorPoint(CPoint ptOffset);
    // Handles for the editor: the eight resize handles, and a shape's own extra handles.
    virtual void GetNormalSpotLocation(CFOPHandleList& list);
    virtual void GetPlusSpotLocation(CFOPHandleList& list);

    // Look.
    COLORREF GetLineColor() const { return m_crLine; }
    void SetLineColor(COLORREF cr) { SetAndNotify(m_crLine, cr); }
    COLORREF GetBkColor() const { return m_crBk; }
    void SetBkColor(COLORREF cr) { SetAndNotify(m_crBk, cr); }
    COLORREF GetPatternColor() const { return m_crPattern; }
    void SetPatternColor(COLORREF cr) { SetAndNotify(m_crPattern, cr); }
    COLORREF GetFontColor() const { return m_crFont; }
    void SetFontColor(COLORREF cr) { SetAndNotify(m_crFont, cr); }
    COLORREF GetShadowColor() const { return m_crShadow; }
    void SetShadowColor(COLORREF cr) { SetAndNotify(m_crShadow, cr); }
    int GetLineWidth() const { return m_nLineWidth; }
    void SetLineWidth(int nWidth) { SetAndNotify(m_nLineWidth, nWidth < 0 ? 0 : nWidth); }
    int GetPenStyle() const { return m_nPenStyle; }
    void SetPenStyle(int nStyle) { SetAndNotify(m_nPenStyle, nStyle); }
    int GetBrushType() const { return m_nBrushType; }
    void SetBrushType(int nType) { SetAndNotify(m_nBrushType, nType); }
    BOOL IsNullPen() const { return m_bNullPen; }
    void SetNullPen(BOOL bNull) { SetAndNotify(m_bNullPen, bNull); }
    BOOL IsTransparent() const { return m_bTransparent; }
    void SetTransparent(BOOL bTransparent) { SetAndNotify(m_bTransparent, bTransparent); }
    // 0 opaque to 255 fully transparent.
    int GetTransparentValue() const { return m_nTransparentValue; }
    void SetTransparentValue(int nValue)
    {
        SetAndNotify(m_nTransparentValue, nValue < 0 ? 0 : (nValue > 255 ? 255 : nValue));
    }
    BOOL IsShadow() const { return m_bShadow; }
    void SetShadow(BOOL bShadow) { SetAndNotify(m_bShadow, bShadow); }
    CSize GetShadowOffset() const { return m_szShadow; }
    void SetShadowOffset(CSize sz) { SetAndNotify(m_szShadow, sz); }
    BOOL Is3DLook() const { return m_b3DLook; }
    void Set3DLook(BOOL b3D) { SetAndNotify(m_b3DLook, b3D); }

    // Arrow heads of shapes that have line ends (kinds as CFOLineShape's); others ignore them.
    virtual void SetStartArrowType2(int) {}
    virtual void SetEndArrowType2(int) {}

    // Font.
    const CString& GetFaceName() const { return m_strFaceName; }
    void SetFaceName(const CString& face) { SetAndNotify(m_strFaceName, face); }
    int GetPointSize() const { return m_nPointSize; }
    void SetPointSize(int nPoints) { SetAndNotify(m_nPointSize, nPoints); }
    int GetWeight() const { return m_nWeight; }
    void SetWeight(int nWeight) { SetAndNotify(m_nWeight, nWeight); }
    BOOL GetItalic() const { return m_bItalic; }
    void SetItalic(BOOL b) { SetAndNotify(m_bItalic, b); }
    BOOL GetUnderline() const { return m_bUnderline; }
    void SetUnderline(BOOL b) { SetAndNotify(m_bUnderline, b); }
    BOOL GetStrikeout() const { return m_bStrikeout; }
    void SetStrikeout(BOOL b) { SetAndNotify(m_bStrikeout, b); }

    // Value.
    double GetMinValue() const { return m_dMinValue; }
    // A change of the range also reaches OnPropertyChange (FO_PROP_MIN_VALUE, FO_PROP_MAX_VALUE).
    void SetMinValue(double d);
    double GetMaxValue() const { return m_dMaxValue; }
    void SetMaxValue(double d);
    virtual double GetCurrentValue() const { return m_dCurrentValue; }
    virtual void SetCurrentValue(double dValue) { SetAndNotify(m_dCurrentValue, dValue); }
    virtual CString GetCurrentTextValue() const { return m_strCurrentText; }
    // Where the current value stands between minimum and maximum, 0 to 1 (0 without a value).
    double GetValueFraction() const;
    virtual void SetCurrentTextValue(const CString& strValue) { SetAndNotify(m_strCurrentText, strValue); }

    // Binding keys: key 1 names the shape for scripts, key 2 the server, key 3 the item or variable.
    const CString& GetKeyId1() const { return m_strKey1; }
    const CString& GetKeyId2() const { return m_strKey2; }
    const CString& GetKeyId3() const { return m_strKey3; }
    void SetKeyId1(const CString& key) { SetAndNotify(m_strKey1, key); }
    void SetKeyId2(const CString& key) { SetAndNotify(m_strKey2, key); }
    void SetKeyId3(const CString& key);
    // Key 3 trimmed and lower-cased, as variables are looked up.
    const std::wstring& GetNormalizedKey3() const { return m_strKey3Norm; }

    // States: the state string holds records separated by "@" (a record's name is what stands
    // before its first "$", or the whole record); the state type is the current state.
    const CString& GetStateString() const { return m_strStateString; }
    void SetStateString(const CString& str) { SetAndNotify(m_strStateString, str); }
    const CString& GetStateType() const { return m_strStateType; }
    // Makes the state current; outside design mode its actions take effect (FOShapeState.h).
    virtual void SetStateType(const CString& str);
    // The state names, in order.
    virtual int GetStateList(CStringArray& list) const;
    // The states a shape offers in its menu; the base offers its state list.
    virtual int GetStateListEx(CStringArray& list) const { return GetStateList(list); }
    // A state chosen from the shape's menu; the base makes it the state type.
    virtual void DoSubMenuChange(const int& nIndex, const CString& strState);
    void GetValueChangeScript(CString& str) const { str = m_strValueChangeScript; }
    void SetValueChangeScript(const CString& str) { SetAndNotify(m_strValueChangeScript, str); }

    // The event a click raises at run time (properties FO_PROP_EVENT_TYPE and FO_PROP_EVENT_STRING).
    int GetEventType() const;
    CString GetEventString() const;
    void SetEventType(int nType) { PutPropIntValue(FO_PROP_EVENT_TYPE, nType); }
    void SetEventString(const CString& str) { PutPropStringValue(FO_PROP_EVENT_STRING, str); }

    // Keeps the look that a bad-quality value may change (background and pattern colours) and gives
    // it back; RestoreCurrentData does nothing when nothing was kept.
    virtual void SaveCurrentData();
    virtual void RestoreCurrentData();

    // Two colours the program keeps with the shape (not saved, not copied): SaveBlinkColors takes
    // the background and pattern colours as they are now.
    void SaveBlinkColors()
    {
        m_crBlinkBk = m_crBk;
        m_crBlinkPattern = m_crPattern;
    }
    COLORREF GetSavedBkColor() const { return m_crBlinkBk; }
    COLORREF GetSavedPatternColor() const { return m_crBlinkPattern; }

    // One pointer for the program (not saved, not copied).
    void* GetItemData() const { return m_pItemData; }
    void SetItemData(void* pData) { m_pItemData = pData; }

    // Ports.
    // A port at fractions (fx, fy) of the own rectangle; the shape owns it.
    CFOPortShape* CreateDefaultPort(double fx, double fy);
    void RemoveAllPorts();
    int GetPortCount() const { return int(m_aPorts.size()); }
    CFOPortShape* GetPort(int i) const;
    BOOL IsShowPorts() const { return m_bShowPorts; }
    void SetShowPorts(BOOL bShow) { SetAndNotify(m_bShowPorts, bShow); }

    // Flags.
    BOOL IsVisible() const { return m_bVisible; }
    virtual void SetVisible(BOOL bVisible) { SetAndNotify(m_bVisible, bVisible); }
    BOOL IsResizeProtect() const { return m_bResizeProtect; }
    void SetResizeProtect(BOOL b) { SetAndNotify(m_bResizeProtect, b); }
    BOOL IsRotateProtect() const { return m_bRotateProtect; }
    void SetRotateProtect(BOOL b) { SetAndNotify(m_bRotateProtect, b); }
    BOOL IsPolyObject() const { return m_bPolyObject; }
    void SetPolyObject(BOOL b) { SetAndNotify(m_bPolyObject, b); }
    // The main one of the selected shapes (not saved).
    BOOL IsMainObj() const { return m_bMainObj; }
    void SetMainObj(BOOL b) { m_bMainObj = b; }

    // Custom properties.
    // Keeps a copy; one with the same property id is replaced.
    void AddNewProperty(const CFOBaseProperties* pProp);
    CFOBaseProperties* FindProperty(int nPropId) const { return m_props.Find(nPropId); }
    BOOL RemoveProperty(int nPropId) { return m_props.Remove(nPropId); }
    CFOPropertyList& GetPropertyList() { return m_props; }
    const CFOPropertyList& GetPropertyList() const { return m_props; }
    // Adds the shape's custom properties with their defaults; a derived shape calls the base first.
    virtual void DoAddCustProp() {}
    // A property changed (pProps: the set that holds it, null for the base's own fields such as the
    // range); the base does nothing. DoEndPropChange closes a batch of changes.
    virtual void OnPropertyChange(int nPropId, CFOBaseProperties* pProps);
    virtual void DoEndPropChange() {}
    // Getters leave the value unchanged and return FALSE when no set knows the id; a getter of
    // one type reads a value of another numeric type converted.
    // The base's own fields answer to their ids (FO_PROP_NAME...); other ids are custom properties.
    BOOL GetPropValue(FO_VALUE& value, int nPropId) const;
    BOOL GetPropBoolValue(BOOL& bValue, int nPropId) const;
    BOOL GetPropIntValue(int& nValue, int nPropId) const;
    BOOL GetPropFloatValue(float& fValue, int nPropId) const;
    BOOL GetPropDoubleValue(double& dValue, int nPropId) const;
    BOOL GetPropDWordValue(DWORD& dwValue, int nPropId) const;
    BOOL GetPropStringValue(CString& strValue, int nPropId) const;
    BOOL GetPropColorValue(COLORREF& crValue, int nPropId) const;
    // Putters store into the set that knows the id, or add a new property with that value.
    void PutPropValue(int nPropId, const FO_VALUE& value);
    void PutPropBoolValue(int nPropId, BOOL bValue) { PutPropValue(nPropId, FO_VALUE::MakeBool(bValue)); }
    void PutPropIntValue(int nPropId, int nValue) { PutPropValue(nPropId, FO_VALUE::MakeInt(nValue)); }
    void PutPropFloatValue(int nPropId, float fValue) { PutPropValue(nPropId, FO_VALUE::MakeFloat(fValue)); }
    void PutPropDoubleValue(int nPropId, double dValue)
    {
        PutPropValue(nPropId, FO_VALUE::MakeDouble(dValue));
    }
    void PutPropDWordValue(int nPropId, DWORD dw) { PutPropValue(nPropId, FO_VALUE::MakeDWord(dw)); }
    void PutPropStringValue(int nPropId, const CString& s) { PutPropValue(nPropId, FO_VALUE::MakeString(s)); }
    void PutPropColorValue(int nPropId, COLORREF cr) { PutPropValue(nPropId, FO_VALUE::MakeColor(cr)); }

    // Drawing.
    virtual void OnDraw(CDC* pDC);
    virtual void PrepareDC(CDC* pDC);
    virtual void ClearDC(CDC* pDC);
    virtual void OnDrawShadow(CDC* pDC);
    virtual void OnDrawFlat(CDC* pDC);
    virtual void OnDraw3d(CDC* pDC);
    virtual void OnDrawPorts(CDC* pDC, BOOL bShow);
    // The figure drawn while the user drags (track points); and the selection outline.
    virtual void OnDrawTrackCustom(CDC* pDC);
    virtual void DoDrawVisioOrderLine(CDC* pDC);
    // Fills a polygon (own coordinates) with a brush type.
    void FillPoly(CDC* pDC, const POINT* points, int nCount, COLORREF crBk, COLORREF crPattern,
                  int nBrushType);
    // The shadow of a polygon: the polygon moved by the shadow offset in the shadow colour.
    void FillShadowPoly(CDC* pDC, const POINT* points, int nCount);
    // Selects the shape's line pen (null pen for no line) and returns the one it replaced.
    class CPen* SelectLinePen(CDC* pDC, class CPen& pen) const;
    // Draws the caption centred in rc with the shape's font and font colour.
    void DrawCaptionText(CDC* pDC, const CRect& rc, const CString& text) const;

    // Mouse, in canvas coordinates; TRUE when the shape handled it.
    virtual BOOL OnLButtonDown(UINT nFlags, CPoint point);
    virtual BOOL OnLButtonUp(UINT nFlags, CPoint point);
    virtual BOOL OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual BOOL OnRButtonDown(UINT nFlags, CPoint point);
    virtual BOOL OnRButtonUp(UINT nFlags, CPoint point);
    virtual BOOL OnMouseMove(UINT nFlags, CPoint point);
    // The mouse was taken away (capture lost, window closing) in the middle of a press.
    virtual void OnCancelMode() {}
    // The value an operator sets by dragging the shape at run time (sliders, dials, move-path
    // drivers), for the canvas to report; FALSE for a shape that is not dragged to a value.
    virtual BOOL GetDragValue(double& dValue) const
    {
        (void)dValue;
        return FALSE;
    }
    // What a redraw had to cover (GetMaxRect) before the shape was last placed by PositionShape;
    // empty before that.
    CRect GetPrevRect() const { return m_rcPrev; }

    // Timers and animation.
    int RegisterTimerEvent(CFODrawShape* pShape, int nPeriod);
    void UnregisterTimerEvent(int nTimerId);
    virtual void OnTimer(int nTimerId);
    // One animation step; non-zero when the shape must be redrawn.
    virtual BOOL DoAnimate() { return FALSE; }
    // Starts or stops the shape's timer for its model's mode; the base has none.
    virtual void DoStartTimer() {}

    // Redraw.
    void UpdateControl();
    void InvalRect(const CRect& rc);

    // The shape alone in a file of its own.
    virtual BOOL SaveDocument(LPCWSTR lpszPathName);
    virtual BOOL OpenDocument(LPCWSTR lpszPathName);
    virtual void ReleaseFile(CFile* pFile, BOOL bAbort);
    virtual CFile* GetFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError);

    // The owner of the shape's ports.
    CFODrawShape* GetPortOwnerShape() override { return this; }
    CRect GetPortOwnerRect() const override { return GetOwnRect(); }
    CPoint PortOwnerToCanvas(const CPoint& pt) const override { return OwnToCanvas(pt); }

    // Script handle of the shape in its model (0 when none was given).
    DWORD GetHandle() const { return m_dwHandle; }
    void SetHandle(DWORD dwHandle) { m_dwHandle = dwHandle; }

protected:
    // Tells the model (and so every view) that the shape changed; pOldRect is where it was drawn
    // before, when it moved.
    void NotifyChanged(const CRect* pOldRect = nullptr);
    template <class T, class V> void SetAndNotify(T& member, const V& value)
    {
        if (member == value)
            return;
        member = value;
        NotifyChanged();
    }

    // Reads and writes the fields that answer to property ids; FALSE for other ids.
    BOOL GetFieldValue(FO_VALUE& value, int nPropId) const;
    BOOL PutFieldValue(int nPropId, const FO_VALUE& value);
    // Fits the existing points into rc (own coordinates), keeping their proportions.
    void FitPointsToRect(const CRect& rc);
    // Maps every own point (points, track points, anchor) by a transform; ports follow the rectangle.
    virtual void TransformPoints(const CFOMatrix& m);

    UINT m_nType = FO_COMP_SHAPE;
    CString m_strObjectName;
    CString m_strCaption;

    std::vector<CPoint> m_aPoints;
    std::vector<CPoint> m_aTrackPoints;
    CRect m_rcPosition;
    CRect m_rcPrev;
    std::unique_ptr<CFOMatrix> m_pMatrix;
    double m_dRotateAngle = 0.0;
    CPoint m_ptAnchor;
    CPoint m_ptTrackAnchor;

    COLORREF m_crLine = 0;
    COLORREF m_crBk = 0xFFFFFF;
    COLORREF m_crPattern = 0;
    COLORREF m_crFont = 0;
    COLORREF m_crShadow = 0x808080;
    int m_nLineWidth = 1;
    int m_nPenStyle = 1;
    int m_nBrushType = 1;
    BOOL m_bNullPen = FALSE;
    BOOL m_bTransparent = FALSE;
    int m_nTransparentValue = 0;
    BOOL m_bShadow = FALSE;
    CSize m_szShadow = CSize(4, 4);
    BOOL m_b3DLook = FALSE;

    CString m_strFaceName;
    int m_nPointSize = 10;
    int m_nWeight = 400;
    BOOL m_bItalic = FALSE;
    BOOL m_bUnderline = FALSE;
    BOOL m_bStrikeout = FALSE;

    double m_dMinValue = 0.0;
    double m_dMaxValue = 100.0;
    double m_dCurrentValue = FO_NO_VALUE;
    CString m_strCurrentText;

    CString m_strKey1;
    CString m_strKey2;
    CString m_strKey3;
    std::wstring m_strKey3Norm;
    CString m_strStateString;
    CString m_strStateType;
    CString m_strValueChangeScript;

    std::vector<std::unique_ptr<CFOPortShape>> m_aPorts;
    BOOL m_bShowPorts = FALSE;

    BOOL m_bVisible = TRUE;
    BOOL m_bResizeProtect = FALSE;
    BOOL m_bRotateProtect = FALSE;
    BOOL m_bPolyObject = FALSE;
    BOOL m_bMainObj = FALSE;

    CFOPropertyList m_props;

private:
    friend struct FOShapeStateAccess;
    // The designed look while the run-time one differs from it, and the state machinery's data.
    std::unique_ptr<FOShapeLook> m_pDesignLook;
    std::unique_ptr<FOShapeRunState> m_pRunState;
    int m_nRefCount = 0;
    IFOShapeOwner* m_pOwner = nullptr;
    CFODataModel* m_pModel = nullptr;
    CWnd* m_pParentWnd = nullptr;
    CFOCompositeShape* m_pParentComp = nullptr;
    void* m_pItemData = nullptr;
    BOOL m_bDataSaved = FALSE;
    COLORREF m_crBlinkBk = 0xFFFFFF;
    COLORREF m_crBlinkPattern = 0;
    COLORREF m_crSavedBk = 0;
    COLORREF m_crSavedPattern = 0;
    DWORD m_dwHandle = 0;
};
