// A stack object that counts its references, to check AddRef and Release pairs.
#pragma once

#include "com/Unknown.h"

class CCountedUnknown : public IUnknown
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown)
        {
            *ppv = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++m_refs); }
    STDMETHODIMP_(ULONG) Release() override { return ULONG(--m_refs); }
    LONG Refs() const { return m_refs; }

private:
    LONG m_refs = 1;
};
