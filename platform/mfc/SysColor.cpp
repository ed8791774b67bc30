#include "mfc/SysColor.h"

#include <array>

DWORD GetSysColor(int nIndex)
{
    static const std::array<DWORD, 25> kColors = {
        0xC8C8C8, // scroll bar
        0x000000, // desktop
        0xD1B499, // active caption
        0xDBCDBF, // inactive caption
        0xF0F0F0, // menu
        0xFFFFFF, // window
        0x646464, // window frame
        0x000000, // menu text
        0x000000, // window text
        0x000000, // caption text
        0xB4B4B4, // active border
        0xFCF7F4, // inactive border
        0xABABAB, // application workspace
        0xD77800, // highlight
        0xFFFFFF, // highlight text
        0xF0F0F0, // button face
        0xA0A0A0, // button shadow
        0x6D6D6D, // grey text
        0x000000, // button text
        0x000000, // inactive caption text
        0xFFFFFF, // button highlight
        0x696969, // 3-D dark shadow
        0xE3E3E3, // 3-D light
        0x000000, // tooltip text
        0xE1FFFF, // tooltip background
    };
    if (nIndex < 0 || nIndex >= int(kColors.size()))
        return 0;
    return kColors[size_t(nIndex)];
}
