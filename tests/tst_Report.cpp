// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/CataloguePath.h"
#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "platform/WebBrowser.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"
#include "ui/StringGrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>

// The main window's report command, run as a handler: the preview shows,
// the chart is written beside the executable and the page is navigated to.
namespace {
const char* const catalogue = R"([Trainer]
Make=Generic
Model=T2
Slots=2
SlotsNames=Empty aircraft;Pilot;
SlotsWeight=520;80;
SlotsMaxWeight=520;120;
SlotsPos=0.95;0.94;
SlotsMinPos=0.95;0.90;
SlotsMaxPos=0.95;1.00;
MaxWeight=800
EnvelopePoints=5
EnvelopeX=450;600;820;700;450;
EnvelopeY=500;500;800;800;500;
)";

QString Beside(const QString& name)
{
    return QFileInfo(QCoreApplication::applicationFilePath()).absolutePath() + u'/' + name;
}

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class tst_Report : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(WriteCatalogue(catalogue));
        QFile::remove(Beside("report.html"));
        QVERIFY(QFile::copy(TRX_BIN_DIR "/report.html", Beside("report.html")));
        OKBottomDlg = new TOKBottomDlg;
    }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        QFile::remove(CatalogueFile());
        QFile::remove(Beside("report.html"));
        QFile::remove(Beside("report.bmp"));
    }
    void init()
    {
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
        QFile::remove(Beside("report.bmp"));
        QDir(Beside("report.bmp")).removeRecursively();
        Form2 = new TForm2;
        m_form = std::make_unique<TForm1>();
        Form1 = m_form.get();
        m_form->show();
        m_form->Button1Click();
    }
    void cleanup()
    {
        m_form.reset();
        delete Form2;
        Form2 = nullptr;
        SetDecimalSeparator(m_separator);
    }

    void reportShown()
    {
        QStringList boxes = RunReport();
        QCOMPARE(boxes, QStringList());
        QVERIFY(Form2->isVisible());
        const QImage written(Beside("report.bmp"), "BMP");
        QCOMPARE(written.size(), QSize(289, 385));
        QCOMPARE(Form2->CppWebBrowser1->source(), QUrl::fromLocalFile(Beside("report.html")));
        // The page shows the chart just written.
        const QVariant shown = Form2->CppWebBrowser1->document()->resource(
            QTextDocument::ImageResource, QUrl(QStringLiteral("report.bmp")));
        QVERIFY(shown.isValid());
    }

    void reportTwiceShowsTheNewChart()
    {
        QCOMPARE(RunReport(), QStringList());
        const QByteArray first = Read(Beside("report.bmp"));
        // Heavier pilot: the load path changes.
        m_form->StringGrid1->SetCell(1, 3, QStringLiteral("118"));
        m_form->Compute();
        QCOMPARE(RunReport(), QStringList());
        const QByteArray second = Read(Beside("report.bmp"));
        QVERIFY(!second.isEmpty());
        QVERIFY(first != second);
        int previews = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            previews += qobject_cast<TForm2*>(w) != nullptr;
        QCOMPARE(previews, 1);
        QImage shown = Form2->CppWebBrowser1->document()
                           ->resource(QTextDocument::ImageResource, QUrl("report.bmp"))
                           .value<QImage>();
        if (shown.isNull())
            shown = Form2->CppWebBrowser1->document()
                        ->resource(QTextDocument::ImageResource, QUrl("report.bmp"))
                        .value<QPixmap>()
                        .toImage();
        QCOMPARE(shown.convertToFormat(QImage::Format_RGB32),
                 QImage(Beside("report.bmp"), "BMP").convertToFormat(QImage::Format_RGB32));
    }

    void bitmapCannotBeWritten()
    {
        QVERIFY(QDir().mkpath(Beside("report.bmp")));
        const QStringList boxes = RunReport();
        // The system's own words for the reason, in the user's language.
        QCOMPARE(
            boxes,
            QStringList({ErrorBoxText(
                QStringLiteral("Cannot create file \"%1\". %2")
                    .arg(Beside("report.bmp"), QString::fromLocal8Bit(std::strerror(EISDIR))))}));
        QVERIFY(Form2->isVisible());
        QVERIFY(Form2->CppWebBrowser1->source().isEmpty());
        QDir(Beside("report.bmp")).removeRecursively();
    }

private:
    // Runs the handler as the Print button does, from the event loop, and
    // answers its message boxes. The handler does all its work, the error box
    // included, before it returns: when it has returned, every box it would
    // show has been shown.
    QStringList RunReport()
    {
        ModalDriver boxes;
        const auto done = std::make_shared<bool>(false);
        QMetaObject::invokeMethod(
            m_form.get(),
            [this, done] {
                TApplication::Guard([this] { m_form->Button3Click(); });
                *done = true;
            },
            Qt::QueuedConnection);
        if (!QTest::qWaitFor([done] { return *done; }, WaitLimitMs))
            return {QStringLiteral("(the handler did not return)")};
        return boxes.texts;
    }

    std::unique_ptr<TForm1> m_form;
    QChar m_separator;
};

TRX_TEST_MAIN(tst_Report)
#include "tst_Report.moc"
