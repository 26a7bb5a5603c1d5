// Writes the icon files that are installed or compiled into resources: vostrel-16.png, vostrel-32.png and
// vostrel.ico, into the folder named on the command line.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "vostrel/platform/qt/icon.h"
#include "vostrel/resources/ico_file.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icon_files FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  for (const int size : {16, 32}) {
    if (!vostrel::platform::qt::ProgramIconImage(size).save(
            folder.filePath(QStringLiteral("vostrel-%1.png").arg(size)))) {
      return 1;
    }
  }
  const std::vector<std::uint8_t> ico = vostrel::resources::IcoFile();
  QFile file(folder.filePath(QStringLiteral("vostrel.ico")));
  if (!file.open(QIODevice::WriteOnly)) return 1;
  const auto size = static_cast<qint64>(ico.size());
  return file.write(reinterpret_cast<const char*>(ico.data()), size) == size ? 0 : 1;
}
