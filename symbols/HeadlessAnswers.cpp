#include "symbols/HeadlessAnswers.h"

#include <QGuiApplication>

#include <cstdio>
#include <string>

int AfxAnswerHeadless(const char* program, const AfxModalRequest& request)
{
    if (request.kind != AfxModalKind::MessageBox)
        return IDCANCEL;
    std::fprintf(stderr, "%s: %s\n", program, request.strText.ToUtf8().c_str());
    switch (request.nType & MB_TYPEMASK)
    {
    case MB_YESNO:
    case MB_YESNOCANCEL:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

void AfxAnswerBoxesWhenHeadless(const char* program)
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        return;
    AfxSetModalHook([name = std::string(program)](const AfxModalRequest& request)
                    { return AfxAnswerHeadless(name.c_str(), request); });
}
