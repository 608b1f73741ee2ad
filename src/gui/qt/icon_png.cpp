// Build helper: writes the window icon as the PNG that desktop icon themes expect.
// Usage: quorvel-icon-png IN.ico OUT.png
#include <QCoreApplication>
#include <QImage>
#include <cstdio>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: quorvel-icon-png IN.ico OUT.png\n");
    return 2;
  }
  const QImage image(QString::fromLocal8Bit(argv[1]));
  if (image.isNull() || !image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "quorvel-icon-png: cannot convert %s to %s\n", argv[1], argv[2]);
    return 1;
  }
  return 0;
}
