// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/Sheet.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QString>

// trx-sheet's command line, read into plain data before anything is loaded.

// One --weight or --position: the cell of slot `slot` (a name as the sheet
// shows it, or a number from 1) gets `value` as its text.
struct SheetEdit
{
    SheetColumn column = colWeight;
    QString slot;
    QString value;
    QString option; // as given ("--weight Pilot=90"), for messages
    // --fuel: `value` is an amount of fuel (a weight, or a volume with its
    // unit) that becomes the weight cell's text.
    bool fuel = false;
};

// One --taxi or --burn: fuel used from slot `slot` (as SheetEdit's), the
// amount as given.
struct FuelUseOption
{
    QString slot;
    QString amount;
    QString option; // as given, for messages
};

// What --loading does when the aircraft's data in the catalogue is not the
// data the loading was saved with (or the aircraft is gone).
enum class SavedDataChoice
{
    Refuse, // neither option: stop and list what changed
    Saved,  // --use-saved: the aircraft as it was saved
    Current // --use-current: the aircraft as the catalogue holds it now
};

enum class SheetPaper
{
    Default, // the user's own, DefaultSheetPaper()
    A4,
    Letter
};

struct SheetOptions
{
    bool help = false;
    bool version = false;
    bool list = false;
    bool json = false;
    QByteArray catalogue; // in the file system's bytes; empty: the default one
    QString aircraft;
    bool hasAircraft = false;
    QList<SheetEdit> edits; // in the order given
    QString pilot;
    bool hasPilot = false;
    QString registration;
    bool hasRegistration = false;
    QList<FuelUseOption> taxi; // in the order given
    QList<FuelUseOption> burn;
    QString flight; // null when not given
    QString from;
    QString to;
    QString preparedBy;
    QByteArray pdf;     // empty: no PDF; "-": standard output
    QByteArray save;    // --save: where the loading is written; empty: not
    QByteArray loading; // --loading: the saved loading to start from; empty: none
    SavedDataChoice savedData = SavedDataChoice::Refuse;
    SheetPaper paper = SheetPaper::Default;
    // Why the command line cannot be used; empty when it can.
    QString error;
};

// Reads the arguments after the program's name. Options may come before or
// after AIRCRAFT; "--" ends them; a value is the next argument or follows
// "=" ("--pilot=A. Smith"). Texts are decoded from the locale's encoding
// (UTF-8), file names kept as bytes. Exactly one AIRCRAFT is needed, unless
// --help, --version or --list is given, or --loading (which names it).
SheetOptions ParseSheetOptions(const QByteArrayList& args);

// Splits "SLOT=VALUE" at its last "=": a slot's name may hold "=", a value
// that the conversion reads never does. False when there is no "=" or SLOT
// is empty.
bool SplitEdit(const QString& text, QString& slot, QString& value);

// The paper of the user's locale (LC_PAPER): Letter where it is 279 mm high,
// else A4.
SheetPaper DefaultSheetPaper();

// "usage: trx-sheet ..." and a sentence for every option and exit status.
QByteArray SheetUsage();
