// The visual proxy: the one object that lays out handles and other look-dependent parts for the
// shapes. Programs install their own class with FOInit.
#pragma once

#include "mfc/Geometry.h"
#include "mfc/Object.h"

class CFOPHandleList;

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

private:
    int m_nTransparentValue = 0;
};

// Start-up of the library: the class of the program's visual proxy (null for the plain one) and
// the look.
void FOInit(CRuntimeClass* pProxyClass, int nGUIType);
