// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of trx-sheet --pdf: a Qt program that writes a one-line PDF
// to the file named by its argument, headless, as trx-sheet does.

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QPdfWriter writer(QString::fromLocal8Bit(argv[1]));
    writer.setPageSize(QPageSize(QPageSize::A4));
    QPainter painter(&writer);
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    painter.drawText(QPointF(100, 100), QStringLiteral("one line"));
    return painter.end() ? 0 : 1;
}
