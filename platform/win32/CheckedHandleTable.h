// A table of 32-bit handles for objects that others refer to without owning them: a handle that
// comes back from outside (a server's report, a script, a stored number) is looked up here, and
// one the table does not know finds nothing, so it can never reach a freed or foreign object.
//
// A handle holds a slot index (low bits, never 0) and the slot's generation (high bits): once the
// object leaves the table, its handle finds nothing, even after another object takes the slot.
//
// Mutex is CNoHandleLock for a table used by one thread, or std::shared_mutex for one whose
// handles come back on other threads.
#pragma once

#include "win32/WinTypes.h"

#include <mutex>
#include <shared_mutex>
#include <vector>

struct CNoHandleLock
{
    void lock() {}
    void unlock() {}
    void lock_shared() {}
    void unlock_shared() {}
};

template <class T, class Mutex = CNoHandleLock> class CCheckedHandleTable
{
public:
    static constexpr DWORD kIndexBits = 22;
    static constexpr DWORD kIndexMask = (1u << kIndexBits) - 1;

    // Readers hold this while they use what they found; Remove waits for them.
    class CReadLock
    {
    public:
        explicit CReadLock(const CCheckedHandleTable& table) : m_lock(table.m_mutex), m_table(table) {}
        T* Find(DWORD handle) const { return m_table.FindLocked(handle); }

    private:
        std::shared_lock<Mutex> m_lock;
        const CCheckedHandleTable& m_table;
    };

    // 0 when the table is full.
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
        const DWORD index = handle & kIndexMask;
        if (index == 0 || index > m_slots.size())
            return;
        Slot& slot = m_slots[index - 1];
        if (slot.object == nullptr || slot.generation != (handle >> kIndexBits))
            return;
        slot.object = nullptr;
        slot.generation = (slot.generation + 1) & (0xFFFFFFFFu >> kIndexBits);
        m_free.push_back(index - 1);
    }

    // The object of the handle, or null for a handle that is stale, unknown or 0. In a locked table
    // the object may go as soon as this returns, so only the thread that owns the objects may use
    // the result; others read through CReadLock.
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
        const DWORD index = handle & kIndexMask;
        if (index == 0 || index > m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[index - 1];
        return slot.generation == (handle >> kIndexBits) ? slot.object : nullptr;
    }

    mutable Mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<DWORD> m_free;
};
