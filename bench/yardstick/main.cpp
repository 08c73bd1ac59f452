// SPDX-FileCopyrightText: 2026 Quillbook developers
// SPDX-License-Identifier: GPL-3.0-or-later
//
// The hand-drawn yardstick as a whole process, as quillbook-render is timed:
//   handdrawn-invoice PARAMS OUT.pdf   (PARAMS gives PLOGO, the logo's path)

#include "handinvoice.h"

#include <QGuiApplication>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return 2;
    yardstick::addFonts(QStringLiteral(QUILLBOOK_APP_DIR "/fonts"));
    const yardstick::Values values = yardstick::readValues(args[1]);
    const QImage logo(values.value(QStringLiteral("PLOGO")));
    return yardstick::drawInvoice(values, logo, args[2]) ? 0 : 1;
}
