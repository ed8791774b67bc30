// Drawing data that every shape of the library shares.
#pragma once

#include "mfc/Dc.h"
#include "mfc/ImageList.h"

struct FO_GLOBAL_DATA
{
    FO_GLOBAL_DATA();

    // Selection outlines: of the main selected shape, and of the others.
    CPen m_penMainOrderLine;
    CPen m_penOrderLine;
    // Flowing media are drawn solid in a random colour instead of dashed.
    BOOL m_bRandomFlowColor = FALSE;
    // Moving a composite shape tracks its outline as one simple rectangle (the editor's options).
    BOOL m_bSimpleTrackComposite = FALSE;
    // The look the programs chose at start-up (FO_GLOBAL::InitGUIType) and whether XP style is on.
    int m_nGUIType = 0;
    BOOL m_bXPStyle = FALSE;
    // Faces and bevels of drawn controls (the system's button colours), and their font.
    COLORREF m_crBtnFace = 0;
    COLORREF m_crBtnShadow = 0;
    COLORREF m_crBtnHilite = 0;
    COLORREF m_crBtnDkShadow = 0;
    COLORREF m_crBtnLight = 0;
    COLORREF m_crBtnText = 0;
    CFont m_fontRegular;
    // The shared GUI font that dialogs put on their texts (FO_GLOBAL::GetGUIFont).
    CFont m_fontGUI;
    // Small (16 x 16) images that hosted list controls take for their rows.
    CImageList m_imageList;
};

FO_GLOBAL_DATA& AfxGetFOGlobalData();
#define gfxData (AfxGetFOGlobalData())

struct FO_GLOBAL
{
    static void InitGUIType(int nType) { gfxData.m_nGUIType = nType; }
    static int GetGUIType() { return gfxData.m_nGUIType; }
    // The library's shared GUI font (the system's default GUI font); it lives as long as the process.
    static CFont* GetGUIFont();
    // Makes the drawing objects the library keeps between paints (the control faces' font) anew; a
    // window that hosted screens calls it when it goes.
    static void FreeObjectCache();
};

// Whether a caption's activation change should be swallowed because one of the library's floating
// windows takes the activation over; none does here, so it never is.
BOOL FODiscardNcActivate();

inline void FOEnableXPStyle(BOOL bEnable)
{
    gfxData.m_bXPStyle = bEnable;
}
