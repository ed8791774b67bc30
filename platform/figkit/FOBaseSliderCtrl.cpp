#include "figkit/FOBaseSliderCtrl.h"

IMPLEMENT_DYNAMIC(CFOBaseSliderCtrl, CSliderCtrl)
