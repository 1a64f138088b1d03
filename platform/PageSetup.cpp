// SPDX-License-Identifier: GPL-3.0-or-later
#include "PageSetup.h"

#include <QLocale>
#include <QSettings>

namespace {

QSettings UserSettings()
{
    // Per user, in the configuration folder: never beside the catalogue.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trimwise"),
                     QStringLiteral("Trimwise"));
}

} // namespace

TPageSetup TPageSetup::Defaults()
{
    TPageSetup values;
    if (QLocale::system().measurementSystem() == QLocale::ImperialUSSystem)
        values.paper = QPageSize::Letter;
    values.header = QStringLiteral("&w&bPage &p of &P");
    values.footer = QStringLiteral("&u&b&d");
    return values;
}

TPageSetup TPageSetup::Load()
{
    TPageSetup values = Defaults();
    QSettings settings = UserSettings();
    settings.beginGroup(QStringLiteral("PageSetup"));
    const QString paperKey = settings.value(QStringLiteral("Paper")).toString();
    for (QPageSize::PageSizeId id : Papers)
        if (QPageSize::key(id) == paperKey)
            values.paper = id;
    const QString orientation = settings.value(QStringLiteral("Orientation")).toString();
    if (orientation == QLatin1String("Landscape"))
        values.orientation = QPageLayout::Landscape;
    else if (orientation == QLatin1String("Portrait"))
        values.orientation = QPageLayout::Portrait;
    auto margin = [&settings](const char* key, qreal fallback) {
        bool ok = false;
        const qreal value = settings.value(QLatin1String(key)).toDouble(&ok);
        return ok && value >= 0 && value <= MaxMarginMm ? value : fallback;
    };
    values.marginsMm = QMarginsF(margin("MarginLeft", values.marginsMm.left()),
                                 margin("MarginTop", values.marginsMm.top()),
                                 margin("MarginRight", values.marginsMm.right()),
                                 margin("MarginBottom", values.marginsMm.bottom()));
    // An empty header is a choice of the user and must come back empty.
    if (settings.contains(QStringLiteral("Header")))
        values.header = settings.value(QStringLiteral("Header")).toString();
    if (settings.contains(QStringLiteral("Footer")))
        values.footer = settings.value(QStringLiteral("Footer")).toString();
    return values;
}

void TPageSetup::Save() const
{
    QSettings settings = UserSettings();
    settings.beginGroup(QStringLiteral("PageSetup"));
    settings.setValue(QStringLiteral("Paper"), QPageSize::key(paper));
    settings.setValue(QStringLiteral("Orientation"), orientation == QPageLayout::Landscape
                                                         ? QStringLiteral("Landscape")
                                                         : QStringLiteral("Portrait"));
    settings.setValue(QStringLiteral("MarginLeft"), marginsMm.left());
    settings.setValue(QStringLiteral("MarginTop"), marginsMm.top());
    settings.setValue(QStringLiteral("MarginRight"), marginsMm.right());
    settings.setValue(QStringLiteral("MarginBottom"), marginsMm.bottom());
    settings.setValue(QStringLiteral("Header"), header);
    settings.setValue(QStringLiteral("Footer"), footer);
    settings.endGroup();
    settings.sync();
}

QPageLayout TPageSetup::PageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, marginsMm, QPageLayout::Millimeter);
}
