// A table of 32-bit handles for objects that others refer to without owning them. A handle holds a
// slot index (low bits, never 0) and the slot's generation (high bits): once the object leaves the
// table, its handle finds nothing, even after another object takes the slot. UI thread only.
#pragma once

#include "win32/WinTypes.h"

#include <vector>

template <class T> class CFOHandleTable
{
public:
    static constexpr DWORD kIndexBits = 20;
    static constexpr DWORD kIndexMask = (1u << kIndexBits) - 1;

    // 0 when the table is full.
    DWORD Add(T* object)
    {
        DWORD index;
        if (!m_free.empty())
        {
            index = m_free.back();
            m_free.pop_back();
        }
        else
        {
            if (m_slots.size() >= kIndexMask)
                return 0;
            m_slots.push_back(Slot{});
            index = DWORD(m_slots.size() - 1);
        }
        Slot& slot = m_slots[index];
        slot.object = object;
        return (slot.generation << kIndexBits) | (index + 1);
    }

    void Remove(DWORD handle)
    {
        Slot* slot = SlotOf(handle);
        if (!slot || !slot->object)
            return;
        slot->object = nullptr;
        slot->generation = (slot->generation + 1) & (0xFFFFFFFFu >> kIndexBits);
        m_free.push_back((handle & kIndexMask) - 1);
    }

    // The object of the handle, or null for a handle that is stale, unknown or 0.
    T* Find(DWORD handle) const
    {
        const Slot* slot = const_cast<CFOHandleTable*>(this)->SlotOf(handle);
        return slot ? slot->object : nullptr;
    }

private:
    struct Slot
    {
        T* object = nullptr;
        DWORD generation = 0;
    };

    Slot* SlotOf(DWORD handle)
    {
        const DWORD index = handle & kIndexMask;
        if (index == 0 || index > m_slots.size())
            return nullptr;
        Slot& slot = m_slots[index - 1];
        return slot.generation == (handle >> kIndexBits) ? &slot : nullptr;
    }

    std::vector<Slot> m_slots;
    std::vector<DWORD> m_free;
};
