// The diagram library's trackbar: a CSliderCtrl that windows of the library derive their sliders
// from.
#pragma once

#include "mfc/SliderCtrl.h"

class CFOBaseSliderCtrl : public CSliderCtrl
{
    DECLARE_DYNAMIC(CFOBaseSliderCtrl)
public:
    CFOBaseSliderCtrl() = default;
};
