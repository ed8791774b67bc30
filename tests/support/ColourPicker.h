// Colour buttons in tests: the click that drops the palette, then "More Colors...", which opens the
// colour dialog (answered by the test's modal hook).
#pragma once

#include "figkit/FOPDropDownColorPickerButton.h"

#include <QPushButton>

// FALSE when the palette or its "More Colors..." did not show.
inline bool ChooseMoreColors(FOPDropDownColorPickerButton& picker)
{
    picker.Click();
    AfxPumpMessages();
    QWidget* palette = picker.GetPalette();
    auto* more = palette ? palette->findChild<QPushButton*>(QStringLiteral("moreColors")) : nullptr;
    if (!more || more->text() != QStringLiteral("More Colors..."))
        return false;
    more->click();
    AfxPumpMessages();
    return true;
}
