#include "Application.h"
#include "Exceptions.h"
#include "Main.h"
#include "OKBottomDlg.h"
#include "Print.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    try {
        Application->LoadIcon(QStringLiteral("icon.ico"));
        Application->SetTitle(QStringLiteral("Trimwise"));
        Application->SetHelpFile(QStringLiteral("trx.chm"));
        Form1 = new TForm1;
        Form1->setAttribute(Qt::WA_DeleteOnClose, false);
        OKBottomDlg = new TOKBottomDlg(Form1);
        Form2 = new TForm2;
        Form1->show();
        app.exec();
    } catch (...) {
        TApplication::ShowException(std::current_exception());
    }
    delete Form2;
    delete OKBottomDlg;
    delete Form1;
    return 0;
}
