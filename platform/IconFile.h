// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QString>

// True when the bytes start like a Windows icon file: reserved 0, type 1,
// at least one image, and the directory fits in the data.
bool IsIconData(const QByteArray& data);

// Loads an .ico file. A file that cannot be opened throws EFOpenError
// ("Cannot open file "<full path>". <system reason>"); one that is not an
// icon throws EInvalidGraphic ("Icon image is not valid").
QIcon LoadIconFile(const QString& fileName);
