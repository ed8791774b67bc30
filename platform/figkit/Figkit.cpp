#include "figkit/Figkit.h"

#include <atomic>

namespace
{
std::atomic<bool> g_bInitialized{false};
} // namespace

void _InitFigkitDLL()
{
    // The library's classes join the run-time class list when it loads; what is left to set up
    // is done once.
    g_bInitialized.exchange(true);
}

bool FigkitIsInitialized()
{
    return g_bInitialized.load();
}
