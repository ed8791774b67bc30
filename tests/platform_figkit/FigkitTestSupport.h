// Helpers of the diagram library tests: archives in memory and an application for drawing.
#pragma once

#include "mfc/Wnd.h"
#include "support/ArchiveBytes.h"
#include "support/Printers.h"
#include "support/PumpUntil.h"

namespace figkit_test
{
inline void EnsureApp()
{
    AfxEnsureApplication();
}
} // namespace figkit_test
