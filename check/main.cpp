// SPDX-License-Identifier: GPL-3.0-or-later
// trx-check: tells a catalogue's author what TRX will make of the catalogue.

#include "check/CatalogueCheck.h"
#include "check/CheckOptions.h"
#include "check/JsonReport.h"
#include "check/LoadingCheck.h"
#include "check/TextReport.h"
#include "cli/CommandOutput.h"
#include "cli/DefaultCatalogue.h"
#include "cli/TerminalText.h"
#include "core/IniSyntax.h"
#include "core/NumConv.h"
#include "core/RegularFile.h"
#include "loading/LoadingFile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>

namespace {

using namespace CommandOutput;

void Complain(const QString& text)
{
    Message(text.toUtf8());
}

// The catalogue of the TRX beside this program (a build's bin folder), else of
// the installed TRX in the program folder; empty when there is neither.
QByteArray DefaultCatalogue()
{
    QString why;
    const QString found = DefaultCataloguePath(
        QCoreApplication::applicationDirPath(), QStringLiteral(TRX_APPDIR_FROM_BINDIR),
        QStringLiteral("trx-check"), QStringLiteral("to check"), why);
    if (!found.isEmpty())
        return QFile::encodeName(found);
    Complain(TerminalText(why));
    return QByteArray();
}

// Reads the whole catalogue, or says why it cannot.
bool ReadCatalogue(const QByteArray& path, QByteArray& bytes, QString& error)
{
    RegularFile file(path);
    // One byte more than the reader takes tells a file it reads as empty.
    if (!file.IsOpen() || !file.ReadAll(bytes, MaxIniFileBytes + 1)) {
        error = file.ErrorText();
        return false;
    }
    return true;
}

// Whether `path` holds a saved loading rather than a catalogue, by what its
// beginning holds; false for a file that cannot be read.
bool IsLoadingFile(const QByteArray& path)
{
    RegularFile file(path);
    QByteArray head;
    return file.IsOpen() && file.ReadAll(head, 64 * 1024) && LooksLikeLoadingFile(head);
}

// The catalogue saved loadings are compared with: the first catalogue named,
// else the default one. Read once, when the first loading needs it.
class ReferenceCatalogue
{
public:
    explicit ReferenceCatalogue(const QByteArrayList& named) : m_named(named) {}

    // Null when there is none, or it cannot be read (said on stderr).
    const QByteArray* Bytes()
    {
        if (m_done)
            return m_read ? &m_bytes : nullptr;
        m_done = true;
        QByteArray path;
        for (const QByteArray& file : m_named)
            if (!IsLoadingFile(file)) {
                path = file;
                break;
            }
        if (path.isEmpty())
            path = DefaultCatalogue();
        if (path.isEmpty())
            return nullptr;
        QString error;
        m_read = ReadCatalogue(path, m_bytes, error);
        if (!m_read)
            Complain(QStringLiteral("cannot read %1 to compare loadings with: %2")
                         .arg(QString::fromUtf8(TerminalBytes(path)), error));
        return m_read ? &m_bytes : nullptr;
    }

private:
    QByteArrayList m_named;
    QByteArray m_bytes;
    bool m_done = false;
    bool m_read = false;
};

} // namespace

int main(int argc, char** argv)
{
    Start("trx-check");
    // Unbuffered: each piece the report passes on is written (and a failure
    // seen) at once; the report itself gathers a section's lines.
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    // Arguments are taken as bytes: a file name need not be UTF-8.
    QByteArrayList args;
    for (int i = 1; i < argc; ++i)
        args << QByteArray(argv[i]);
    const CheckOptions options = ParseCheckOptions(args);
    if (!options.error.isEmpty()) {
        Complain(options.error);
        std::fputs(CheckUsage().constData(), stderr);
        return Finish(ExitTrouble);
    }
    if (options.help) {
        Out(CheckHelp());
        return Finish(ExitOk);
    }
    if (options.version) {
        Out("trx-check " TRX_VERSION "\n");
        return Finish(ExitOk);
    }

    int noArgc = 1;
    QCoreApplication app(noArgc, argv);
    ReadDecimalSeparatorFromLocale();

    QByteArrayList files = options.catalogues;
    if (files.isEmpty()) {
        const QByteArray catalogue = DefaultCatalogue();
        if (catalogue.isEmpty())
            return Finish(ExitTrouble);
        files << catalogue;
    }

    std::unique_ptr<ReportWriter> report;
    if (options.json)
        report = std::make_unique<JsonReport>(Out, options.summary);
    else
        report = std::make_unique<TextReport>(Out, options.summary);
    CheckCounts totals;
    bool unreadable = false;
    ReferenceCatalogue reference(options.catalogues);
    for (const QByteArray& file : std::as_const(files)) {
        QByteArray bytes;
        QString error;
        if (!ReadCatalogue(file, bytes, error)) {
            Complain(QStringLiteral("cannot read %1: %2")
                         .arg(QString::fromUtf8(TerminalBytes(file)), error));
            report->Unreadable(file, error);
            unreadable = true;
            continue;
        }
        report->BeginFile(file);
        if (LooksLikeLoadingFile(bytes))
            totals += CheckLoadingFile(bytes, reference.Bytes(), *report);
        else
            totals += CheckCatalogue(bytes, *report);
    }
    report->End(totals);

    int status = ExitOk;
    if (!report->Trouble().isEmpty()) {
        Complain(report->Trouble());
        status = ExitTrouble;
    } else if (unreadable) {
        status = ExitTrouble;
    } else if (totals.errors > 0 || (options.strict && totals.warnings > 0)) {
        status = ExitFindings;
    }
    return Finish(status);
}
