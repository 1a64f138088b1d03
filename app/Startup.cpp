// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Startup.h"

#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"

#include <memory>

int RunTrimwise(TApplication& app)
{
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TOKBottomDlg> okBottomDlg;
    std::unique_ptr<TForm2> form2;
    try {
        app.LoadIcon(QStringLiteral("icon.ico"));
        app.SetTitle(QStringLiteral("Trimwise"));
        app.SetHelpFile(QStringLiteral("trx.chm"));
        form1 = std::make_unique<TForm1>();
        Form1 = form1.get();
        okBottomDlg = std::make_unique<TOKBottomDlg>();
        OKBottomDlg = okBottomDlg.get();
        form2 = std::make_unique<TForm2>();
        Form2 = form2.get();
        // The main window alone decides when the run ends.
        form2->setAttribute(Qt::WA_QuitOnClose, false);
        form1->show();
        app.exec();
    } catch (...) {
        TApplication::ShowException(std::current_exception());
    }
    form2.reset();
    Form2 = nullptr;
    okBottomDlg.reset();
    OKBottomDlg = nullptr;
    form1.reset();
    Form1 = nullptr;
    return 0;
}
