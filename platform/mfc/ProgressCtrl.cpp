#include "mfc/ProgressCtrl.h"

#include "mfc/ControlRegistry.h"

#include <QProgressBar>

namespace
{
// The step is kept on the widget, as the bar itself has none.
const char* const kStep = "qyrStep";

QWidget* CreateProgress(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* bar = new QProgressBar(pParent);
    bar->setOrientation((dwStyle & PBS_VERTICAL) ? Qt::Vertical : Qt::Horizontal);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->setProperty(kStep, 10);
    return bar;
}

BOOL ProgressProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* bar = qobject_cast<QProgressBar*>(pWidget);
    if (!bar)
        return FALSE;
    const int old = bar->value();
    auto setPos = [&](long long pos)
    {
        pos = std::clamp<long long>(pos, bar->minimum(), bar->maximum());
        bar->setValue(int(pos));
        *pResult = old;
    };
    switch (message)
    {
    case PBM_SETRANGE:
        *pResult = MAKELPARAM(bar->minimum(), bar->maximum());
        bar->setRange(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case PBM_SETRANGE32:
        *pResult = MAKELPARAM(bar->minimum(), bar->maximum());
        bar->setRange(int(wParam), int(lParam));
        return TRUE;
    case PBM_GETRANGE:
        *pResult = wParam ? bar->minimum() : bar->maximum();
        return TRUE;
    case PBM_GETPOS:
        *pResult = old;
        return TRUE;
    case PBM_SETPOS:
        setPos(int(wParam));
        return TRUE;
    case PBM_DELTAPOS:
        setPos(static_cast<long long>(old) + int(wParam));
        return TRUE;
    case PBM_SETSTEP:
        *pResult = bar->property(kStep).toInt();
        bar->setProperty(kStep, int(wParam));
        return TRUE;
    case PBM_STEPIT:
    {
        // Stepping past the end wraps to the start, as the common control does.
        long long pos = static_cast<long long>(old) + bar->property(kStep).toInt();
        if (pos > bar->maximum())
            pos = bar->minimum() + (pos - bar->maximum());
        setPos(pos);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS ProgressClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = PROGRESS_CLASSW;
    cls.styleWords = {{L"PBS_SMOOTH", PBS_SMOOTH}, {L"PBS_VERTICAL", PBS_VERTICAL}};
    cls.pfnCreate = CreateProgress;
    cls.pfnWindowProc = ProgressProc;
    cls.pfnNewObject = &AfxNewControlObject<CProgressCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(ProgressClass());
} // namespace

IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)

BOOL CProgressCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(PROGRESS_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

void CProgressCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = int(Send(PBM_GETRANGE, TRUE));
    nUpper = int(Send(PBM_GETRANGE, FALSE));
}
