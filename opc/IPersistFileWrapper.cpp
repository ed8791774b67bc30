#include "opc/IPersistFileWrapper.h"

#include "logvane/Logvane.h"

CIPersistFile::CIPersistFile(IUnknown* unknown)
{
    if (!unknown ||
        FAILED(unknown->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&m_pPersistFile))))
        XVKLOG_ERROR(L"CIPersistFile()");
}

CIPersistFile::~CIPersistFile() = default;

HRESULT CIPersistFile::Load(LPCOLESTR pszFileName, DWORD dwMode)
{
    if (!m_pPersistFile)
        return E_FAIL;
    HRESULT hr = m_pPersistFile->Load(pszFileName, dwMode);
    if (FAILED(hr))
        XVKLOG_ERROR(L"CIPersistFile::Load");
    return hr;
}

HRESULT CIPersistFile::Save(LPCOLESTR pszFileName, BOOL fRemember)
{
    if (!m_pPersistFile)
        return E_FAIL;
    HRESULT hr = m_pPersistFile->Save(pszFileName, fRemember);
    if (FAILED(hr))
        XVKLOG_ERROR(L"CIPersistFile::Save");
    return hr;
}
