// An image from a file, drawn scaled into the shape's rectangle. A missing or unreadable image
// leaves the shape as a framed empty box.
#pragma once

#include "figkit/FODrawPortsShape.h"

#include <QImage>

class CFOImageShape : public CFODrawPortsShape
{
    DECLARE_SERIAL(CFOImageShape)
public:
    CFOImageShape();
    CFOImageShape(const CFOImageShape& src);
    ~CFOImageShape() override;
    CFOImageShape& operator=(const CFOImageShape& src);
    CFODrawShape* Copy() const override;
    // Version (1), the image file's path (the image is read again from it).
    void Serialize(CArchive& ar) override;

    // Reads the image; nType names its format (see CFODrawHelper::FindType); crTransparent is the
    // colour drawn as transparent. FALSE when it cannot be read.
    BOOL LoadImageW(const CString& strPath, int nType, COLORREF crTransparent);
    const CString& GetImagePath() const { return m_strPath; }
    BOOL HasImage() const { return !m_image.isNull(); }

    void OnDrawFlat(CDC* pDC) override;
    void OnDraw3d(CDC* pDC) override { OnDrawFlat(pDC); }

protected:
    CString m_strPath;
    int m_nImageType = 0;
    COLORREF m_crTransparent = 0xFFFFFF;
    QImage m_image;
};
