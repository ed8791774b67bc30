// "app" of the player: scripts read and reset the timer procedure's step counter.
#include "com/ComUtil.h"
#include "mfc/Wnd.h"
#include "model/ScriptObject.h"
#include "player/RunMethodHost.h"

#include <gtest/gtest.h>

TEST(RunMethodHost, ScriptsReadTheStepAsA32BitNumberAndResetIt)
{
    AfxEnsureApplication();
    auto* host = new CRunMethodHost;
    int step = 0;
    host->SetTimerStepCounter(&step);
    {
        CScriptObject script;
        script.SetTimeout(-1);
        script.AddObject(L"app", host->GetIDispatch(FALSE));
        ASSERT_TRUE(script.AddScript(L"function Read() { return app.GetCurTimerStep(); }\n"
                                     L"function Reset() { app.SetCurTimerStep(-1); }\n"
                                     L"function Base() { return app.GetGVarValue('#none') > 0; }\n"));
        const int counts[] = {0, 1, 32767, 40000, 9000000, -5};
        for (int count : counts)
        {
            step = count;
            VARIANT r;
            VariantInit(&r);
            ASSERT_TRUE(script.RunProcedure(L"Read", nullptr, &r)) << script.GetErrorString();
            _variant_t result;
            result.Attach(r);
            EXPECT_EQ(long(result), count);
        }
        // After a reset to -1 the view's next count is 0.
        step = 40000;
        ASSERT_TRUE(script.RunProcedure(L"Reset", nullptr, nullptr));
        EXPECT_EQ(step, -1);
        EXPECT_EQ(step + 1, 0);
        // The base's methods stay reachable.
        EXPECT_TRUE(script.RunProcedure(L"Base", nullptr, nullptr)) << script.GetErrorString();
    }
    // Without a counter the step reads 0 and setting it changes nothing.
    host->SetTimerStepCounter(nullptr);
    EXPECT_EQ(host->GetCurTimerStep(), 0);
    host->SetCurTimerStep(7);
    host->ExternalRelease();
}
