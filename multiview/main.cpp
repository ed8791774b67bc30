#include "mfc/Terminate.h"
#include "mfc/WinApp.h"
#include "multiview/QYRMViewApp.h"
#include "symbols/HeadlessAnswers.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    qtApp.setQuitOnLastWindowClosed(false);
    AfxAnswerBoxesWhenHeadless("QYRMView");
    AfxCloseMainWindowOnTerminate();
    CQYRMViewApp theApp;
    return AfxWinMain(argc, argv);
}
