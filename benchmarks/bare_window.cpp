// SPDX-License-Identifier: GPL-3.0-or-later
// The yardsticks for bench_startup: a bare Qt window the size of TRX's main
// window as it opens (client area 315 x 38 pixels), and nothing else; with the
// argument "text", the same window showing one line of text, laid out before
// it is shown.

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const bool text = argc > 1 && qstrcmp(argv[1], "text") == 0;
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    if (text) {
        auto* label = new QLabel(QStringLiteral("Avion:"), &window);
        label->adjustSize();
    }
    window.setFixedSize(315, 38);
    window.show();
    return app.exec();
}
