#include "mfc/CString.h"

// Replaced by the resource chain.
BOOL CString::LoadString(UINT) { return FALSE; }
