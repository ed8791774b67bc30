// The hourglass for the life of the object, over the application's override cursor (nothing
// without a GUI application). Objects nest; each puts back what it changed.
#pragma once

#include "mfc/Object.h"

class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

    // Shows the hourglass again after something (a message box) changed the cursor.
    void Restore();

private:
    bool m_bShown = false;
};
