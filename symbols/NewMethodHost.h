// CNewMethodHost: the programs' own automation object, which the script engine sees as "app". It
// offers the methods of CXVKMethodHost (the runtime programs derive their form with more) and
// answers its own interface id with its dispatch interface. While one lives the application stays
// locked. It is creatable under the ProgID "Quendrel.MethodHost" once the program has registered
// the class factory.
#pragma once

#include "com/Guid.h"
#include "model/XVKMethodHost.h"

// {0A2FE0B5-DEAA-4A8C-829D-9ADC47C203EF}
inline const CLSID CLSID_NewMethodHost = {
    0x0A2FE0B5, 0xDEAA, 0x4A8C, {0x82, 0x9D, 0x9A, 0xDC, 0x47, 0xC2, 0x03, 0xEF}};
// {5A7093B6-5AF0-429E-B55C-9A184A294B2E}
inline const IID IID_INewMethodHost = {
    0x5A7093B6, 0x5AF0, 0x429E, {0xB5, 0x5C, 0x9A, 0x18, 0x4A, 0x29, 0x4B, 0x2E}};

class CNewMethodHost : public CXVKMethodHost
{
    DECLARE_DYNCREATE(CNewMethodHost)
public:
    CNewMethodHost();
    ~CNewMethodHost() override;

    // Registers the class factory under CLSID_NewMethodHost and "Quendrel.MethodHost"; objects are
    // made of pClass, which must derive from CNewMethodHost (the program's own form). Registering
    // again replaces the factory. FALSE when pClass is not such a class.
    static BOOL RegisterClassFactory(CRuntimeClass* pClass = nullptr);
    static void RevokeClassFactory();

protected:
    BOOL IsDispatchIID(REFIID riid) const override;

    DECLARE_MESSAGE_MAP()
    DECLARE_DISPATCH_MAP()
};
