// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the fuzz targets: input decoding, a scratch file reused
// for every run, and a failure that libFuzzer records as a crash.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace Fuzz {

inline QByteArray Bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Catalogue and cell text may be either encoding; valid UTF-8 first.
inline QString Text(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

// A broken property: print it and abort, so that libFuzzer keeps the input.
[[noreturn]] inline void Fail(const char* what, const QString& detail = QString())
{
    std::fprintf(stderr, "\n*** property broken: %s\n%s\n", what, qPrintable(detail));
    std::fflush(stderr);
    std::abort();
}

inline void Check(bool condition, const char* what, const QString& detail = QString())
{
    if (!condition)
        Fail(what, detail);
}

// One scratch file per process, rewritten on every run and removed at exit.
inline QString ScratchFile(const char* suffix)
{
    static QString path;
    if (path.isEmpty()) {
        path = QDir::tempPath() + QStringLiteral("/trx-fuzz-%1%2")
                                      .arg(qint64(::getpid()))
                                      .arg(QString::fromLatin1(suffix));
        std::atexit([] { QFile::remove(path); });
    }
    return path;
}

inline QString WriteScratch(const QByteArray& bytes, const char* suffix)
{
    const QString path = ScratchFile(suffix);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Fail("cannot write the scratch file", path);
    return path;
}

} // namespace Fuzz
