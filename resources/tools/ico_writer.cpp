// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
// Writes the program's icon as a Windows .ico file, for the resources compiled into the Windows program. It
// runs on the machine that builds, whatever the program is built for.
#include <cstdio>

#include "vostrel/resources/ico_file.h"

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: ico_writer FILE\n");
    return 2;
  }
  const std::vector<std::uint8_t> ico = vostrel::resources::IcoFile();
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) return 1;
  const bool written = std::fwrite(ico.data(), 1, ico.size(), file) == ico.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}
