#include "svgimport/SvgStyle.h"

#include <cstring>

namespace
{
struct ColourName
{
    const wchar_t* name;
    COLORREF colour;
};

#define C(n, r, g, b)                                                                                        \
    {                                                                                                        \
        L##n, RGB(r, g, b)                                                                                   \
    }
// The colour keywords of SVG 1.1 in alphabetical order, and "transparent".
const ColourName kNames[] = {
    C("aliceblue", 240, 248, 255),
    C("antiquewhite", 250, 235, 215),
    C("aqua", 0, 255, 255),
    C("aquamarine", 127, 255, 212),
    C("azure", 240, 255, 255),
    C("beige", 245, 245, 220),
    C("bisque", 255, 228, 196),
    C("black", 0, 0, 0),
    C("blanchedalmond", 255, 235, 205),
    C("blue", 0, 0, 255),
    C("blueviolet", 138, 43, 226),
    C("brown", 165, 42, 42),
    C("burlywood", 222, 184, 135),
    C("cadetblue", 95, 158, 160),
    C("chartreuse", 127, 255, 0),
    C("chocolate", 210, 105, 30),
    C("coral", 255, 127, 80),
    C("cornflowerblue", 100, 149, 237),
    C("cornsilk", 255, 248, 220),
    C("crimson", 220, 20, 60),
    C("cyan", 0, 255, 255),
    C("darkblue", 0, 0, 139),
    C("darkcyan", 0, 139, 139),
    C("darkgoldenrod", 184, 134, 11),
    C("darkgray", 169, 169, 169),
    C("darkgreen", 0, 100, 0),
    C("darkgrey", 169, 169, 169),
    C("darkkhaki", 189, 183, 107),
    C("darkmagenta", 139, 0, 139),
    C("darkolivegreen", 85, 107, 47),
    C("darkorange", 255, 140, 0),
    C("darkorchid", 153, 50, 204),
    C("darkred", 139, 0, 0),
    C("darksalmon", 233, 150, 122),
    C("darkseagreen", 143, 188, 143),
    C("darkslateblue", 72, 61, 139),
    C("darkslategray", 47, 79, 79),
    C("darkslategrey", 47, 79, 79),
    C("darkturquoise", 0, 206, 209),
    C("darkviolet", 148, 0, 211),
    C("deeppink", 255, 20, 147),
    C("deepskyblue", 0, 191, 255),
    C("dimgray", 105, 105, 105),
    C("dimgrey", 105, 105, 105),
    C("dodgerblue", 30, 144, 255),
    C("firebrick", 178, 34, 34),
    C("floralwhite", 255, 250, 240),
    C("forestgreen", 34, 139, 34),
    C("fuchsia", 255, 0, 255),
    C("gainsboro", 220, 220, 220),
    C("ghostwhite", 248, 248, 255),
    C("gold", 255, 215, 0),
    C("goldenrod", 218, 165, 32),
    C("gray", 128, 128, 128),
    C("grey", 128, 128, 128),
    C("green", 0, 128, 0),
    C("greenyellow", 173, 255, 47),
    C("honeydew", 240, 255, 240),
    C("hotpink", 255, 105, 180),
    C("indianred", 205, 92, 92),
    C("indigo", 75, 0, 130),
    C("ivory", 255, 255, 240),
    C("khaki", 240, 230, 140),
    C("lavender", 230, 230, 250),
    C("lavenderblush", 255, 240, 245),
    C("lawngreen", 124, 252, 0),
    C("lemonchiffon", 255, 250, 205),
    C("lightblue", 173, 216, 230),
    C("lightcoral", 240, 128, 128),
    C("lightcyan", 224, 255, 255),
    C("lightgoldenrodyellow", 250, 250, 210),
    C("lightgray", 211, 211, 211),
    C("lightgreen", 144, 238, 144),
    C("lightgrey", 211, 211, 211),
    C("lightpink", 255, 182, 193),
    C("lightsalmon", 255, 160, 122),
    C("lightseagreen", 32, 178, 170),
    C("lightskyblue", 135, 206, 250),
    C("lightslategray", 119, 136, 153),
    C("lightslategrey", 119, 136, 153),
    C("lightsteelblue", 176, 196, 222),
    C("lightyellow", 255, 255, 224),
    C("lime", 0, 255, 0),
    C("limegreen", 50, 205, 50),
    C("linen", 250, 240, 230),
    C("magenta", 255, 0, 255),
    C("maroon", 128, 0, 0),
    C("mediumaquamarine", 102, 205, 170),
    C("mediumblue", 0, 0, 205),
    C("mediumorchid", 186, 85, 211),
    C("mediumpurple", 147, 112, 219),
    C("mediumseagreen", 60, 179, 113),
    C("mediumslateblue", 123, 104, 238),
    C("mediumspringgreen", 0, 250, 154),
    C("mediumturquoise", 72, 209, 204),
    C("mediumvioletred", 199, 21, 133),
    C("midnightblue", 25, 25, 112),
    C("mintcream", 245, 255, 250),
    C("mistyrose", 255, 228, 225),
    C("moccasin", 255, 228, 181),
    C("navajowhite", 255, 222, 173),
    C("navy", 0, 0, 128),
    C("oldlace", 253, 245, 230),
    C("olive", 128, 128, 0),
    C("olivedrab", 107, 142, 35),
    C("orange", 255, 165, 0),
    C("orangered", 255, 69, 0),
    C("orchid", 218, 112, 214),
    C("palegoldenrod", 238, 232, 170),
    C("palegreen", 152, 251, 152),
    C("paleturquoise", 175, 238, 238),
    C("palevioletred", 219, 112, 147),
    C("papayawhip", 255, 239, 213),
    C("peachpuff", 255, 218, 185),
    C("peru", 205, 133, 63),
    C("pink", 255, 192, 203),
    C("plum", 221, 160, 221),
    C("powderblue", 176, 224, 230),
    C("purple", 128, 0, 128),
    C("red", 255, 0, 0),
    C("rosybrown", 188, 143, 143),
    C("royalblue", 65, 105, 225),
    C("saddlebrown", 139, 69, 19),
    C("salmon", 250, 128, 114),
    C("sandybrown", 244, 164, 96),
    C("seagreen", 46, 139, 87),
    C("seashell", 255, 245, 238),
    C("sienna", 160, 82, 45),
    C("silver", 192, 192, 192),
    C("skyblue", 135, 206, 235),
    C("slateblue", 106, 90, 205),
    C("slategray", 112, 128, 144),
    C("slategrey", 112, 128, 144),
    C("snow", 255, 250, 250),
    C("springgreen", 0, 255, 127),
    C("steelblue", 70, 130, 180),
    C("tan", 210, 180, 140),
    C("teal", 0, 128, 128),
    C("thistle", 216, 191, 216),
    C("tomato", 255, 99, 71),
    C("turquoise", 64, 224, 208),
    C("violet", 238, 130, 238),
    C("wheat", 245, 222, 179),
    C("white", 255, 255, 255),
    C("whitesmoke", 245, 245, 245),
    C("yellow", 255, 255, 0),
    C("yellowgreen", 154, 205, 50),
    C("transparent", 0, 0, 0),
};
#undef C
} // namespace

int SvgColourNameCount()
{
    return int(sizeof kNames / sizeof kNames[0]);
}

BOOL LookUpColourName(const CString& text, COLORREF& colour)
{
    for (const ColourName& n : kNames)
        if (text == n.name)
        {
            colour = n.colour;
            return TRUE;
        }
    return FALSE;
}
