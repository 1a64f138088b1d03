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
#include <sys/mman.h>
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

// One scratch file per process, rewritten on every run, gone with the process:
// an unnamed file in memory, handed to the readers as /proc/self/fd/<n>. That
// name is the same in every process and every run (a name holding the
// process id would reach the fuzzer through the comparisons Qt and the C
// library make on it, and two runs of the same inputs would differ). The
// suffix names the kind of file for the reader of the code only.
inline QString ScratchFile(const char* /*suffix*/)
{
    static QString path;
    if (path.isEmpty()) {
        const int fd = memfd_create("trx-fuzz", MFD_CLOEXEC);
        if (fd < 0)
            Fail("cannot create the scratch file");
        path = QStringLiteral("/proc/self/fd/%1").arg(fd);
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
