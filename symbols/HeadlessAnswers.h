// The programs run headless (QT_QPA_PLATFORM=offscreen) where nobody can answer a box: each box's
// text goes to the error output under the program's name and its first button is taken, so the
// program goes on or ends as it would after OK.
#pragma once

#include "mfc/ModalHook.h"

// Answers as a person taking the first button would; other modal requests are cancelled.
int AfxAnswerHeadless(const char* program, const AfxModalRequest& request);
// Sets the modal hook to that answer when the program runs on the offscreen platform.
void AfxAnswerBoxesWhenHeadless(const char* program);
