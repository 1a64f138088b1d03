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

// Whether two files a command is to write are one: the same file when both
// exist (by any name or link), else the same name in the same folder.
bool SameOutputTarget(const QByteArray& a, const QByteArray& b);
