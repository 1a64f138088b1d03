// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

// The browser's page setup: what prints look like. Kept per user in the
// configuration folder, never in the aircraft catalogue.
struct TPageSetup
{
    // The paper sizes the Page Setup dialog offers, in its order; Load()
    // accepts no other.
    static constexpr QPageSize::PageSizeId Papers[] = {
        QPageSize::A4, QPageSize::Letter, QPageSize::Legal,    QPageSize::A3,
        QPageSize::A5, QPageSize::B5,     QPageSize::Executive};

    // A margin wider than this leaves no page to print on.
    static constexpr qreal MaxMarginMm = 100;

    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF marginsMm{19.05, 19.05, 19.05, 19.05}; // left, top, right, bottom
    QString header;
    QString footer;

    // Letter paper where the locale measures in inches, A4 elsewhere; the
    // header names the page and numbers it, the footer gives address and date.
    static TPageSetup Defaults();
    // The user's saved values, defaults for whatever was never saved or
    // makes no sense.
    static TPageSetup Load();
    void Save() const;

    QPageLayout PageLayout() const;

    bool operator==(const TPageSetup&) const = default;
};
