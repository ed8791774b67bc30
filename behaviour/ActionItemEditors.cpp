#include "behaviour/ActionItemEditors.h"

// Until the item editors exist, no code has one.
BOOL HasActionItemEditor(const CString&)
{
    return FALSE;
}

BOOL RunActionItemEditor(CWnd*, CActionItemRequest&)
{
    return FALSE;
}
