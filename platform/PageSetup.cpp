// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PageSetup.h"

#include "core/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariantMap>

#include <cstdio>

namespace {

// A settings file of this program is a few hundred bytes; more is not ours.
constexpr qint64 MaxSettingsBytes = 1024 * 1024;

// Per user, in the configuration folder (where Qt keeps the settings of the
// organisation and program "Trimwise"): never beside the catalogue.
QString SettingsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Trimwise/Trimwise.conf");
}

// The user's saved settings, keyed "Group/Key". Qt would open the name itself
// and wait for ever on a FIFO or a device put there, so the bytes come through
// a descriptor checked to be a regular file and Qt reads a private copy.
// Anything unreadable reads as nothing saved.
QVariantMap ReadSettings()
{
    QVariantMap values;
    RegularFile file(SettingsPath());
    QByteArray bytes;
    if (!file.ReadAll(bytes, MaxSettingsBytes) || bytes.isEmpty())
        return values;
    QTemporaryFile copy;
    if (!copy.open() || copy.write(bytes) != bytes.size())
        return values;
    copy.close();
    const QSettings settings(copy.fileName(), QSettings::IniFormat);
    for (const QString& key : settings.allKeys())
        values.insert(key, settings.value(key));
    return values;
}

// Writes a new file beside the old one and puts it in its place in one step,
// so that nothing ever opens what lies under the name now.
void WriteSettings(const QVariantMap& values)
{
    const QString path = SettingsPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    QTemporaryFile replacement(path + QStringLiteral(".XXXXXX"));
    if (!replacement.open())
        return;
    replacement.close();
    {
        QSettings settings(replacement.fileName(), QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
        settings.sync();
        if (settings.status() != QSettings::NoError)
            return;
    }
    if (std::rename(QFile::encodeName(replacement.fileName()).constData(),
                    QFile::encodeName(path).constData()) == 0)
        replacement.setAutoRemove(false);
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
    const QVariantMap settings = ReadSettings();
    auto value = [&settings](const char* key) {
        return settings.value(QStringLiteral("PageSetup/") + QLatin1String(key));
    };
    const QString paperKey = value("Paper").toString();
    for (QPageSize::PageSizeId id : Papers)
        if (QPageSize::key(id) == paperKey)
            values.paper = id;
    const QString orientation = value("Orientation").toString();
    if (orientation == QLatin1String("Landscape"))
        values.orientation = QPageLayout::Landscape;
    else if (orientation == QLatin1String("Portrait"))
        values.orientation = QPageLayout::Portrait;
    auto margin = [&value](const char* key, qreal fallback) {
        bool ok = false;
        const qreal mm = value(key).toDouble(&ok);
        return ok && mm >= 0 && mm <= MaxMarginMm ? mm : fallback;
    };
    values.marginsMm = QMarginsF(margin("MarginLeft", values.marginsMm.left()),
                                 margin("MarginTop", values.marginsMm.top()),
                                 margin("MarginRight", values.marginsMm.right()),
                                 margin("MarginBottom", values.marginsMm.bottom()));
    // An empty header is a choice of the user and must come back empty.
    if (settings.contains(QStringLiteral("PageSetup/Header")))
        values.header = value("Header").toString();
    if (settings.contains(QStringLiteral("PageSetup/Footer")))
        values.footer = value("Footer").toString();
    return values;
}

void TPageSetup::Save() const
{
    QVariantMap settings = ReadSettings();
    auto set = [&settings](const char* key, const QVariant& value) {
        settings.insert(QStringLiteral("PageSetup/") + QLatin1String(key), value);
    };
    set("Paper", QPageSize::key(paper));
    set("Orientation", orientation == QPageLayout::Landscape ? QStringLiteral("Landscape")
                                                             : QStringLiteral("Portrait"));
    set("MarginLeft", marginsMm.left());
    set("MarginTop", marginsMm.top());
    set("MarginRight", marginsMm.right());
    set("MarginBottom", marginsMm.bottom());
    set("Header", header);
    set("Footer", footer);
    WriteSettings(settings);
}

QPageLayout TPageSetup::PageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, marginsMm, QPageLayout::Millimeter);
}
