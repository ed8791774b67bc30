// Drawing data that every shape of the library shares.
#pragma once

#include "mfc/Dc.h"

struct FO_GLOBAL_DATA
{
    FO_GLOBAL_DATA();

    // Selection outlines: of the main selected shape, and of the others.
    CPen m_penMainOrderLine;
    CPen m_penOrderLine;
    // Flowing media are drawn solid in a random colour instead of dashed.
    BOOL m_bRandomFlowColor = FALSE;
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
};

FO_GLOBAL_DATA& AfxGetFOGlobalData();
#define gfxData (AfxGetFOGlobalData())

struct FO_GLOBAL
{
    static void InitGUIType(int nType) { gfxData.m_nGUIType = nType; }
    static int GetGUIType() { return gfxData.m_nGUIType; }
    // Frees what the library caches for the windows of a closed dialog. The drawing objects here
    // live with the shapes and the global data, so nothing is left to free.
    static void FreeObjectCache() {}
};

// Whether a window is to ignore a change of its caption's activation: TRUE while one of the
// library's own floating windows takes the activation, which none does here.
inline BOOL FODiscardNcActivate()
{
    return FALSE;
}

inline void FOEnableXPStyle(BOOL bEnable)
{
    gfxData.m_bXPStyle = bEnable;
}
