// png_same A.png B.png: exit code 0 when both images have the same size and pixels, 1 when
// they differ (the first differing pixel is named), 2 when one cannot be read.
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: png_same A.png B.png\n");
    return 2;
  }
  QImage a(argv[1]), b(argv[2]);
  if (a.isNull() || b.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", a.isNull() ? argv[1] : argv[2]);
    return 2;
  }
  if (a.size() != b.size()) {
    std::fprintf(stderr, "sizes differ: %dx%d and %dx%d\n", a.width(), a.height(), b.width(), b.height());
    return 1;
  }
  a = a.convertToFormat(QImage::Format_RGB32);
  b = b.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        std::fprintf(stderr, "pixel %d,%d differs\n", x, y);
        return 1;
      }
  return 0;
}
