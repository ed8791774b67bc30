// Owner-drawn list boxes that show a small picture before each row and split the row's text at its
// last '@' into a name (padded to 24 characters) and a detail. GWExtBmpListBox uses picture 8044,
// CTRSFileListBox (the toolbox page files) picture 160. The list box must be made with
// LBS_OWNERDRAWFIXED and LBS_HASSTRINGS.
#pragma once

#include "mfc/Gdi.h"
#include "mfc/ListBoxCtl.h"

#define IDB_EXTBMP_ROW 8044
#define IDB_TRSFILE_ROW 160

class CDC;

class GWExtBmpListBox : public CListBox
{
    DECLARE_DYNCREATE(GWExtBmpListBox)
public:
    GWExtBmpListBox() : GWExtBmpListBox(IDB_EXTBMP_ROW) {}
    ~GWExtBmpListBox() override;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    // The text a row shows: the name padded with blanks to 24 characters, then the detail.
    static CString RowText(const CString& text);
    // A monochrome mask of the picture: 1 where it differs from its top-left pixel, 0 there.
    static void CreateMaskBitmap(CBitmap& picture, CBitmap& mask);
    // Draws the picture where its mask is 1, leaving the rest of the target as it was.
    static void DrawTransparentBitmap(CDC* pDC, CBitmap& picture, CBitmap& mask, int x, int y, int nWidth,
                                      int nHeight);

    CBitmap& GetPicture() { return m_bmpPicture; }
    CBitmap& GetMask() { return m_bmpMask; }

protected:
    explicit GWExtBmpListBox(UINT nIDPicture);

    CBitmap m_bmpPicture;
    CBitmap m_bmpMask;
};

class CTRSFileListBox : public GWExtBmpListBox
{
    DECLARE_DYNCREATE(CTRSFileListBox)
public:
    CTRSFileListBox() : GWExtBmpListBox(IDB_TRSFILE_ROW) {}
};
