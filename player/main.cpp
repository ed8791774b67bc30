#include "mfc/WinApp.h"
#include "player/QYRViewApp.h"

int main(int argc, char** argv)
{
    CQYRViewApp theApp;
    return AfxWinMain(argc, argv);
}
