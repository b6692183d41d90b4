// vormek-icon OUT_DIR NAME: writes OUT_DIR/scalable/apps/NAME.svg and
// OUT_DIR/<n>x<n>/apps/NAME.png for the icon theme's usual sizes.
#include <QDir>
#include <QFile>
#include <QString>
#include <cstdio>

#include "icon/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: vormek-icon OUT_DIR NAME\n");
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  const QString name = QString::fromLocal8Bit(argv[2]);
  if (!out.mkpath(QStringLiteral("scalable/apps"))) return 1;
  QFile svg(out.filePath(QStringLiteral("scalable/apps/") + name + QStringLiteral(".svg")));
  const QByteArray text = vormek::AppIconSvg().toUtf8();
  if (!svg.open(QIODevice::WriteOnly) || svg.write(text) != text.size()) {
    std::fprintf(stderr, "vormek-icon: cannot write %s\n", qPrintable(svg.fileName()));
    return 1;
  }
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(size);
    const QString path = out.filePath(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    if (!out.mkpath(folder) || !vormek::DrawAppIcon(size).save(path, "PNG")) {
      std::fprintf(stderr, "vormek-icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
