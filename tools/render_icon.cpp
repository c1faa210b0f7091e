// render_icon: draws an SVG picture into a square PNG of the given size, for the icon theme
// folders of the installed program. Build-time tool: render_icon IN.svg SIZE OUT.png.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
  if (argc != 4) {
    std::fprintf(stderr, "usage: render_icon IN.svg SIZE OUT.png\n");
    return 2;
  }
  // A build machine has no display; the offscreen platform is enough to draw.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);

  char* end = nullptr;
  const long size = std::strtol(argv[2], &end, 10);
  if (*end != '\0' || size < 1 || size > 4096) {
    std::fprintf(stderr, "render_icon: '%s' is not a size in pixels\n", argv[2]);
    return 2;
  }
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "render_icon: cannot read the SVG picture %s\n", argv[1]);
    return 1;
  }
  const int pixels = static_cast<int>(size);
  QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter, QRectF(0, 0, pixels, pixels));
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "render_icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
