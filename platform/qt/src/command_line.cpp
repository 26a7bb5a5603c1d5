// SPDX-FileCopyrightText: 2026 The Vostrel authors
// SPDX-License-Identifier: MIT
#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace vostrel::platform::qt {
namespace {

// The options QGuiApplication, QApplication and the xcb plugin take for themselves.
constexpr const char* kQtOptionsWithValue[] = {
    "platform",    "platformpluginpath", "platformtheme", "plugin",  "qwindowgeometry",
    "qwindowicon", "qwindowtitle",       "session",       "display", "geometry",
    "style",       "stylesheet",         "name",          "title",   "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
}

}  // namespace

std::optional<int> AnswerCommandLine(const QStringList& arguments, QtOptions& qtOptions) {
  QCommandLineParser parser;
  // Qt's options are single words behind one dash ("-platform xcb").
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.setApplicationDescription(QCoreApplication::translate(
      "vostrel",
      "Shows one signed 32-bit integer in decimal, hexadecimal and binary at once, in a thin strip "
      "that stays above all other windows."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  for (const char* name : kQtOptionsWithValue) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtFlags) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }

  const QString program = QFileInfo(arguments.value(0, QStringLiteral("vostrel"))).fileName();
  QString error;
  if (!parser.parse(arguments)) {
    error = parser.errorText();
  } else if (!parser.positionalArguments().isEmpty()) {
    error = QCoreApplication::translate("vostrel", "Unexpected argument '%1'.")
                .arg(parser.positionalArguments().constFirst());
  }
  if (!error.isEmpty()) {
    Print(stderr,
          program + QStringLiteral(": ") + error + QLatin1Char('\n') +
              QCoreApplication::translate("vostrel", "Try '%1 --help' for more information.").arg(program) +
              QLatin1Char('\n'));
    return 2;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    Print(stdout, parser.helpText());
    return 0;
  }
  if (parser.isSet(version)) {
    Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                      QCoreApplication::applicationVersion() + QLatin1Char('\n'));
    return 0;
  }
  qtOptions.platform = parser.value(QStringLiteral("platform"));
  qtOptions.display = parser.value(QStringLiteral("display"));
  return std::nullopt;
}

}  // namespace vostrel::platform::qt
