// Helpers of the screen model tests.
#pragma once

#include "mfc/ModalHook.h"
#include "mfc/Wnd.h"
#include "support/ArchiveBytes.h"
#include "support/ModalHook.h"
#include "support/Printers.h"

#include <QFile>
#include <QTemporaryDir>

namespace model_test
{
inline CString TempPath(const QTemporaryDir& dir, const char* name)
{
    return CString::FromUtf8((dir.path() + "/" + name).toStdString());
}

inline QByteArray ReadAll(const CString& path)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

inline void WriteAll(const CString& path, const QByteArray& bytes)
{
    QFile f(QString::fromStdWString(path.str()));
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

using ModalRecorder = CModalRecorder;
} // namespace model_test
