// SPDX-License-Identifier: GPL-3.0-or-later
// Text from outside the program (what the user typed, a catalogue's names
// and fields, a path) is shown exactly as it is, never read as markup.
#include "TestSupport.h"
#include "ui/Application.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/StringGrid.h"

#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

namespace {
const char* const trainer = R"([Trainer]
Slots=2
SlotsNames=Empty aircraft;Pilot;
SlotsWeight=700;80;
SlotsMaxWeight=700;120;
SlotsPos=0.95;0.94;
SlotsMinPos=0.95;0.90;
SlotsMaxPos=0.95;1.00;
MaxWeight=1150
EnvelopeX=450;
EnvelopeY=500;
)";

enum Source
{
    Typed,     // accepted in the value dialog, then shown again as the old value
    Catalogue, // the whole catalogue, loaded
    Folder     // the working folder that lacks icon.ico
};
} // namespace

class tst_LiteralText : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { OKBottomDlg = new TOKBottomDlg; }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        OKBottomDlg = nullptr;
        QFile::remove(CatalogueFile());
    }

    void shownLiterally_data()
    {
        QTest::addColumn<int>("source");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("shown"); // %1: the folder's path
        QTest::newRow("typed markup")
            << int(Typed) << "<b>5</b>"
            << QStringList{"dialog: 80", "error: '<b>5</b>' is not a valid floating point value.",
                           "dialog: <b>5</b>",
                           "error: '<b>5</b>' is not a valid floating point value."};
        QTest::newRow("typed entity")
            << int(Typed) << "a&lt;b"
            << QStringList{"dialog: 80", "error: 'a&lt;b' is not a valid floating point value.",
                           "dialog: a&lt;b",
                           "error: 'a&lt;b' is not a valid floating point value."};
        QTest::newRow("section name")
            << int(Catalogue) << "[<i>Big</i> &amp; heavy]\nSlots=5000\n"
            << QStringList{"error: The aircraft \"<i>Big</i> &amp; heavy\" cannot be loaded: "
                           "Slots is 5000, but at most 1023 slots can be listed."};
        QTest::newRow("catalogue field")
            << int(Catalogue) << "[T]\nEnvelopeX=<b>1</b>;\n"
            << QStringList{"error: '<b>1</b>' is not a valid floating point value."};
        QTest::newRow("path")
            << int(Folder) << "<u>x&amp;y"
            << QStringList{"error: Cannot open file \"%1/icon.ico\". No such file or directory."};
    }
    void shownLiterally()
    {
        QFETCH(int, source);
        QFETCH(QString, text);
        QFETCH(QStringList, shown);
        ModalScript script({text, std::nullopt});
        if (source == Typed) {
            QVERIFY(WriteCatalogue(trainer));
            TForm1 form;
            form.Button1Click();
            form.StringGrid1->SetCurrentCell(1, 3);
            QTest::keyClick(form.StringGrid1, Qt::Key_F2);
            QTest::keyClick(form.StringGrid1, Qt::Key_F2);
        } else if (source == Catalogue) {
            QVERIFY(WriteCatalogue(text.toUtf8()));
            TForm1 form;
            TApplication::Guard([&form] { form.Button1Click(); });
        } else {
            QTemporaryDir temp;
            QVERIFY(temp.isValid());
            QVERIFY(QDir(temp.path()).mkdir(text));
            const QString folder = temp.filePath(text);
            const QString before = QDir::currentPath();
            const auto restore = qScopeGuard([&before] { QDir::setCurrent(before); });
            QVERIFY(QDir::setCurrent(folder));
            TApplication::Guard([] { Application->LoadIcon(QStringLiteral("icon.ico")); });
            shown.replaceInStrings(QStringLiteral("%1"), folder);
        }
        QCOMPARE(script.seen, shown);
        QCOMPARE(script.captions, QStringList(script.captions.size(), QStringLiteral("Trimwise")));
    }
};

TRX_TEST_MAIN(tst_LiteralText)
#include "tst_LiteralText.moc"
