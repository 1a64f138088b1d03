// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetOptions.h"

#include <clocale>
#include <langinfo.h>

namespace {

// An option's value: after "=" in the same argument, else the next argument.
bool TakeValue(const QByteArrayList& args, qsizetype& i, const QByteArray& given, bool hasGiven,
               QByteArray& value)
{
    if (hasGiven) {
        value = given;
        return true;
    }
    if (i + 1 >= args.size())
        return false;
    value = args[++i];
    return true;
}

} // namespace

bool SplitEdit(const QString& text, QString& slot, QString& value)
{
    const qsizetype eq = text.lastIndexOf(u'=');
    if (eq <= 0)
        return false;
    slot = text.left(eq);
    value = text.mid(eq + 1);
    return true;
}

SheetOptions ParseSheetOptions(const QByteArrayList& args)
{
    SheetOptions o;
    auto fail = [&o](const QString& why) {
        if (o.error.isEmpty())
            o.error = why;
    };
    bool options = true;
    // Past a fault the rest is still read, so that --json is known for the
    // failure too; the first fault is the one reported.
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        if (!options || !arg.startsWith('-') || arg == "-") {
            if (o.hasAircraft)
                fail(QStringLiteral("one aircraft only: '%1' and '%2'")
                         .arg(o.aircraft, QString::fromLocal8Bit(arg)));
            o.aircraft = QString::fromLocal8Bit(arg);
            o.hasAircraft = true;
            continue;
        }
        if (arg == "--") {
            options = false;
            continue;
        }
        // "--name=value" gives the value in the same argument.
        const qsizetype eq = arg.startsWith("--") ? arg.indexOf('=') : -1;
        const QByteArray name = eq >= 0 ? arg.left(eq) : arg;
        const QByteArray inlineValue = eq >= 0 ? arg.mid(eq + 1) : QByteArray();
        const bool hasInline = eq >= 0;
        const QString shownName = QString::fromLocal8Bit(name);
        auto flag = [&](bool& field) {
            if (hasInline)
                fail(QStringLiteral("%1 takes no value").arg(shownName));
            field = true;
        };
        QByteArray value;
        auto needValue = [&]() {
            if (TakeValue(args, i, inlineValue, hasInline, value))
                return true;
            fail(QStringLiteral("%1 needs a value").arg(shownName));
            return false;
        };
        if (name == "--help" || name == "-h") {
            flag(o.help);
        } else if (name == "--version") {
            flag(o.version);
        } else if (name == "--list") {
            flag(o.list);
        } else if (name == "--json") {
            flag(o.json);
        } else if (name == "--catalogue") {
            if (needValue()) {
                if (value.isEmpty())
                    fail(QStringLiteral("--catalogue needs a file name"));
                o.catalogue = value;
            }
        } else if (name == "--weight" || name == "--position") {
            if (needValue()) {
                SheetEdit edit;
                edit.column = name == "--weight" ? colWeight : colPosition;
                edit.option = shownName + u' ' + QString::fromLocal8Bit(value);
                if (!SplitEdit(QString::fromLocal8Bit(value), edit.slot, edit.value))
                    fail(QStringLiteral("%1: not SLOT=VALUE").arg(edit.option));
                o.edits << edit;
            }
        } else if (name == "--fuel") {
            if (needValue()) {
                SheetEdit edit;
                edit.fuel = true;
                edit.option = shownName + u' ' + QString::fromLocal8Bit(value);
                if (!SplitEdit(QString::fromLocal8Bit(value), edit.slot, edit.value))
                    fail(QStringLiteral("%1: not SLOT=AMOUNT").arg(edit.option));
                o.edits << edit;
            }
        } else if (name == "--taxi" || name == "--burn") {
            if (needValue()) {
                FuelUseOption use;
                use.option = shownName + u' ' + QString::fromLocal8Bit(value);
                if (!SplitEdit(QString::fromLocal8Bit(value), use.slot, use.amount))
                    fail(QStringLiteral("%1: not SLOT=AMOUNT").arg(use.option));
                (name == "--taxi" ? o.taxi : o.burn) << use;
            }
        } else if (name == "--flight" || name == "--from" || name == "--to" ||
                   name == "--prepared-by") {
            if (needValue()) {
                QString& field = name == "--flight" ? o.flight
                                 : name == "--from" ? o.from
                                 : name == "--to"   ? o.to
                                                    : o.preparedBy;
                // Given empty, still given: the sheet shows the line.
                field = QString::fromLocal8Bit(value);
                if (field.isNull())
                    field = QStringLiteral("");
            }
        } else if (name == "--pilot") {
            if (needValue()) {
                o.pilot = QString::fromLocal8Bit(value);
                o.hasPilot = true;
            }
        } else if (name == "--registration") {
            if (needValue()) {
                o.registration = QString::fromLocal8Bit(value);
                o.hasRegistration = true;
            }
        } else if (name == "--pdf") {
            if (needValue()) {
                if (value.isEmpty())
                    fail(QStringLiteral("--pdf needs a file name"));
                o.pdf = value;
            }
        } else if (name == "--save" || name == "--loading") {
            if (needValue()) {
                if (value.isEmpty())
                    fail(QStringLiteral("%1 needs a file name").arg(shownName));
                (name == "--save" ? o.save : o.loading) = value;
            }
        } else if (name == "--use-saved" || name == "--use-current") {
            bool given = false;
            flag(given);
            const SavedDataChoice choice =
                name == "--use-saved" ? SavedDataChoice::Saved : SavedDataChoice::Current;
            if (o.savedData != SavedDataChoice::Refuse && o.savedData != choice)
                fail(QStringLiteral("--use-saved or --use-current, not both"));
            o.savedData = choice;
        } else if (name == "--paper") {
            if (needValue()) {
                const QByteArray paper = value.toLower();
                if (paper == "a4")
                    o.paper = SheetPaper::A4;
                else if (paper == "letter")
                    o.paper = SheetPaper::Letter;
                else
                    fail(QStringLiteral("--paper is a4 or letter, not '%1'")
                             .arg(QString::fromLocal8Bit(value)));
            }
        } else {
            fail(QStringLiteral("unknown option '%1'").arg(QString::fromLocal8Bit(arg)));
        }
    }
    const bool loading = !o.loading.isEmpty();
    if (loading && o.hasAircraft)
        fail(QStringLiteral("--loading names the aircraft: give no AIRCRAFT ('%1')")
                 .arg(o.aircraft));
    if (loading && o.list)
        fail(QStringLiteral("--loading and --list do not go together"));
    if (!loading && o.savedData != SavedDataChoice::Refuse)
        fail(QStringLiteral("%1 needs --loading")
                 .arg(o.savedData == SavedDataChoice::Saved ? QStringLiteral("--use-saved")
                                                            : QStringLiteral("--use-current")));
    if (o.error.isEmpty() && !o.hasAircraft && !loading && !o.help && !o.version && !o.list)
        fail(QStringLiteral("no aircraft named"));
    return o;
}

SheetPaper DefaultSheetPaper()
{
    // The C library knows the paper of the user's LC_PAPER (LC_ALL, LANG).
    const char* before = std::setlocale(LC_PAPER, nullptr);
    const QByteArray saved = before ? QByteArray(before) : QByteArray("C");
    SheetPaper paper = SheetPaper::A4;
    if (std::setlocale(LC_PAPER, "")) {
        const auto height = reinterpret_cast<quintptr>(nl_langinfo(_NL_PAPER_HEIGHT));
        if (height == 279)
            paper = SheetPaper::Letter;
    }
    std::setlocale(LC_PAPER, saved.constData());
    return paper;
}

QByteArray SheetUsage()
{
    return QByteArrayLiteral(
        "usage: trx-sheet [OPTIONS] AIRCRAFT\n"
        "       trx-sheet --loading FILE [--use-saved|--use-current] [OPTIONS]\n"
        "       trx-sheet --list [--catalogue FILE] [--json]\n"
        "Prints the loading sheet of AIRCRAFT as the window works it out: its rows, the\n"
        "totals, the centre of gravity, the envelope at the total weight, the verdict\n"
        "and the warnings. AIRCRAFT is a name as the selector lists it, or the one\n"
        "name that begins with it (ignoring case).\n"
        "\n"
        "  --catalogue FILE        read FILE instead of the catalogue of the installed\n"
        "                          TRX (or of the TRX beside trx-sheet)\n"
        "  --list                  print the aircraft the selector lists, one a line\n"
        "  --weight SLOT=VALUE     set the weight of a slot, as the value dialog does;\n"
        "                          SLOT is its name or its number from 1; repeatable,\n"
        "                          applied in order with --position\n"
        "  --position SLOT=VALUE   set the position (arm) of a slot, the same way\n"
        "  --fuel SLOT=AMOUNT      set the weight of a fuel slot from AMOUNT: a weight,\n"
        "                          or a volume in litres (90L) or US gallons (24gal)\n"
        "                          at the aircraft's fuel density; applied in order\n"
        "                          with --weight\n"
        "  --taxi SLOT=AMOUNT      fuel used from a slot before take-off; repeatable\n"
        "  --burn SLOT=AMOUNT      fuel used from a slot in flight; repeatable\n"
        "  --flight TEXT           the flight's identification, for the sheet\n"
        "  --from PLACE            where the flight departs, for the sheet\n"
        "  --to PLACE              where it lands, for the sheet\n"
        "  --prepared-by NAME      who prepared the sheet\n"
        "  --pilot NAME            the pilot's name, for the sheet\n"
        "  --registration TEXT     the aircraft's registration, for the sheet\n"
        "  --save FILE             also save the loading to FILE (JSON, see\n"
        "                          /usr/share/trimwise/loading.schema.json): the\n"
        "                          aircraft's catalogue entry, every change, the fuel\n"
        "                          used and the texts above\n"
        "  --loading FILE          make the sheet of a saved loading again; options\n"
        "                          given with it add to its changes, or replace its texts\n"
        "  --use-saved             with --loading, when the aircraft's data in the\n"
        "                          catalogue changed or is gone: use the data saved\n"
        "  --use-current           with --loading, when it changed: use the catalogue's\n"
        "                          data as it is now (the sheet lists the changes)\n"
        "  --json                  print one JSON object instead of text\n"
        "  --pdf FILE              also write the sheet as a PDF to FILE (- for\n"
        "                          standard output, instead of text or JSON)\n"
        "  --paper a4|letter       the PDF's paper (default: the locale's, LC_PAPER)\n"
        "  -h, --help              print this help and exit\n"
        "  --version               print the version and exit\n"
        "\n"
        "Exit status: 0 within the envelope (on its outline too) with no warning;\n"
        "1 outside, no usable envelope, or any warning; 2 when the sheet cannot be\n"
        "computed (an unreadable catalogue, an unknown aircraft or slot, a catalogue\n"
        "error that stops the load, a refused value, a bad option, a loading file that\n"
        "cannot be used, aircraft data changed since the loading was saved) or the\n"
        "output cannot be written. With --use-current and changed data, at least 1.\n");
}
