#include "ui/picture.h"

#include <QImage>
#include <QResource>
#include <QtEndian>

namespace tavola {

// A picture file is its width and height (32 bits each, little-endian), then
// its premultiplied ARGB pixels row by row, as tools/render_art writes them.
QPixmap picture(const char* name, qreal ratio)
{
    const bool twice = ratio > 1;
    const QByteArray file = QResource(QStringLiteral(":/art/%1%2.argb").arg(QLatin1String(name), twice ? "@2x" : ""))
                                .uncompressedData();
    quint32 size[2] = {};
    if (file.size() >= 8)
        qFromLittleEndian<quint32>(file.constData(), 2, size);
    if (size[0] == 0 || size[0] > 4096 || size[1] > 4096 || file.size() != 8 + qsizetype(size[0]) * size[1] * 4)
        return {};
    QImage image{int(size[0]), int(size[1]), QImage::Format_ARGB32_Premultiplied};
    qFromLittleEndian<quint32>(file.constData() + 8, qsizetype(size[0]) * size[1], image.bits());
    const QSize wanted = (QSizeF(image.size()) / (twice ? 2 : 1) * ratio).toSize();
    if (image.size() != wanted)
        image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmap pixmap = QPixmap::fromImage(std::move(image));
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

const QPixmap& Picture::at(qreal ratio)
{
    if (m_name && (m_pixmap.isNull() || m_pixmap.devicePixelRatio() != ratio))
        m_pixmap = picture(m_name, ratio);
    return m_pixmap;
}

}  // namespace tavola
