// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "core/CataloguePath.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <memory>

// Catalogues a careless or hostile editor could write: the program must load
// every section without crashing or hanging, tell the user every problem in
// plain words, and never write the file.
namespace {
struct FileState
{
    QByteArray hash;
    QDateTime modified;
    bool operator==(const FileState&) const = default;
};

FileState StateOf(const QString& path)
{
    FileState s;
    QFileInfo info(path);
    s.modified = info.lastModified();
    QFile f(path);
    if (info.isFile() && f.open(QIODevice::ReadOnly)) {
        QCryptographicHash h(QCryptographicHash::Sha256);
        h.addData(&f);
        s.hash = h.result();
    }
    return s;
}

QByteArray Repeat(const QByteArray& field, int count)
{
    QByteArray out;
    out.reserve(field.size() * count);
    for (int i = 0; i < count; ++i)
        out += field;
    return out;
}

QByteArray Lists(int count)
{
    const QByteArray n = QByteArray::number(count);
    return "[Lists" + n + "]\nSlots=" + n + "\nSlotsNames=" + Repeat("p;", count) +
           "\nSlotsWeight=" + Repeat("1;", count) + "\nSlotsMaxWeight=" + Repeat("9;", count) +
           "\nSlotsPos=" + Repeat("1;", count) + "\nSlotsMinPos=" + Repeat("0;", count) +
           "\nSlotsMaxPos=" + Repeat("2;", count) + "\nEnvelopePoints=" + n +
           "\nEnvelopeX=" + Repeat("5;", count) + "\nEnvelopeY=" + Repeat("7;", count) + "\n";
}
} // namespace

class tst_HostileCatalogues : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        OKBottomDlg = new TOKBottomDlg;
        m_separator = DecimalSeparator();
        SetDecimalSeparator(u'.');
    }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        RemoveCatalogue();
        SetDecimalSeparator(m_separator);
    }

    void everySection_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("minSections");

        QDirIterator it(QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues"), {"*.ini"});
        QStringList files;
        while (it.hasNext())
            files << it.next();
        files.sort();
        for (const QString& path : files) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::newRow(qPrintable(QFileInfo(path).fileName())) << f.readAll() << 1;
        }

        QTest::newRow("1023 fields") << Lists(1023) << 1;
        QTest::newRow("1024 fields") << Lists(1024) << 1;
        QByteArray longLine = "[LongLine]\nSlots=1\nSlotsNames=" + QByteArray(1 << 20, 'x') +
                              ";\nSlotsWeight=1;\nSlotsMaxWeight=1;\nSlotsPos=1;\n"
                              "SlotsMinPos=1;\nSlotsMaxPos=1;\nEnvelopeX=1;\nEnvelopeY=1;\n";
        QTest::newRow("1 MB line") << longLine << 1;
        QByteArray many;
        for (int i = 0; i < 100000; ++i)
            many += "[S" + QByteArray::number(i) + "]\nEnvelopeX=" + QByteArray::number(i) +
                    ";\nEnvelopeY=1;\n";
        QTest::newRow("100000 sections") << many << 1000;
        QByteArray big =
            "[Big]\nSlots=1\nSlotsNames=Pilot;\nSlotsWeight=80;\nSlotsMaxWeight=90;\n"
            "SlotsPos=1;\nSlotsMinPos=0;\nSlotsMaxPos=2;\nEnvelopeX=0;\nEnvelopeY=0;\n";
        const QByteArray filler = "Note=" + QByteArray(94, 'n') + "\n";
        big += Repeat(filler, 50 * 1024 * 1024 / filler.size());
        big += "[AfterBig]\nEnvelopeX=1;\nEnvelopeY=1;\n";
        QTest::newRow("50 MB") << big << 2;
    }
    void everySection()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, minSections);
        RemoveCatalogue();
        {
            QFile f(CatalogueFile());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        // A hang, however slow in coming, is for the test's time-out to end.
        const FileState before = StateOf(CatalogueFile());

        QStringList sections;
        {
            TForm1 probe;
            for (int i = 0; i < probe.ComboBox1->count(); ++i)
                sections << probe.ComboBox1->itemText(i);
        }
        QVERIFY(sections.size() >= minSections);

        // Every section of a small catalogue; a spread of a large one.
        QList<int> picks;
        const int step = std::max(1, int(sections.size() / 40));
        for (int i = 0; i < sections.size(); i += step)
            picks << i;
        if (picks.last() != sections.size() - 1)
            picks << sections.size() - 1;

        for (int index : picks) {
            const QStringList messages = LoadAndUse(index);
            for (const QString& m : messages)
                QVERIFY2(IsClear(m), qPrintable(sections[index] + ": " + m.left(300)));
        }
        QCOMPARE(StateOf(CatalogueFile()), before);
    }

    void directoryInPlaceOfCatalogue()
    {
        RemoveCatalogue();
        QVERIFY(QDir().mkpath(CatalogueFile()));
        ModalDriver boxes;
        TForm1 form;
        QCOMPARE(form.ComboBox1->count(), 0);
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QCOMPARE(boxes.texts, QStringList{"'' is not a valid floating point value."});
        QVERIFY(QFileInfo(CatalogueFile()).isDir());
        RemoveCatalogue();
    }

private:
    QChar m_separator;

    static void RemoveCatalogue()
    {
        QFileInfo info(CatalogueFile());
        if (info.isDir())
            QDir(CatalogueFile()).removeRecursively();
        else
            QFile::remove(CatalogueFile());
    }

    // The messages a user may meet: the conversion error naming the text,
    // or the refusal of a count no list can back.
    static bool IsClear(const QString& m)
    {
        static const QRegularExpression conversion(
            QStringLiteral("^'.*' is not a valid floating point value\\.$"),
            QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression refusal(
            QStringLiteral("^The aircraft \".*\" cannot be loaded: (Slots|EnvelopePoints) is \\d+, "
                           "but at most "
                           "1023 (slots|envelope points) can be listed\\.$"),
            QRegularExpression::DotMatchesEverythingOption);
        return conversion.match(m).hasMatch() || refusal.match(m).hasMatch();
    }

    // Loads one section through the window, draws the chart, clicks the sheet
    // and edits a cell; returns every message shown.
    QStringList LoadAndUse(int index)
    {
        ModalDriver boxes;
        TForm1 form;
        Form1 = &form;
        form.ComboBox1->setCurrentIndex(index);
        form.show();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        const QImage image = form.Chart1->RenderImage();
        if (image.isNull())
            boxes.texts << "chart not drawn";
        TStringGrid* grid = form.StringGrid1;
        const QPoint cell = grid->viewport()->mapTo(&form, grid->CellRect(1, 1).center());
        QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, cell);
        // The click's error, if any, is held until no double click can follow.
        if (!ProcessEventsPast(QApplication::doubleClickInterval()))
            boxes.texts << "the event loop stalled";
        Form1 = nullptr;
        return boxes.texts;
    }
};

TRX_TEST_MAIN(tst_HostileCatalogues)
#include "tst_HostileCatalogues.moc"
