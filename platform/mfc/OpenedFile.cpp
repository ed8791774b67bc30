#include "mfc/OpenedFile.h"

#include <memory>

CFile* AfxOpenFile(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    auto file = std::make_unique<CFile>();
    if (!file->Open(lpszFileName, nOpenFlags, pError))
        return nullptr;
    return file.release();
}

void AfxReleaseFile(CFile* pFile, BOOL bAbort)
{
    if (!pFile)
        return;
    if (bAbort)
        pFile->Abort();
    else
        pFile->Close();
    delete pFile;
}
