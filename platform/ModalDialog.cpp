// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ModalDialog.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

int RunModal(QDialog& dialog)
{
    const QPointer<QWidget> owner =
        dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const int result = dialog.exec();
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        // Without a window manager nobody may hand the activation back; the
        // owner must not miss the next dialog taking it away again.
        if (QApplication::activeWindow() != owner)
            QApplication::setActiveWindow(owner);
    }
    return result;
}
