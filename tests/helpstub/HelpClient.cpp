// SPDX-License-Identifier: GPL-3.0-or-later
// Presses the main window's Help button a given number of times, then ends
// the way the program does. Prints how often the viewer library was asked
// for and how many windows were left showing, so a test can tell what the
// help path did with whichever viewer library the loader found.

#include "platform/HtmlHelp.h"
#include "ui/Application.h"
#include "ui/Main.h"

#include <QPushButton>
#include <QTextStream>

#include <cstring>
#include <dlfcn.h>

namespace {
int g_viewerLoads = 0;
}

// Counts the loader's attempts on the viewer library; everything goes on to
// the real dlopen.
extern "C" void* dlopen(const char* file, int mode)
{
    using DlopenFunc = void* (*)(const char*, int);
    static const auto real = reinterpret_cast<DlopenFunc>(dlsym(RTLD_NEXT, "dlopen"));
    if (file && std::strcmp(file, HtmlHelpLibraryName) == 0)
        ++g_viewerLoads;
    return real(file, mode);
}

int main(int argc, char* argv[])
{
    const int presses = argc > 1 ? std::atoi(argv[1]) : 1;
    int windows = 0;
    {
        TApplication app(argc, argv);
        app.SetTitle(QStringLiteral("Trimwise"));
        app.SetHelpFile(QStringLiteral("trx.chm"));
        TForm1 form;
        form.show();
        for (int i = 0; i < presses; ++i)
            form.Button4->click();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != &form && w->isVisible())
                ++windows;
    }
    QTextStream(stdout) << "went on: viewer loads=" << g_viewerLoads << " windows=" << windows
                        << Qt::endl;
    return 0;
}
