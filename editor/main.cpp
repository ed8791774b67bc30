#include "editor/QYRDrawApp.h"
#include "mfc/Terminate.h"
#include "mfc/WinApp.h"
#include "symbols/HeadlessAnswers.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qtApp(argc, argv);
    qtApp.setQuitOnLastWindowClosed(false);
    AfxAnswerBoxesWhenHeadless("QYRDraw");
    AfxCloseMainWindowOnTerminate();
    CQYRDrawApp theApp;
    return AfxWinMain(argc, argv);
}
