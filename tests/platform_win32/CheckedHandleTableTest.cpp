#include "win32/CheckedHandleTable.h"

#include <gtest/gtest.h>

#include <shared_mutex>

namespace
{

// The same rules hold with and without the lock.
template <class Table> void CheckLookups()
{
    int a = 1, b = 2;
    Table table;
    const DWORD ha = table.Add(&a);
    ASSERT_NE(0u, ha);
    EXPECT_EQ(&a, table.Find(ha));
    EXPECT_EQ(nullptr, table.Find(0));
    EXPECT_EQ(nullptr, table.Find(ha + 1)); // a slot never handed out
    EXPECT_EQ(nullptr, table.Find(0xFFFFFFFFu));

    table.Remove(ha);
    EXPECT_EQ(nullptr, table.Find(ha));
    // b takes a's slot; a's old handle still finds nothing, and removing it again harms nothing.
    const DWORD hb = table.Add(&b);
    EXPECT_EQ(ha & Table::kIndexMask, hb & Table::kIndexMask);
    EXPECT_NE(ha, hb);
    EXPECT_EQ(nullptr, table.Find(ha));
    table.Remove(ha);
    EXPECT_EQ(&b, table.Find(hb));
    EXPECT_EQ(1u, table.GetCount());

    typename Table::CReadLock read(table);
    EXPECT_EQ(&b, read.Find(hb));
    EXPECT_EQ(nullptr, read.Find(ha));
}

TEST(CheckedHandleTable, StaleUnknownAndZeroHandlesFindNothing)
{
    CheckLookups<CCheckedHandleTable<int>>();
    CheckLookups<CCheckedHandleTable<int, std::shared_mutex>>();
}

} // namespace
