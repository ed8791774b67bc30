// Inside platform/mfc only: what the control families (ButtonCtl.cpp, EditCtl.cpp, ...) share.
#pragma once

#include "mfc/ControlRegistry.h"

#include <QString>

class QWidget;

namespace ControlPriv
{
QString ToQt(LPCWSTR s);
QString ToQt(const CString& s);
CString FromQt(const QString& s);
int CompareNoCase(const QString& a, const QString& b);

// The style the control was made with.
DWORD WidgetStyle(const QWidget* pWidget);

// Copies a whole string into a caller's buffer (LB_GETTEXT and CB_GETLBTEXT trust its size, as
// Win32 does); returns the length.
LRESULT CopyWhole(const QString& text, LPARAM buffer);

// Where a new item goes: at nIndex (the end when out of range), or after the items that sort at
// or before it without regard to case.
int InsertPosition(int count, int nIndex, bool bSorted, const std::function<QString(int)>& textAt,
                   const QString& text);

// Prefix (bExact false) or whole-string search without regard to case, starting after nStart and
// going round once; -1 when nothing matches.
int FindItem(int count, const std::function<QString(int)>& textAt, int nStart, const QString& find,
             bool bExact);

// Offers the keys of a widget (a control or a part of one) to PreTranslateMessage first.
void FilterKeys(QWidget* pWidget);
} // namespace ControlPriv
