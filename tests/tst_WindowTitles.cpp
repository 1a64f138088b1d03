// SPDX-License-Identifier: GPL-3.0-or-later
// Every window's title as the window system holds it (_NET_WM_NAME, what a
// title bar and a task bar show) is exactly its caption. Runs on a real X
// server with the xcb platform, where Qt formats the titles it hands over.
#include "TestSupport.h"
#include "core/Exceptions.h"
#include "core/WinApi.h"
#include "platform/HtmlHelp.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"

#include <QDeadlineTimer>
#include <QTest>

namespace {
constexpr int Patience = 30000; // ms: a loaded machine, a fresh X server
// A title is there as soon as its window exists; a wrong one fails without
// a long wait (QTRY waits as long again to tell whether more would help).
constexpr int TitleWait = 10000; // ms

// The window's _NET_WM_NAME, read with xprop.
QString WindowSystemTitle(QWidget* window)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(Patience))
        return QStringLiteral("(xprop did not answer)");
    // _NET_WM_NAME(UTF8_STRING) = "Trimwise Application"
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype quote = out.indexOf(QLatin1String(" = \""));
    if (quote < 0 || !out.endsWith(u'"'))
        return out;
    QString title = out.mid(quote + 4);
    title.chop(1);
    return title.replace(QLatin1String("\\\""), QLatin1String("\""));
}

QWidget* HelpWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("TrxHelpWindow") && w->isVisible())
            return w;
    return nullptr;
}

enum Window
{
    ValueDialog,
    Warning,
    ErrorBox,
    Preview,
    PageSetup,
    Help
};
} // namespace

class tst_WindowTitles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        // The bundled catalogue, as TRX reads it.
        QFile bundled(QStringLiteral(TRX_SOURCE_DIR "/data/TRX.ini"));
        QVERIFY(bundled.open(QIODevice::ReadOnly));
        QVERIFY(WriteCatalogue(bundled.readAll()));
        Form1 = new TForm1;
        OKBottomDlg = new TOKBottomDlg;
        Form2 = new TForm2;
        Form1->show();
        QVERIFY(QTest::qWaitForWindowExposed(Form1, Patience));
    }
    void cleanupTestCase()
    {
        // The help windows live in the viewer library: closed first.
        HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
        delete Form2;
        delete OKBottomDlg;
        delete Form1;
        QFile::remove(CatalogueFile());
    }

    void mainWindowBeforeAndAfterLoad()
    {
        QTRY_COMPARE_WITH_TIMEOUT(WindowSystemTitle(Form1), QStringLiteral("Trimwise Application"),
                                  TitleWait);
        Form1->Button1Click();
        QTRY_COMPARE_WITH_TIMEOUT(WindowSystemTitle(Form1),
                                  QStringLiteral("Trimwise Application - Trainer (Generic T2)"),
                                  TitleWait);
    }

    void otherWindows_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("title");
        QTest::newRow("value dialog") << int(ValueDialog) << "Input new value";
        QTest::newRow("warning") << int(Warning) << "Trimwise";
        QTest::newRow("error box") << int(ErrorBox) << "Trimwise";
        QTest::newRow("print preview") << int(Preview) << "Print preview";
        QTest::newRow("page setup") << int(PageSetup) << "Page Setup";
        QTest::newRow("help") << int(Help) << "Trimwise Help";
    }
    void otherWindows()
    {
        QFETCH(int, window);
        QFETCH(QString, title);
        // A modal window is answered once the window system shows its title,
        // or once patience runs out.
        QString seen;
        const QDeadlineTimer deadline(TitleWait);
        ModalScript script;
        script.Ready = [&](QWidget* w) {
            seen = WindowSystemTitle(w);
            return seen == title || deadline.hasExpired();
        };
        switch (window) {
        case ValueDialog:
            OKBottomDlg->SetOldValue(QStringLiteral("80"));
            OKBottomDlg->ShowModal();
            break;
        case Warning:
            TApplication::ShowMessage(QStringLiteral("Impossible position!"));
            break;
        case ErrorBox:
            TApplication::Guard([] { throw EConvertError(QStringLiteral("Broken")); });
            break;
        case PageSetup:
            Form2->CppWebBrowser1->ExecWB(WinApi::OLECMDID_PAGESETUP,
                                          WinApi::OLECMDEXECOPT_PROMPTUSER);
            break;
        case Preview:
            // Its button is hidden: the handler is the way in.
            Form1->Button3Click();
            QTRY_COMPARE_WITH_TIMEOUT(WindowSystemTitle(Form2), title, TitleWait);
            Form2->Button2Click();
            return;
        case Help:
            Form1->Button4Click();
            QTRY_VERIFY_WITH_TIMEOUT(HelpWindow(), Patience);
            QTRY_COMPARE_WITH_TIMEOUT(WindowSystemTitle(HelpWindow()), title, TitleWait);
            return;
        }
        QCOMPARE(seen, title);
    }
};

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    app.SetTitle(QStringLiteral("Trimwise"));
    app.SetHelpFile(QStringLiteral("trx.chm"));
    tst_WindowTitles test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_WindowTitles.moc"
