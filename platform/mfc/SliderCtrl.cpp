#include "mfc/SliderCtrl.h"

#include "mfc/ControlsPrivate.h"
#include "mfc/WndPrivate.h"

#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>

using namespace ControlPriv;

namespace
{
class CTrackBarWidget : public QSlider
{
public:
    CTrackBarWidget(Qt::Orientation o, QWidget* pParent) : QSlider(o, pParent) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QSlider::mouseReleaseEvent(e);
        if (e->button() != Qt::LeftButton)
            return;
        if (const HWND h = AfxWindowAtOrAbove(this))
        {
            AfxQtEntry entry;
            const QPoint p = e->position().toPoint();
            AfxSendFromQt(h, WM_LBUTTONUP, 0, MAKELPARAM(p.x(), p.y()));
        }
    }
};

QWidget* CreateTrackBar(const CString&, DWORD dwStyle, QWidget* pParent)
{
    auto* slider = new CTrackBarWidget((dwStyle & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, pParent);
    slider->setRange(0, 100);
    slider->setPageStep(20);
    slider->setSingleStep(1);
    if ((dwStyle & TBS_AUTOTICKS) && !(dwStyle & TBS_NOTICKS))
    {
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(1);
    }
    return slider;
}

BOOL TrackBarProc(HWND, QWidget* pWidget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* slider = qobject_cast<QSlider*>(pWidget);
    if (!slider)
        return FALSE;
    const QSignalBlocker block(slider);
    switch (message)
    {
    case TBM_GETPOS:
        *pResult = slider->value();
        return TRUE;
    case TBM_GETRANGEMIN:
        *pResult = slider->minimum();
        return TRUE;
    case TBM_GETRANGEMAX:
        *pResult = slider->maximum();
        return TRUE;
    case TBM_SETPOS:
        slider->setValue(int(lParam));
        *pResult = 0;
        return TRUE;
    case TBM_SETRANGE:
        slider->setRange(short(LOWORD(lParam)), short(HIWORD(lParam)));
        *pResult = 0;
        return TRUE;
    case TBM_SETRANGEMIN:
        slider->setMinimum(int(lParam));
        *pResult = 0;
        return TRUE;
    case TBM_SETRANGEMAX:
        slider->setMaximum(int(lParam));
        *pResult = 0;
        return TRUE;
    case TBM_SETTICFREQ:
        slider->setTickInterval(int(wParam));
        *pResult = 0;
        return TRUE;
    case TBM_SETPAGESIZE:
        *pResult = slider->pageStep();
        slider->setPageStep(int(lParam));
        return TRUE;
    case TBM_GETPAGESIZE:
        *pResult = slider->pageStep();
        return TRUE;
    default:
        return FALSE;
    }
}

AFX_CONTROL_CLASS TrackBarClass()
{
    AFX_CONTROL_CLASS cls;
    cls.strClassName = TRACKBAR_CLASSW;
    cls.styleWords = {
        {L"TBS_AUTOTICKS", TBS_AUTOTICKS}, {L"TBS_VERT", TBS_VERT}, {L"TBS_NOTICKS", TBS_NOTICKS}};
    cls.pfnCreate = CreateTrackBar;
    cls.pfnWindowProc = TrackBarProc;
    cls.pfnNewObject = &AfxNewControlObject<CSliderCtrl>;
    return cls;
}

[[maybe_unused]] const BOOL g_bRegistered = AfxRegisterControlClass(TrackBarClass());
} // namespace

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(TRACKBAR_CLASSW, L"", dwStyle, rect, pParentWnd, nID);
}

void CSliderCtrl::GetRange(int& nMin, int& nMax) const
{
    nMin = GetRangeMin();
    nMax = GetRangeMax();
}

void CSliderCtrl::SetRange(int nMin, int nMax, BOOL)
{
    Send(TBM_SETRANGEMIN, FALSE, nMin);
    Send(TBM_SETRANGEMAX, FALSE, nMax);
}
