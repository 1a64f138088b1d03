// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The catalogues the agreement tests load both ways (in the window and in a
// command): the worked example with its counts and fields mutated.

#include <QByteArray>
#include <QByteArrayList>
#include <QList>
#include <QPair>

#include <algorithm>

inline const QByteArrayList TrainerLines = {
    "Make=Generic",
    "Model=T2",
    "Slots=4",
    "SlotsNames=Empty aircraft;Pilot;Passenger;Fuel;",
    "SlotsWeight=520;80;0;60;",
    "SlotsMaxWeight=520;120;120;110;",
    "SlotsPos=0.95;0.94;0.94;1.22;",
    "SlotsMinPos=0.95;0.90;0.90;1.22;",
    "SlotsMaxPos=0.95;1.00;1.00;1.22;",
    "MaxWeight=800",
    "Unit=1",
    "EnvelopePoints=5",
    "EnvelopeX=450;600;820;700;450;",
    "EnvelopeY=500;500;800;800;500;",
};

// The worked example as section `name`, with each key of `changes` given the
// value there (removed when the value is null); keys it lacks come last.
inline QByteArray Mutant(const QByteArray& name,
                         const QList<QPair<QByteArray, QByteArray>>& changes)
{
    QByteArray text = '[' + name + "]\n";
    QList<QPair<QByteArray, QByteArray>> added = changes;
    for (const QByteArray& line : TrainerLines) {
        const QByteArray key = line.left(line.indexOf('='));
        auto change = std::find_if(changes.cbegin(), changes.cend(),
                                   [&](const auto& c) { return c.first == key; });
        if (change == changes.cend())
            text += line + '\n';
        else if (!change->second.isNull())
            text += key + '=' + change->second + '\n';
        added.removeIf([&](const auto& c) { return c.first == key; });
    }
    for (const auto& [key, value] : std::as_const(added))
        if (!value.isNull())
            text += key + '=' + value + '\n';
    return text;
}

// The worked example with its counts and fields mutated, one section per mutation.
inline QByteArray Generated()
{
    QByteArray text;
    int n = 0;
    auto add = [&](const QList<QPair<QByteArray, QByteArray>>& changes) {
        text += Mutant("M" + QByteArray::number(++n), changes);
    };
    for (const char* count : {"0", "-1", "3", "5", "1023", "1024", "x", "0x4", "$5"})
        add({{"Slots", count}});
    for (const char* count : {"0", "1", "4", "6", "1024", "x"})
        add({{"EnvelopePoints", count}});
    for (const QByteArray key : {"SlotsWeight", "SlotsMaxWeight", "SlotsPos", "SlotsMinPos",
                                 "SlotsMaxPos", "EnvelopeX", "EnvelopeY"}) {
        QByteArray value;
        for (const QByteArray& line : TrainerLines)
            if (line.startsWith(key + '='))
                value = line.mid(key.size() + 1);
        QByteArrayList fields = value.split(';');
        auto with = [&](int i, const QByteArray& field) {
            QByteArrayList changed = fields;
            changed[i] = field;
            return changed.join(';');
        };
        add({{key, value.chopped(1)}});  // no final ";"
        add({{key, QByteArray()}});      // missing
        add({{key, with(1, "x")}});      // not a number
        add({{key, with(1, " ")}});      // empty field
        add({{key, with(2, "1E4000")}}); // beyond double, within extended
        add({{key, with(3, "1,5")}});    // the other decimal separator
        add({{key, value + "7;"}});      // one field too many
    }
    // Several faults in one aircraft: the load meets them in its own order.
    add({{"SlotsMaxPos", "0.95;1;"}, {"EnvelopeY", "500;500;x;800;500;"}});
    add({{"SlotsPos", "0.95;y;0.94;1.22;"}, {"SlotsWeight", "520;80;0;"}});
    add({{"SlotsPos", "0.95;1E3000;0.94;1.22;"},
         {"SlotsWeight", "520;1E3000;0;60;"},
         {"SlotsMinPos", "0;0;0;0;"},
         {"SlotsMaxPos", "9;9;9;9;"}});
    add({{"Slots", "2000"}, {"EnvelopePoints", "2000"}});
    // The flight's keys, which the window never reads, sound and wrong.
    add({{"MaxRampWeight", "805"},
         {"MaxLandingWeight", "760"},
         {"MaxZeroFuelWeight", "700"},
         {"FuelSlots", "4;"},
         {"FuelDensity", "0.72"}});
    add({{"MaxRampWeight", "x"},
         {"MaxLandingWeight", "900"},
         {"MaxZeroFuelWeight", "-1"},
         {"FuelSlots", "1;9;x"},
         {"FuelDensity", "1E400"}});
    add({{"EnvelopeX", "450;a;820;700;450;"}, {"EnvelopeY", "500;b;800;800;500;"}});
    // 400 slots with ordinary fields: the lists are cut at 2047 characters.
    QByteArray names;
    QByteArray weights;
    for (int i = 0; i < 400; ++i) {
        names += "Slot " + QByteArray::number(i) + ';';
        weights += "100;";
    }
    add({{"Slots", "400"},
         {"SlotsNames", names},
         {"SlotsWeight", weights},
         {"SlotsMaxWeight", weights},
         {"SlotsPos", weights},
         {"SlotsMinPos", weights},
         {"SlotsMaxPos", weights}});
    return text;
}
