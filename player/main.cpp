#include "mfc/Terminate.h"
#include "mfc/WinApp.h"
#include "player/QYRViewApp.h"
#include "symbols/HeadlessAnswers.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    qtApp.setQuitOnLastWindowClosed(false);
    AfxAnswerBoxesWhenHeadless("QYRView");
    AfxCloseMainWindowOnTerminate();
    CQYRViewApp theApp;
    return AfxWinMain(argc, argv);
}
