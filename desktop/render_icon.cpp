// Build tool: renders the program's SVG icon as a square PNG of one size, for
// the icon theme's fixed-size folders.
//   tarvo_render_icon ICON.svg SIZE OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>

#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: tarvo_render_icon ICON.svg SIZE OUT.png\n");
        return 2;
    }
    const int size = QByteArray(argv[2]).toInt();
    QImageReader reader(QString::fromLocal8Bit(argv[1]));
    reader.setScaledSize(QSize(size, size));
    const QImage rendered = reader.read();
    if (rendered.isNull() || size <= 0) {
        std::fprintf(stderr, "tarvo_render_icon: %s\n", qPrintable(reader.errorString()));
        return 1;
    }
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter(&icon).drawImage(0, 0, rendered);
    return icon.save(QString::fromLocal8Bit(argv[3]), "PNG") ? 0 : 1;
}
