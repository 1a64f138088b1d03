// SPDX-License-Identifier: GPL-3.0-or-later
#include "check/FindingCodes.h"

#include <QtTest>

namespace {

// The codes trx-check(1) explains under CODES, each with the severity of the
// subsection it stands in: ".SS Errors", then ".TP" and ".B count\-too\-large".
QMap<QString, FindingSeverity> ManPageCodes()
{
    QFile file(QStringLiteral(TRX_SOURCE_DIR "/check/trx-check.1"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QMap<QString, FindingSeverity> codes;
    bool inCodes = false;
    std::optional<FindingSeverity> severity;
    bool term = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1String(".SH "))) {
            inCodes = line == QLatin1String(".SH CODES");
        } else if (!inCodes) {
            continue;
        } else if (line.startsWith(QLatin1String(".SS "))) {
            severity.reset();
            if (line == QLatin1String(".SS Errors"))
                severity = FindingSeverity::Error;
            else if (line == QLatin1String(".SS Warnings"))
                severity = FindingSeverity::Warning;
        } else if (line == QLatin1String(".TP")) {
            term = true;
            continue;
        } else if (term && severity && line.startsWith(QLatin1String(".B "))) {
            QString code = line.mid(3);
            codes.insert(code.replace(QLatin1String("\\-"), QLatin1String("-")), *severity);
        }
        term = false;
    }
    return codes;
}

} // namespace

class tst_FindingCodes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_manPage = ManPageCodes();
        QVERIFY(!m_manPage.isEmpty());
    }

    // Each code of the table is explained, as an error or a warning as it is one.
    void explained_data()
    {
        QTest::addColumn<int>("code");
        for (int k = 0; k < FindingCodeCount; ++k)
            QTest::newRow(InfoOf(FindingCode(k)).name) << k;
    }
    void explained()
    {
        QFETCH(int, code);
        const QString name = CodeName(FindingCode(code));
        QVERIFY2(m_manPage.contains(name), qPrintable(name));
        QCOMPARE(m_manPage.value(name), SeverityOf(FindingCode(code)));
    }

    // The man page explains no code the checker lacks, and no name is used twice.
    void noOther()
    {
        QSet<QString> names;
        for (int k = 0; k < FindingCodeCount; ++k)
            names.insert(CodeName(FindingCode(k)));
        QCOMPARE(names.size(), FindingCodeCount);
        const QStringList explained = m_manPage.keys();
        QCOMPARE(QSet<QString>(explained.begin(), explained.end()), names);
    }

private:
    QMap<QString, FindingSeverity> m_manPage;
};

QTEST_GUILESS_MAIN(tst_FindingCodes)
#include "tst_FindingCodes.moc"
