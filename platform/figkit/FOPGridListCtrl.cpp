#include "figkit/FOPGridListCtrl.h"

IMPLEMENT_DYNAMIC(CFOPGridEditBox, CEdit)
