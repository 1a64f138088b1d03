// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ReportPaths.h"

#include "core/Exceptions.h"

#include <QDir>
#include <QUrl>

#include <cerrno>
#include <cstring>

ReportPaths ReportPathsFor(const QString& executablePath)
{
    // Only the last component is the executable's name: folders that happen to
    // carry the same name must stay as they are.
    const QString exe = QDir::cleanPath(executablePath);
    const qsizetype slash = exe.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QStringLiteral(".") : exe.left(slash);
    const QString prefix = folder.isEmpty() ? QStringLiteral("/") : folder + QLatin1Char('/');

    ReportPaths paths;
    paths.bitmapPath = prefix + QStringLiteral("report.bmp");
    paths.pagePath = prefix + QStringLiteral("report.html");
    paths.url = QUrl::fromLocalFile(paths.pagePath).toString(QUrl::FullyEncoded);

    // Writing there would truncate the running program; the system refuses the
    // same way ("Text file busy").
    if (paths.bitmapPath == exe)
        throw EFCreateError(
            QStringLiteral("Cannot create file \"%1\". %2")
                .arg(paths.bitmapPath, QString::fromLocal8Bit(std::strerror(ETXTBSY))));
    return paths;
}
