// Table of the 32-bit handles that the client gives OPC servers for its items and groups.
// A server hands a handle back in every report; the client looks it up here and ignores handles it
// does not know, so nothing a server sends can reach a freed or foreign object.
#pragma once

#include "win32/WinTypes.h"

#include <mutex>
#include <shared_mutex>
#include <vector>

// A handle holds a slot index (low bits, never 0) and the slot's generation (high bits), so a handle
// of a removed object does not find the object that later takes its slot.
template <class T> class COPCHandleTable
{
public:
    static constexpr DWORD kIndexBits = 22;
    static constexpr DWORD kIndexMask = (1u << kIndexBits) - 1;

    // Readers hold this while they use what they found; Remove waits for them.
    class CReadLock
    {
    public:
        explicit CReadLock(const COPCHandleTable& table) : m_lock(table.m_mutex), m_table(table) {}
        T* Find(DWORD handle) const { return m_table.FindLocked(handle); }

    private:
        std::shared_lock<std::shared_mutex> m_lock;
        const COPCHandleTable& m_table;
    };

    // Returns 0 when the table is full.
    DWORD Add(T* object)
    {
        std::unique_lock lock(m_mutex);
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

    // After Remove returns no reader holds the object any longer.
    void Remove(DWORD handle)
    {
        std::unique_lock lock(m_mutex);
        DWORD index = (handle & kIndexMask);
        if (index == 0 || index > m_slots.size())
            return;
        Slot& slot = m_slots[index - 1];
        if (slot.object == nullptr || slot.generation != (handle >> kIndexBits))
            return;
        slot.object = nullptr;
        slot.generation = (slot.generation + 1) & (0xFFFFFFFFu >> kIndexBits);
        m_free.push_back(index - 1);
    }

    // One lookup; the object may go as soon as this returns, so only the UI thread that owns the
    // objects may use the result.
    T* Find(DWORD handle) const
    {
        std::shared_lock lock(m_mutex);
        return FindLocked(handle);
    }

    size_t GetCount() const
    {
        std::shared_lock lock(m_mutex);
        return m_slots.size() - m_free.size();
    }

private:
    struct Slot
    {
        T* object = nullptr;
        DWORD generation = 0;
    };

    T* FindLocked(DWORD handle) const
    {
        DWORD index = (handle & kIndexMask);
        if (index == 0 || index > m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[index - 1];
        if (slot.generation != (handle >> kIndexBits))
            return nullptr;
        return slot.object;
    }

    mutable std::shared_mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<DWORD> m_free;
};
