// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "ui/Chart.h"
#include "ui/Main.h"
#include "ui/OKBottomDlg.h"

#include <QComboBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// trx-check, trx-sheet (text, JSON and PDF) and the window's chart give one
// verdict for a loading inside the envelope and for one on each kind of
// limit: on the outline is within limits, and each names the same limit.
namespace {

const QString Limits = QStringLiteral(TRX_SOURCE_DIR "/tests/catalogues/limits.ini");

QJsonObject JsonOf(const QString& out)
{
    return QJsonDocument::fromJson(out.toUtf8()).object();
}

// The first line of `text` that holds `part`, without the spaces around it;
// empty when none does.
QString LineWith(const QString& text, const QString& part)
{
    for (const QString& line : text.split(u'\n'))
        if (line.contains(part))
            return line.trimmed();
    return QString();
}

} // namespace

class tst_LimitAgreement : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        OKBottomDlg = new TOKBottomDlg;
        SetDecimalSeparator(u'.');
        QFile limits(Limits);
        QVERIFY(limits.open(QIODevice::ReadOnly));
        QVERIFY(WriteCatalogue(limits.readAll()));
    }
    void cleanupTestCase()
    {
        delete OKBottomDlg;
        QFile::remove(CatalogueFile());
    }

    void agree_data()
    {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("limit"); // on_limit; empty for none
        QTest::addColumn<QString>("words"); // the verdict in words
        const struct
        {
            const char* section;
            const char* limit;
            const char* words;
        } rows[] = {
            {"Inside", "", "inside"},
            {"ForwardEdge", "forward", "within limits, on the forward limit"},
            {"AftEdge", "aft", "within limits, on the aft limit"},
            {"BottomEdge", "bottom", "within limits, on the envelope's lowest weight"},
            {"TopEdge", "top", "within limits, on the envelope's highest weight"},
            {"SlantedEdge", "aft", "within limits, on the aft limit"},
            {"SlantedVertex", "aft", "within limits, on the aft limit"},
            {"BottomCorner", "forward", "within limits, on the forward limit"},
        };
        for (const auto& r : rows)
            QTest::newRow(r.section)
                << QString::fromLatin1(r.section) << QString::fromLatin1(r.limit)
                << QString::fromLatin1(r.words);
    }

    void agree()
    {
        QFETCH(QString, section);
        QFETCH(QString, limit);
        QFETCH(QString, words);
        const QJsonValue onLimit = limit.isEmpty() ? QJsonValue() : QJsonValue(limit);
        // Inside and off the outline, the sentences and the page say it their own way.
        const bool inside = limit.isEmpty();
        const QString sentence = inside ? QStringLiteral("inside the envelope") : words;
        const QString page = inside ? QStringLiteral("WITHIN LIMITS") : words.toUpper();

        const QString checker = QStringLiteral(TRX_BIN_DIR "/trx-check");
        CommandRun run = RunCommand(checker, {"--summary", "--json", Limits});
        QCOMPARE(run.status, 0);
        QJsonObject summary;
        for (const QJsonValue& a : JsonOf(run.out).value(QStringLiteral("summary")).toArray())
            if (a.toObject().value(QStringLiteral("section")).toString() == section)
                summary = a.toObject();
        QVERIFY2(!summary.isEmpty(), qPrintable(run.out));
        QCOMPARE(summary.value(QStringLiteral("envelope")), QJsonValue(QStringLiteral("inside")));
        QCOMPARE(summary.value(QStringLiteral("on_limit")), onLimit);

        run = RunCommand(checker, {"--summary", Limits});
        QCOMPARE(run.status, 0);
        const QString summaryLine = LineWith(run.out, u'[' + section + QStringLiteral("] -: "));
        QVERIFY2(summaryLine.endsWith(", " + sentence + " (summary)"), qPrintable(summaryLine));

        const QString sheet = QStringLiteral(TRX_BIN_DIR "/trx-sheet");
        run = RunCommand(sheet, {"--catalogue", Limits, "--json", "--", section});
        QCOMPARE(run.status, 0);
        const QJsonObject json = JsonOf(run.out);
        QCOMPARE(json.value(QStringLiteral("verdict")), QJsonValue(QStringLiteral("inside")));
        QCOMPARE(json.value(QStringLiteral("on_limit")), onLimit);

        const QString pdf = m_dir.filePath(section + QStringLiteral(".pdf"));
        run = RunCommand(sheet, {"--catalogue", Limits, "--pdf", pdf, "--", section});
        QCOMPARE(run.status, 0);
        // The words end the verdict, or the margins follow them.
        const QString verdict = LineWith(run.out, QStringLiteral("Verdict: "));
        QVERIFY2(verdict == "Verdict: " + words || verdict.startsWith("Verdict: " + words + u';'),
                 qPrintable(verdict));
        const QString printed = LineWith(PdfText(pdf), QStringLiteral("Verdict: "));
        QCOMPARE(printed, "Verdict: " + page);

        ModalDriver boxes;
        TForm1 form;
        Form1 = &form;
        const auto unset = qScopeGuard([] { Form1 = nullptr; });
        const int index = form.ComboBox1->findText(section);
        QVERIFY(index >= 0);
        form.ComboBox1->setCurrentIndex(index);
        form.show();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        QVERIFY2(boxes.texts.isEmpty(), qPrintable(boxes.texts.join(u'|')));
        // As a screen reader reads it.
        const QString description =
            QAccessible::queryAccessibleInterface(form.Chart1)->text(QAccessible::Description);
        QVERIFY2(description.endsWith(" The loading is " + sentence + u'.'),
                 qPrintable(description));
    }

private:
    QTemporaryDir m_dir;
};

TRX_TEST_MAIN(tst_LimitAgreement)
#include "tst_LimitAgreement.moc"
