// Application base of the runtime programs' own code: owns the project's workspace at exit.
#pragma once

#include "foundation/VEzudiZuroDoz.h"

class CPlexrunApp : public VEzudiZuroDoz
{
public:
    CPlexrunApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
};
