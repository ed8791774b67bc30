// The visual proxy: the one object that lays out handles and other look-dependent parts for the
// shapes. Programs install their own class with FOInit.
#pragma once

#include "figkit/FoValue.h"
#include "mfc/CString.h"
#include "mfc/Collections.h"
#include "mfc/Geometry.h"
#include "mfc/Object.h"

#include <initializer_list>
#include <vector>

class CBitmap;
class CDC;
class CFODrawShape;
class CFOPHandleList;

// A property's description and a property's default value, as the proxy hands them out.
struct FO_PROP_DESCRIPTION
{
    int nPropId;
    CString strDescription;
};
struct FO_PROP_DEFAULT
{
    int nPropId;
    FO_VALUE value;
};

class CFOPVisualProxy : public CObject
{
    DECLARE_DYNCREATE(CFOPVisualProxy)
public:
    CFOPVisualProxy();
    ~CFOPVisualProxy() override;

    // The installed proxy (a plain one until a program installs its own).
    static CFOPVisualProxy* GetInstance();
    // Takes ownership; null puts back a plain one.
    static void SetInstance(CFOPVisualProxy* pProxy);

    // The eight resize handles of a shape with this snap rectangle, kinds 0 to 7 clockwise from the
    // top-left corner.
    virtual void GenNormalHandles(CFOPHandleList& list, const CRect& rcSnap, UINT nType, int nReserved1,
                                  int nReserved2);
    // The transparency value of the shape drawn next (0 opaque to 255).
    virtual void SetTransparentValue(int nValue) { m_nTransparentValue = nValue; }
    int GetTransparentValue() const { return m_nTransparentValue; }

    // The text of a size in pixels: the number alone. The canvas shows it beside a shape being
    // drawn or sized.
    virtual CString GetPixelSizeText(UINT nValue);
    // The positions of a new shape's default ports, in thousandths of its width and height; left
    // as they are.
    virtual void GenerateDefaultPorts(CArray<CPoint, CPoint>& arPorts);
    // A bitmap chosen by name (an image shape asks before it reads a file of that name): none is
    // known, so the bitmap is left as it is and the answer FALSE.
    virtual BOOL LoadNamedBitmap(const CString& strName, CBitmap& bitmap);
    // The tooltip of an extra handle; the text is left as it is.
    virtual void DoGenAddiToolTips(CString& strText, UINT nHandleType);
    // Draws an extra handle of a draw kind with its top-left corner at the point: here a plain
    // framed square.
    virtual void DoDrawAddiWithType(CDC* pDC, CPoint point, UINT nHandleType);
    // Default values and descriptions of the program's own properties; none here. A new shape gets
    // the default values it does not have yet.
    virtual void DoAddDefaultPropValues(std::vector<FO_PROP_DEFAULT>& values);
    virtual void DoInitDefaultPropDescription(std::vector<FO_PROP_DESCRIPTION>& descriptions);
    // Tiles the bitmap over the rectangle; FALSE when there is nothing to draw on or with.
    virtual BOOL FillWithBitmap(CDC* pDC, const CRect& rect, CBitmap* pBitmap);

private:
    int m_nTransparentValue = 0;
};

// The library's default ports of a new shape (positions in thousandths), as the proxy lets them.
void FOGenerateDefaultPorts(CFODrawShape* pShape, std::initializer_list<CPoint> ports);
// Adds the proxy's default property values that a new shape does not have yet.
void FOAddDefaultPropValues(CFODrawShape* pShape);
// The proxy's description of a property id (empty when it has none).
CString FOGetPropDescription(int nPropId);

// Start-up of the library: the class of the program's visual proxy (null for the plain one) and
// the look.
void FOInit(CRuntimeClass* pProxyClass, int nGUIType);
