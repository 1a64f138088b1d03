// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for bench_startup: a bare Qt window the size of TRX's main
// window as it opens (client area 315 x 38 pixels), and nothing else.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(315, 38);
    window.show();
    return app.exec();
}
