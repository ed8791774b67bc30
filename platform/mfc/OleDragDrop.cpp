#include "mfc/OleDragDrop.h"

#include "mfc/Clipboard.h"
#include "mfc/Wnd.h"
#include "mfc/WndPrivate.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>

#include <cstring>

namespace
{
QString FormatMime(CLIPFORMAT cf)
{
    return QStringLiteral("application/x-qyr-clipformat-%1").arg(cf);
}

AfxDragDropHookFn& Hook()
{
    static AfxDragDropHookFn hook;
    return hook;
}

Qt::DropActions ToActions(DWORD dw)
{
    Qt::DropActions a;
    if (dw & DROPEFFECT_COPY)
        a |= Qt::CopyAction;
    if (dw & DROPEFFECT_MOVE)
        a |= Qt::MoveAction;
    if (dw & DROPEFFECT_LINK)
        a |= Qt::LinkAction;
    return a;
}

DROPEFFECT FromAction(Qt::DropAction a)
{
    switch (a)
    {
    case Qt::CopyAction:
        return DROPEFFECT_COPY;
    case Qt::MoveAction:
    case Qt::TargetMoveAction:
        return DROPEFFECT_MOVE;
    case Qt::LinkAction:
        return DROPEFFECT_LINK;
    default:
        return DROPEFFECT_NONE;
    }
}

DWORD KeyState(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    DWORD dw = 0;
    if (buttons & Qt::LeftButton)
        dw |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        dw |= MK_RBUTTON;
    if (mods & Qt::ShiftModifier)
        dw |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        dw |= MK_CONTROL;
    return dw;
}

// Hears the drag events of the registered window's client area.
class CDropFilter : public QObject
{
public:
    CDropFilter(COleDropTarget* pTarget, QObject* parent) : QObject(parent), m_pTarget(pTarget) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        CWnd* pWnd = m_pTarget->GetRegisteredWindow();
        switch (e->type())
        {
        case QEvent::DragEnter:
        case QEvent::DragMove:
        {
            auto* de = static_cast<QDragMoveEvent*>(e);
            const QPoint p = de->position().toPoint();
            const DWORD keys = KeyState(de->buttons(), de->modifiers());
            COleDataObject data(de->mimeData());
            DROPEFFECT effect = DROPEFFECT_NONE;
            AfxGuardedCall(
                [&]
                {
                    if (e->type() == QEvent::DragEnter)
                        effect = m_pTarget->OnDragEnter(pWnd, &data, keys, CPoint(p.x(), p.y()));
                    else
                    {
                        m_pTarget->OnDragScroll(pWnd, keys, CPoint(p.x(), p.y()));
                        effect = m_pTarget->OnDragOver(pWnd, &data, keys, CPoint(p.x(), p.y()));
                    }
                });
            m_effect = effect & ~DROPEFFECT_SCROLL;
            const Qt::DropAction action = (m_effect & DROPEFFECT_MOVE)   ? Qt::MoveAction
                                          : (m_effect & DROPEFFECT_COPY) ? Qt::CopyAction
                                          : (m_effect & DROPEFFECT_LINK) ? Qt::LinkAction
                                                                         : Qt::IgnoreAction;
            if (action != Qt::IgnoreAction && (de->possibleActions() & action))
            {
                de->setDropAction(action);
                de->accept();
            }
            else
                de->ignore();
            return true;
        }
        case QEvent::DragLeave:
            AfxGuardedCall([&] { m_pTarget->OnDragLeave(pWnd); });
            return true;
        case QEvent::Drop:
        {
            auto* de = static_cast<QDropEvent*>(e);
            const QPoint p = de->position().toPoint();
            COleDataObject data(de->mimeData());
            BOOL ok = FALSE;
            // The effect the target chose while the drag passed over it.
            DROPEFFECT effect = FromAction(de->dropAction()) & m_effect;
            if (effect == DROPEFFECT_NONE)
                effect = (m_effect & DROPEFFECT_MOVE)   ? DROPEFFECT_MOVE
                         : (m_effect & DROPEFFECT_COPY) ? DROPEFFECT_COPY
                                                        : (m_effect & DROPEFFECT_LINK);
            AfxGuardedCall(
                [&]
                {
                    if (effect != DROPEFFECT_NONE)
                        ok = m_pTarget->OnDrop(pWnd, &data, effect, CPoint(p.x(), p.y()));
                    else
                        m_pTarget->OnDragLeave(pWnd);
                });
            if (ok)
            {
                de->setDropAction(effect == DROPEFFECT_MOVE   ? Qt::MoveAction
                                  : effect == DROPEFFECT_COPY ? Qt::CopyAction
                                                              : Qt::LinkAction);
                de->accept();
            }
            else
            {
                de->setDropAction(Qt::IgnoreAction);
                de->ignore();
            }
            return true;
        }
        default:
            return false;
        }
    }

private:
    COleDropTarget* m_pTarget;
    DROPEFFECT m_effect = DROPEFFECT_NONE;
};
} // namespace

// --- data object ----------------------------------------------------------------------------------

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC) const
{
    if (!m_pData)
        return FALSE;
    if (m_pData->hasFormat(FormatMime(cfFormat)))
        return TRUE;
    return (cfFormat == CF_TEXT || cfFormat == CF_UNICODETEXT) && m_pData->hasText();
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC) const
{
    if (!IsDataAvailable(cfFormat))
        return nullptr;
    QByteArray bytes;
    if (m_pData->hasFormat(FormatMime(cfFormat)))
        bytes = m_pData->data(FormatMime(cfFormat));
    else if (cfFormat == CF_TEXT)
        bytes = m_pData->text().toUtf8() + QByteArray(1, '\0');
    else
    {
        const std::u16string s = m_pData->text().toStdU16String();
        bytes = QByteArray(reinterpret_cast<const char*>(s.c_str()), qsizetype((s.size() + 1) * 2));
    }
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size_t(bytes.size()));
    if (!h)
        return nullptr;
    if (void* p = GlobalLock(h))
    {
        std::memcpy(p, bytes.constData(), size_t(bytes.size()));
        GlobalUnlock(h);
    }
    return h;
}

// --- data source ----------------------------------------------------------------------------------

COleDataSource::COleDataSource() = default;
COleDataSource::~COleDataSource() = default;

void COleDataSource::CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC)
{
    if (!hGlobal)
        return;
    const size_t n = GlobalSize(hGlobal);
    if (const void* p = GlobalLock(hGlobal))
    {
        m_data[cfFormat] = std::string(static_cast<const char*>(p), n);
        GlobalUnlock(hGlobal);
    }
    GlobalFree(hGlobal);
}

void COleDataSource::Empty()
{
    m_data.clear();
}

QMimeData* COleDataSource::MakeMimeData() const
{
    auto* mime = new QMimeData;
    for (const auto& [cf, bytes] : m_data)
    {
        mime->setData(FormatMime(cf), QByteArray(bytes.data(), qsizetype(bytes.size())));
        if (cf == CF_TEXT)
            mime->setText(QString::fromUtf8(bytes.c_str())); // up to the terminating zero
    }
    return mime;
}

DROPEFFECT COleDataSource::DoDragDrop(DWORD dwEffects, LPCRECT, void*)
{
    if (Hook())
    {
        DROPEFFECT effect = DROPEFFECT_NONE;
        AfxGuardedCall([&] { effect = Hook()(*this, dwEffects); });
        return effect & dwEffects;
    }
    QWidget* source =
        QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    if (!source)
        return DROPEFFECT_NONE;
    auto* drag = new QDrag(source);
    drag->setMimeData(MakeMimeData());
    const Qt::DropAction result = drag->exec(ToActions(dwEffects), Qt::MoveAction);
    return FromAction(result) & dwEffects;
}

// --- drop target ----------------------------------------------------------------------------------

COleDropTarget::COleDropTarget() = default;

COleDropTarget::~COleDropTarget()
{
    Revoke();
}

BOOL COleDropTarget::Register(CWnd* pWnd)
{
    QWidget* client = pWnd ? pWnd->GetClientWidget() : nullptr;
    if (!client || m_pWnd)
        return FALSE;
    m_pWnd = pWnd;
    client->setAcceptDrops(true);
    m_pFilter = new CDropFilter(this, client);
    client->installEventFilter(m_pFilter);
    return TRUE;
}

void COleDropTarget::Revoke()
{
    if (m_pFilter)
    {
        if (auto* w = qobject_cast<QWidget*>(m_pFilter->parent()))
            w->setAcceptDrops(false);
        delete m_pFilter;
    }
    m_pFilter = nullptr;
    m_pWnd = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd*) {}

BOOL COleDropTarget::OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint)
{
    return FALSE;
}

DROPEFFECT COleDropTarget::OnDragScroll(CWnd*, DWORD, CPoint)
{
    return DROPEFFECT_NONE;
}

AfxDragDropHookFn AfxSetDragDropHook(AfxDragDropHookFn hook)
{
    AfxDragDropHookFn old = std::move(Hook());
    Hook() = std::move(hook);
    return old;
}

DROPEFFECT AfxDragOverWindow(CWnd* pTarget, CPoint point, const COleDataSource& source, DWORD dwAllowed,
                             DWORD dwKeyState, BOOL bDrop)
{
    QWidget* client = pTarget ? pTarget->GetClientWidget() : nullptr;
    if (!client)
        return DROPEFFECT_NONE;
    std::unique_ptr<QMimeData> mime(source.MakeMimeData());
    const QPoint p(point.x, point.y);
    const Qt::DropActions actions = ToActions(dwAllowed);
    const Qt::MouseButtons buttons = Qt::LeftButton;
    Qt::KeyboardModifiers mods;
    if (dwKeyState & MK_CONTROL)
        mods |= Qt::ControlModifier;
    if (dwKeyState & MK_SHIFT)
        mods |= Qt::ShiftModifier;
    QDragEnterEvent enter(p, actions, mime.get(), buttons, mods);
    QCoreApplication::sendEvent(client, &enter);
    if (!enter.isAccepted())
        return DROPEFFECT_NONE;
    QDragMoveEvent move(p, actions, mime.get(), buttons, mods);
    QCoreApplication::sendEvent(client, &move);
    if (!bDrop || !move.isAccepted())
    {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(client, &leave);
        return DROPEFFECT_NONE;
    }
    QDropEvent drop(QPointF(p), actions, mime.get(), buttons, mods);
    drop.setDropAction(move.dropAction());
    QCoreApplication::sendEvent(client, &drop);
    return drop.isAccepted() ? FromAction(drop.dropAction()) & dwAllowed : DROPEFFECT_NONE;
}
