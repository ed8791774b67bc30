// OLE drag and drop over Qt's: a data source that offers global memory blocks by clipboard format
// and runs the drag, a drop target registered for a window that hears the drag pass over it, and
// the data object a target reads from.
//
// CF_TEXT travels as text/plain (UTF-8, the ANSI code page here) and every format also under its
// own name, so other programs and this one understand each other. Tests set a hook that runs in
// place of the desktop's drag loop, and deliver the drag to a window with AfxDragOverWindow, which
// sends the target's widget the Qt events a real drag would.
#pragma once

#include "mfc/CmdTarget.h"
#include "mfc/Geometry.h"
#include "com/DataObject.h"

#include <functional>
#include <map>
#include <string>

class CWnd;
class QMimeData;
class QObject;

typedef DWORD DROPEFFECT;
#define DROPEFFECT_NONE 0
#define DROPEFFECT_COPY 1
#define DROPEFFECT_MOVE 2
#define DROPEFFECT_LINK 4
#define DROPEFFECT_SCROLL 0x80000000

class COleDataObject
{
public:
    COleDataObject() = default;
    explicit COleDataObject(const QMimeData* pData) : m_pData(pData) {}
    void Attach(const QMimeData* pData) { m_pData = pData; }
    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;
    // A new block with the data (CF_TEXT zero-terminated); the caller frees it. Null when absent.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr) const;

private:
    const QMimeData* m_pData = nullptr;
};

class COleDataSource : public CCmdTarget
{
public:
    COleDataSource();
    ~COleDataSource() override;
    // Takes the block; it is freed with the source.
    void CacheGlobalData(CLIPFORMAT cfFormat, HGLOBAL hGlobal, LPFORMATETC lpFormatEtc = nullptr);
    void Empty();
    // Runs the drag until it is dropped or given up; the effect the target chose (NONE when given up).
    DROPEFFECT DoDragDrop(DWORD dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK,
                          LPCRECT lpRectStartDrag = nullptr, void* pDropSource = nullptr);
    // The data as Qt carries it (owned by the caller).
    QMimeData* MakeMimeData() const;

private:
    std::map<CLIPFORMAT, std::string> m_data;
};

class COleDropTarget : public CCmdTarget
{
public:
    COleDropTarget();
    ~COleDropTarget() override;
    BOOL Register(CWnd* pWnd);
    void Revoke();
    CWnd* GetRegisteredWindow() const { return m_pWnd; }

    // Points are in the window's client coordinates; dwKeyState holds MK_ flags.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);
    // Offered before each drag-over; a target that scrolls returns DROPEFFECT_SCROLL with the effect.
    virtual DROPEFFECT OnDragScroll(CWnd* pWnd, DWORD dwKeyState, CPoint point);

private:
    CWnd* m_pWnd = nullptr;
    QObject* m_pFilter = nullptr;
};

using AfxDragDropHookFn = std::function<DROPEFFECT(COleDataSource& source, DWORD dwAllowed)>;
// Sets the hook that runs instead of the drag loop (empty: none); returns the previous one.
AfxDragDropHookFn AfxSetDragDropHook(AfxDragDropHookFn hook);
// Drags the source's data over a window: enter and move at the client point, then a drop (or a
// leave). Returns the effect of the drop, NONE when refused or left.
DROPEFFECT AfxDragOverWindow(CWnd* pTarget, CPoint point, const COleDataSource& source, DWORD dwAllowed,
                             DWORD dwKeyState, BOOL bDrop = TRUE);
