// Handles that the editor shows on a selected shape.
#pragma once

#include "figkit/FOGeometry.h"

#include <vector>

// Handle kinds: 0 to 7 the resize handles (top-left, top, top-right, right, bottom-right, bottom,
// bottom-left, left), 14 a shape's own anchor handle.
enum
{
    FO_HANDLE_TOPLEFT = 0,
    FO_HANDLE_TOP = 1,
    FO_HANDLE_TOPRIGHT = 2,
    FO_HANDLE_RIGHT = 3,
    FO_HANDLE_BOTTOMRIGHT = 4,
    FO_HANDLE_BOTTOM = 5,
    FO_HANDLE_BOTTOMLEFT = 6,
    FO_HANDLE_LEFT = 7,
    FO_HANDLE_ANCHOR = 14,
};

class CFOPHandle
{
public:
    CFOPHandle() = default;
    CFOPHandle(const FOPPoint& pt, int nKind) : m_pt(pt), m_nKind(nKind) {}

    FOPPoint m_pt;
    int m_nKind = 0;
};

class CFOPHandleList
{
public:
    // nFlag is kept with the handle for the editor (0: an ordinary handle).
    void AddHandle(const CFOPHandle& handle, int nFlag)
    {
        m_handles.push_back(handle);
        m_flags.push_back(nFlag);
    }
    int GetCount() const { return int(m_handles.size()); }
    const CFOPHandle& GetAt(int i) const { return m_handles.at(size_t(i)); }
    int GetFlag(int i) const { return m_flags.at(size_t(i)); }
    void RemoveAll()
    {
        m_handles.clear();
        m_flags.clear();
    }

private:
    std::vector<CFOPHandle> m_handles;
    std::vector<int> m_flags;
};
