// The current application's options store and log file. The application base registers its own
// with SetAppServices; until then both are null.
#include "foundation/AppServices.h"

#include <atomic>

namespace
{
std::atomic<COptionsMgr*> g_options{nullptr};
std::atomic<CLogFile*> g_log{nullptr};
} // namespace

void SetAppServices(COptionsMgr* options, CLogFile* log)
{
    g_options = options;
    g_log = log;
}

COptionsMgr* GetOptionsMgr()
{
    return g_options;
}

CLogFile* GetLog()
{
    return g_log;
}
