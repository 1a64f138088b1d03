// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QDialog;

// Runs the dialog modally and returns its result. The dialog takes the
// activation from its owner window (its parent's window) and gives it back
// when it closes, so that the owner sees every change of activation, also
// when dialogs follow each other.
int RunModal(QDialog& dialog);
