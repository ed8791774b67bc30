// Visual managers: the looks of the extended framework's frames, bars and panes. One manager is in
// force for the application; choosing another repaints every window in its colours. The looks are
// this framework's own: each is a set of colours (face of the bars, their edge and gradient, the
// caption of panes, the message bar, the selection) applied to the application's palette and to
// the frame parts.
//
//   CMFCVisualManagerOffice2007::SetStyle(CMFCVisualManagerOffice2007::Office2007_ObsidianBlack);
//   CMFCVisualManager::SetDefaultManager(RUNTIME_CLASS(CMFCVisualManagerOffice2007));
#pragma once

#include "mfc/Object.h"
#include "win32/WinTypes.h"

// The colours of a look.
struct AFX_LOOK_COLORS
{
    COLORREF clrWindow;      // client areas and lists
    COLORREF clrFace;        // bars and dialogs
    COLORREF clrFaceLight;   // the light end of a bar's gradient
    COLORREF clrEdge;        // bar and pane borders
    COLORREF clrText;        // text on bars
    COLORREF clrPaneCaption; // the title of docking panes
    COLORREF clrPaneCaptionText;
    COLORREF clrMessageBar; // the caption bar in message-bar mode
    COLORREF clrHighlight;  // selection
    COLORREF clrHighlightText;
    COLORREF clrMDIClient; // behind the MDI children
};

class CMFCVisualManager : public CObject
{
    DECLARE_DYNCREATE(CMFCVisualManager)
public:
    CMFCVisualManager();
    ~CMFCVisualManager() override;

    // Makes a manager of the class the one in force (null: the plain one) and applies its look.
    static void SetDefaultManager(CRuntimeClass* pRTI);
    // The manager in force; the plain one until another is chosen.
    static CMFCVisualManager* GetInstance();

    virtual void GetLookColors(AFX_LOOK_COLORS& colors) const;
    // Docking panes of this look show their captions with a gradient.
    virtual BOOL IsGradientLook() const { return FALSE; }

protected:
    // Applies the colours to the application (palette and the frame parts' style).
    void ApplyLook() const;
};

class CMFCVisualManagerOfficeXP : public CMFCVisualManager
{
    DECLARE_DYNCREATE(CMFCVisualManagerOfficeXP)
public:
    void GetLookColors(AFX_LOOK_COLORS& colors) const override;
};

class CMFCVisualManagerWindows : public CMFCVisualManager
{
    DECLARE_DYNCREATE(CMFCVisualManagerWindows)
public:
    void GetLookColors(AFX_LOOK_COLORS& colors) const override;
    // Tabs of MDI groups drawn as raised three-dimensional tabs in this look.
    static inline BOOL m_b3DTabsXPTheme = FALSE;
};

class CMFCVisualManagerOffice2003 : public CMFCVisualManagerOfficeXP
{
    DECLARE_DYNCREATE(CMFCVisualManagerOffice2003)
public:
    void GetLookColors(AFX_LOOK_COLORS& colors) const override;
    BOOL IsGradientLook() const override { return TRUE; }
};

class CMFCVisualManagerVS2005 : public CMFCVisualManagerOffice2003
{
    DECLARE_DYNCREATE(CMFCVisualManagerVS2005)
public:
    void GetLookColors(AFX_LOOK_COLORS& colors) const override;
};

class CMFCVisualManagerOffice2007 : public CMFCVisualManagerOffice2003
{
    DECLARE_DYNCREATE(CMFCVisualManagerOffice2007)
public:
    enum Style
    {
        Office2007_LunaBlue,
        Office2007_ObsidianBlack,
        Office2007_Aqua,
        Office2007_Silver
    };
    // Takes effect with the next SetDefaultManager of this class.
    static void SetStyle(Style style) { m_Style = style; }
    static Style GetStyle() { return m_Style; }

    void GetLookColors(AFX_LOOK_COLORS& colors) const override;

private:
    static inline Style m_Style = Office2007_LunaBlue;
};
