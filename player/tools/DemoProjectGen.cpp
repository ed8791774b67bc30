// Writes the bundled demo project under the install root given as the only argument.
#include "player/DemoProject.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: DemoProjectGen <install root>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!WriteDemoProject(CString::FromUtf8(argv[1])))
    {
        std::fprintf(stderr, "DemoProjectGen: cannot write the demo project under %s\n", argv[1]);
        return 1;
    }
    return 0;
}
