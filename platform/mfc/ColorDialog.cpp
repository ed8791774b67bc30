#include "mfc/ColorDialog.h"

#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"

#include <QColorDialog>

CColorDialog::CColorDialog(COLORREF clrInit, DWORD dwFlags, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    m_cc.lStructSize = sizeof(m_cc);
    m_cc.hwndOwner = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    m_cc.rgbResult = clrInit & 0x00FFFFFF;
    m_cc.Flags = dwFlags | (clrInit ? CC_RGBINIT : 0);
}

INT_PTR CColorDialog::DoModal()
{
    const COLORREF start = (m_cc.Flags & CC_RGBINIT) ? m_cc.rgbResult : 0;
    AfxModalRequest request;
    request.kind = AfxModalKind::ColorDialog;
    request.pParent = m_pParentWnd;
    request.strCaption = L"Color";
    request.crColor = start;
    int answer = IDCANCEL;
    if (AfxCallModalHook(request, answer))
    {
        if (answer != IDOK)
            return IDCANCEL;
        if (!IsColor(request.crColor))
        {
            CString text;
            text.Format(L"0x%08X is not a colour: please choose a colour from the dialog.",
                        unsigned(request.crColor));
            AfxShowMessageBox(m_pParentWnd, text, L"Color", MB_OK | MB_ICONEXCLAMATION, 0);
            return IDCANCEL;
        }
        m_cc.rgbResult = request.crColor;
        return IDOK;
    }
    if (!AfxEnsureApplication())
        return IDCANCEL;

    QColorDialog dialog(QColor(GetRValue(start), GetGValue(start), GetBValue(start)),
                        m_pParentWnd ? m_pParentWnd->GetWidget() : nullptr);
    dialog.setObjectName(QStringLiteral("CColorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog, true);
    if (m_cc.lpCustColors)
        for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        {
            const COLORREF c = m_cc.lpCustColors[i];
            QColorDialog::setCustomColor(i, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    if (dialog.exec() != QDialog::Accepted)
        return IDCANCEL;
    const QColor chosen = dialog.selectedColor();
    if (!chosen.isValid())
        return IDCANCEL;
    m_cc.rgbResult = RGB(BYTE(chosen.red()), BYTE(chosen.green()), BYTE(chosen.blue()));
    if (m_cc.lpCustColors)
        for (int i = 0; i < 16 && i < QColorDialog::customCount(); ++i)
        {
            const QColor c = QColorDialog::customColor(i);
            m_cc.lpCustColors[i] = RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue()));
        }
    return IDOK;
}
