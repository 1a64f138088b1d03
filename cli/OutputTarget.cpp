// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/OutputTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

QString OutputTargetProblem(const QByteArray& path, const QList<QByteArray>& inputs)
{
    struct stat target = {};
    // stat follows a link: what counts is the file a write would replace.
    if (::stat(path.constData(), &target) != 0)
        return errno == ENOENT ? QString() : QString::fromLocal8Bit(std::strerror(errno));
    if (!S_ISREG(target.st_mode))
        return S_ISDIR(target.st_mode) ? QStringLiteral("it is a folder")
                                       : QStringLiteral("it is not a regular file");
    for (const QByteArray& input : inputs) {
        struct stat read = {};
        if (::stat(input.constData(), &read) == 0 && read.st_dev == target.st_dev &&
            read.st_ino == target.st_ino)
            return QStringLiteral("it is a file this command reads");
    }
    return QString();
}

bool SameOutputTarget(const QByteArray& a, const QByteArray& b)
{
    struct stat first = {};
    struct stat second = {};
    const bool firstThere = ::stat(a.constData(), &first) == 0;
    const bool secondThere = ::stat(b.constData(), &second) == 0;
    if (firstThere && secondThere)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    if (firstThere != secondThere)
        return false;
    // Neither is there yet: the same name in the same folder, however the
    // folder is named.
    const QFileInfo x(QFile::decodeName(a));
    const QFileInfo y(QFile::decodeName(b));
    const QString xFolder = QFileInfo(x.absolutePath()).canonicalFilePath();
    return x.fileName() == y.fileName() && !xFolder.isEmpty() &&
           xFolder == QFileInfo(y.absolutePath()).canonicalFilePath();
}
