// CIPersistFile: the logging wrapper of a server's IPersistFile.
#pragma once

#include "com/ComPtr.h"
#include "com/PersistFile.h"

class CIPersistFile
{
public:
    // Queries the object for IPersistFile; logs when it has none.
    explicit CIPersistFile(IUnknown* unknown);
    CIPersistFile(const CIPersistFile&) = delete;
    CIPersistFile& operator=(const CIPersistFile&) = delete;
    virtual ~CIPersistFile();

    HRESULT Load(LPCOLESTR pszFileName, DWORD dwMode);
    HRESULT Save(LPCOLESTR pszFileName, BOOL fRemember);

protected:
    CComPtr<IPersistFile> m_pPersistFile;
};
