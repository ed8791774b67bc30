// FOPDropDownColorPickerButton: a button that shows its colour. A click drops a small palette of
// colours under it; picking one sets the colour, closes the palette and tells the parent with
// WM_COMMAND (the button's id, CPN_SELENDOK). The palette's "More Colors..." opens the colour
// dialog (CColorDialog) for any other colour. Bound to a template's button with DDX_Control or
// SubclassDlgItem, or made by Create.
#pragma once

#include "mfc/ButtonCtl.h"
#include "mfc/Dc.h"

#include <QPointer>
#include <QWidget>

// The notification sent to the parent when a colour was picked from the palette.
#define CPN_SELENDOK 0x0A01
#define ON_CPN_SELENDOK(id, memberFxn) ON_CONTROL(CPN_SELENDOK, id, memberFxn)

class FOPDropDownColorPickerButton : public CButton
{
    DECLARE_DYNAMIC(FOPDropDownColorPickerButton)
public:
    FOPDropDownColorPickerButton() = default;
    ~FOPDropDownColorPickerButton() override;

    using CButton::Create;
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void SetColor(COLORREF cr);
    COLORREF GetColor() const { return m_crColor; }

    // The palette's colours, row by row (8 a row).
    static const COLORREF* GetPaletteColors(int* pnCount);
    // Drops the palette (as a click does); null when the button has no window.
    QWidget* ShowPalette();
    // The palette while it is shown, else null.
    QWidget* GetPalette() const;
    // Picks a palette entry as a click on it does: sets the colour, closes the palette, notifies.
    void PickColor(COLORREF cr);
    // Closes the palette and runs the colour dialog on the current colour; a colour chosen there is
    // picked. FALSE when the dialog was cancelled or refused its value (the colour stays).
    BOOL ChooseMoreColors();

    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    virtual void DrawButton(CDC* pDC, const CRect& rc, BOOL bPushed, BOOL bFocused, BOOL bEnabled);

    COLORREF m_crColor = RGB(255, 255, 255);
    QPointer<QWidget> m_palette;
};
