// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CatalogueCheck.h"

#include <QByteArray>
#include <QList>

// What trx-check prints for the catalogues it checked, as lines of text or as
// one JSON object. Both are UTF-8; bytes of a file name that are not UTF-8
// show as U+FFFD in JSON and as they are in text, and control characters in
// text lines as \xHH.
class CheckReport
{
public:
    // `fileName` as given, in the file system's bytes.
    void Add(const QByteArray& fileName, const CatalogueCheck& check);

    int Aircraft() const { return m_aircraft; }
    int Errors() const { return m_errors; }
    int Warnings() const { return m_warnings; }

    // "FILE:LINE: SEVERITY: [SECTION] KEY: MESSAGE (CODE)" per finding, in file
    // order; with `summary` a note per aircraft on its default loading; then
    // "N aircraft checked, E errors, W warnings".
    QByteArray Text(bool summary) const;
    // {"files": [...], "findings": [...], ("summary": [...],) "aircraft": N,
    //  "errors": E, "warnings": W}
    QByteArray Json(bool summary) const;

private:
    struct File
    {
        QByteArray name;
        QList<CatalogueFinding> findings;
        QList<AircraftSummary> aircraft;
    };
    QList<File> m_files;
    int m_aircraft = 0;
    int m_errors = 0;
    int m_warnings = 0;
};
