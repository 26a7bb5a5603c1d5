// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Writes the icon files that are installed or compiled into resources, into the folder named on the command
// line: vostrel-<size>.png for every size a desktop asks for, vostrel.svg and vostrel.ico.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "vostrel/platform/qt/program_icon.h"
#include "vostrel/resources/ico_file.h"
#include "vostrel/resources/icon_svg.h"

namespace {

bool Write(const QString& path, const void* data, std::size_t size) {
  QFile file(path);
  const auto length = static_cast<qint64>(size);
  return file.open(QIODevice::WriteOnly) && file.write(static_cast<const char*>(data), length) == length;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: icon_files FOLDER\n");
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    if (!vostrel::platform::qt::ProgramIconImage(size).save(
            folder.filePath(QStringLiteral("vostrel-%1.png").arg(size)))) {
      return 1;
    }
  }
  const std::string svg = vostrel::resources::IconSvg();
  const std::vector<std::uint8_t> ico = vostrel::resources::IcoFile();
  return Write(folder.filePath(QStringLiteral("vostrel.svg")), svg.data(), svg.size()) &&
                 Write(folder.filePath(QStringLiteral("vostrel.ico")), ico.data(), ico.size())
             ? 0
             : 1;
}
