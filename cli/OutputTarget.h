// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// Why a command must not write the file `path`, having read `inputs`: it is
// not a regular file (a device, a FIFO, a directory, a socket: writing it
// aside and renaming would replace it), or it is one of the files read, by
// any name or link. Empty when it may be written; a file that does not exist
// yet may.
QString OutputTargetProblem(const QByteArray& path, const QList<QByteArray>& inputs);
