// SPDX-License-Identifier: GPL-3.0-or-later
// trx-check: tells a catalogue's author what TRX will make of the catalogue.

#include "CatalogueCheck.h"
#include "CataloguePath.h"
#include "CheckReport.h"
#include "IniSyntax.h"
#include "NumConv.h"
#include "RegularFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// Exit statuses.
constexpr int ExitClean = 0;
constexpr int ExitFindings = 1;
constexpr int ExitTrouble = 2;

const char* const Usage = "usage: trx-check [--json] [--strict] [--summary] [CATALOGUE...]\n";

void Print(FILE* stream, const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stream);
}

void Complain(const QString& text)
{
    Print(stderr, "trx-check: " + text.toUtf8() + '\n');
}

// The catalogue of the TRX beside this program (a build's bin folder), else of
// the installed TRX in the program folder; empty when there is neither.
QByteArray DefaultCatalogue()
{
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList programs = {
        here + QStringLiteral("/TRX"),
        QDir::cleanPath(here + QStringLiteral("/" TRX_APPDIR_FROM_BINDIR "/TRX")),
    };
    for (const QString& program : programs)
        if (QFileInfo(program).isFile())
            return QFile::encodeName(CataloguePathFor(program));
    Complain(QStringLiteral("no TRX beside trx-check (%1) nor in %2: name the catalogue to "
                            "check")
                 .arg(here, QFileInfo(programs.last()).absolutePath()));
    return QByteArray();
}

// Reads the whole catalogue, or says on stderr why it cannot.
bool ReadCatalogue(const QByteArray& path, QByteArray& bytes)
{
    RegularFile file(path);
    const QString shown = QString::fromLocal8Bit(path);
    if (!file.IsOpen()) {
        Complain(QStringLiteral("cannot read %1: %2").arg(shown, file.ErrorText()));
        return false;
    }
    // One byte more than the reader takes tells a file it reads as empty.
    if (!file.ReadAll(bytes, MaxIniFileBytes + 1)) {
        Complain(QStringLiteral("cannot read %1: %2").arg(shown, file.ErrorText()));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Arguments are taken as bytes: a file name need not be UTF-8.
    QByteArrayList files;
    bool json = false;
    bool strict = false;
    bool summary = false;
    bool options = true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--json") {
            json = true;
        } else if (options && arg == "--strict") {
            strict = true;
        } else if (options && arg == "--summary") {
            summary = true;
        } else if (options && (arg == "--help" || arg == "-h")) {
            Print(stdout, Usage);
            return ExitClean;
        } else if (options && arg == "--version") {
            Print(stdout, "trx-check " TRX_VERSION "\n");
            return ExitClean;
        } else if (options && arg.startsWith('-') && arg != "-") {
            Print(stderr, "trx-check: unknown option '" + arg + "'\n" + Usage);
            return ExitTrouble;
        } else {
            files << arg;
        }
    }

    int noArgc = 1;
    QCoreApplication app(noArgc, argv);
    ReadDecimalSeparatorFromLocale();

    if (files.isEmpty()) {
        const QByteArray catalogue = DefaultCatalogue();
        if (catalogue.isEmpty())
            return ExitTrouble;
        files << catalogue;
    }

    CheckReport report;
    bool unreadable = false;
    for (const QByteArray& file : std::as_const(files)) {
        QByteArray bytes;
        if (!ReadCatalogue(file, bytes)) {
            unreadable = true;
            continue;
        }
        report.Add(file, CatalogueCheck(bytes));
    }
    Print(stdout, json ? report.Json(summary) : report.Text(summary));
    std::fflush(stdout);

    if (unreadable)
        return ExitTrouble;
    if (report.Errors() > 0 || (strict && report.Warnings() > 0))
        return ExitFindings;
    return ExitClean;
}
