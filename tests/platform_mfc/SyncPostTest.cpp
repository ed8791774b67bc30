// CMutex and CSingleLock, and the freeing of posted messages that never reach a handler.
#include "WndTestSupport.h"

#include "mfc/SyncObjects.h"

#include <atomic>
#include <thread>

using namespace wndtest;

namespace
{
// Tries the mutex from another thread with a zero wait.
bool FreeForOthers(CMutex& mutex)
{
    bool got = false;
    std::thread other(
        [&]
        {
            CSingleLock lock(&mutex);
            got = lock.Lock(0);
        });
    other.join();
    return got;
}

TEST(SyncObjectsTest, SingleLockHoldsTheMutexForItsScope)
{
    CMutex mutex;
    ASSERT_NE(HANDLE(mutex), nullptr);
    {
        CSingleLock lock(&mutex);
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_FALSE(lock.Unlock()); // not held
        EXPECT_TRUE(lock.Lock());
        EXPECT_TRUE(lock.IsLocked());
        // The owner may take it again (recursive); another thread may not.
        CSingleLock again(&mutex, TRUE);
        EXPECT_TRUE(again.IsLocked());
        EXPECT_FALSE(FreeForOthers(mutex));
        EXPECT_TRUE(again.Unlock());
        EXPECT_FALSE(FreeForOthers(mutex));
    }
    EXPECT_TRUE(FreeForOthers(mutex)); // the destructor gave it back

    // A waiting lock gets the mutex once the holder lets go.
    CSingleLock lock(&mutex, TRUE);
    std::atomic<bool> got{false};
    std::thread waiter(
        [&]
        {
            CSingleLock other(&mutex);
            got = other.Lock(INFINITE);
        });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(got);
    lock.Unlock();
    waiter.join();
    EXPECT_TRUE(got);
}

class PostedFreeTest : public CWndTestBase
{
protected:
    void TearDown() override
    {
        AfxSetPostedMessageFree(kMessage, nullptr);
        CWndTestBase::TearDown();
    }
    static constexpr UINT kMessage = WM_USER + 77;
    static inline std::vector<WPARAM> s_freed;
};

class CReceiver : public CWnd
{
public:
    std::vector<WPARAM> received;
    LRESULT OnProbe(WPARAM wParam, LPARAM)
    {
        received.push_back(wParam);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReceiver, CWnd)
ON_MESSAGE(WM_USER + 77, &CReceiver::OnProbe)
END_MESSAGE_MAP()

TEST_F(PostedFreeTest, MessagesThatFindNoWindowAreFreedOnceAndDeliveredOnesAreNot)
{
    s_freed.clear();
    AfxSetPostedMessageFree(kMessage, [](WPARAM w, LPARAM) { s_freed.push_back(w); });
    CReceiver wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"receiver", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    const HWND hWnd = wnd.m_hWnd;

    // Posted from another thread and received: the handler's to free.
    std::thread poster([&] { EXPECT_TRUE(::PostMessage(hWnd, kMessage, 1, 0)); });
    poster.join();
    ASSERT_TRUE(PumpUntil([&] { return wnd.received.size() == 1; }));
    EXPECT_TRUE(s_freed.empty());

    // Posted, then the window goes before they come up: freed, in order, once each.
    EXPECT_TRUE(::PostMessage(hWnd, kMessage, 2, 0));
    EXPECT_TRUE(::PostMessage(hWnd, kMessage, 3, 0));
    EXPECT_TRUE(::PostMessage(hWnd, WM_USER + 78, 4, 0)); // no freer for this id
    wnd.DestroyWindow();
    PumpFor(30);
    EXPECT_EQ(s_freed, (std::vector<WPARAM>{2, 3}));
    EXPECT_EQ(wnd.received.size(), 1u);

    // A post to a window that is already gone fails and leaves the payload with the poster.
    EXPECT_FALSE(::PostMessage(hWnd, kMessage, 5, 0));
    PumpFor(10);
    EXPECT_EQ(s_freed.size(), 2u);
}
} // namespace
