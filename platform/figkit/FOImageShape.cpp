#include "figkit/FOImageShape.h"

#include "figkit/FOArchiveHelper.h"
#include "figkit/FODrawHelper.h"
#include "figkit/FOPVisualProxy.h"
#include "mfc/Archive.h"
#include "mfc/Dc.h"
#include "mfc/Gdi.h"

#include <QImageReader>
#include <QPainter>

IMPLEMENT_SERIAL(CFOImageShape, CFODrawPortsShape, 0)

namespace
{
const int kVersion = 1;
// Images larger than this (in pixels) are not read.
const qint64 kMaxPixels = 64LL * 1024 * 1024;
} // namespace

CFOImageShape::CFOImageShape()
{
    SetType(FO_COMP_IMAGE);
}

CFOImageShape::CFOImageShape(const CFOImageShape& src) : CFODrawPortsShape(src)
{
    m_strPath = src.m_strPath;
    m_nImageType = src.m_nImageType;
    m_crTransparent = src.m_crTransparent;
    m_image = src.m_image;
}

CFOImageShape::~CFOImageShape() = default;

CFOImageShape& CFOImageShape::operator=(const CFOImageShape& src)
{
    CFODrawPortsShape::operator=(src);
    m_strPath = src.m_strPath;
    m_nImageType = src.m_nImageType;
    m_crTransparent = src.m_crTransparent;
    m_image = src.m_image;
    return *this;
}

CFODrawShape* CFOImageShape::Copy() const
{
    return new CFOImageShape(*this);
}

BOOL CFOImageShape::LoadImageW(const CString& strPath, int nType, COLORREF crTransparent)
{
    m_strPath = strPath;
    m_nImageType = nType;
    m_crTransparent = crTransparent;
    m_image = QImage();
    if (strPath.IsEmpty())
        return FALSE;
    // The program's visual proxy may know the name as one of its own bitmaps.
    CBitmap named;
    CFOPVisualProxy::GetInstance()->LoadNamedBitmap(strPath, named);
    if (const QImage* image = named.GetImage(); image && !image->isNull())
    {
        m_image = *image;
        NotifyChanged();
        return TRUE;
    }
    QImageReader reader(QString::fromStdWString(strPath.str()));
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > kMaxPixels)
        return FALSE;
    m_image = reader.read();
    NotifyChanged();
    return m_image.isNull() ? FALSE : TRUE;
}

void CFOImageShape::Serialize(CArchive& ar)
{
    CFODrawPortsShape::Serialize(ar);
    FOSerializeVersion(ar, kVersion);
    if (ar.IsStoring())
    {
        ar << m_strPath << m_nImageType << DWORD(m_crTransparent);
        return;
    }
    DWORD cr = 0;
    ar >> m_strPath >> m_nImageType >> cr;
    LoadImageW(m_strPath, m_nImageType, COLORREF(cr));
}

void CFOImageShape::OnDrawFlat(CDC* pDC)
{
    CFODrawPortsShape::OnDrawFlat(pDC);
    const CRect rc = GetOwnRect();
    QPainter* painter = pDC ? pDC->GetPainter() : nullptr;
    if (painter && !m_image.isNull())
    {
        painter->drawImage(QRect(rc.left, rc.top, rc.Width(), rc.Height()), m_image);
        return;
    }
    if (!pDC)
        return;
    CPen pen(PS_DOT, 1, RGB(160, 160, 160));
    CPen* oldPen = pDC->SelectObject(&pen);
    CGdiObject* oldBrush = pDC->SelectStockObject(NULL_BRUSH);
    pDC->Rectangle(&rc);
    pDC->SelectObject(oldBrush);
    pDC->SelectObject(oldPen);
}
