#include "mfc/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

CWaitCursor::CWaitCursor()
{
    Restore();
}

CWaitCursor::~CWaitCursor()
{
    if (m_bShown && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}

void CWaitCursor::Restore()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    if (m_bShown)
        QGuiApplication::restoreOverrideCursor();
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    m_bShown = true;
}
