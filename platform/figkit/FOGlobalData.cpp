#include "figkit/FOGlobalData.h"

FO_GLOBAL_DATA::FO_GLOBAL_DATA()
{
    m_penMainOrderLine.CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
    m_penOrderLine.CreatePen(PS_DOT, 1, RGB(0, 0, 128));
}

FO_GLOBAL_DATA& AfxGetFOGlobalData()
{
    static FO_GLOBAL_DATA data;
    return data;
}
