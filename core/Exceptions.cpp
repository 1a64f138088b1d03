// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/Exceptions.h"

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + u'.';
    return message;
}
