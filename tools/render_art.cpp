// Build-time tool: draws each SVG picture at one and at two device pixels
// per logical pixel and writes it as raw premultiplied ARGB32, after an
// 8-byte header (width, height; 32-bit, little-endian), as NAME.argb and
// NAME@2x.argb in the output folder. The program then shows its pictures
// without an SVG renderer or an image decoder at start-up.
//   render_art OUT_DIR PICTURE.svg...
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtEndian>
#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: render_art OUT_DIR PICTURE.svg...\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    for (int i = 2; i < argc; ++i) {
        const QString source = QString::fromLocal8Bit(argv[i]);
        QSvgRenderer svg(source);
        if (!svg.isValid()) {
            std::fprintf(stderr, "render_art: cannot read %s\n", argv[i]);
            return 1;
        }
        for (const int scale : {1, 2}) {
            QImage image(svg.defaultSize() * scale, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            svg.render(&painter);
            painter.end();
            const QString name = QFileInfo(source).completeBaseName() + (scale == 2 ? "@2x" : "") + ".argb";
            QFile file(out.filePath(name));
            const quint32 header[] = {qToLittleEndian(quint32(image.width())), qToLittleEndian(quint32(image.height()))};
            // 32-bit rows have no padding: the pixels are one run.
            qToLittleEndian<quint32>(image.constBits(), qsizetype(image.width()) * image.height(), image.bits());
            if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(header), 8) != 8 ||
                file.write(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()) != image.sizeInBytes()) {
                std::fprintf(stderr, "render_art: cannot write %s\n", qPrintable(file.fileName()));
                return 1;
            }
        }
    }
    return 0;
}
