// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CataloguePath.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>

// The catalogue a test executable reads: beside itself, named after it.
inline QString CatalogueFile()
{
    return CataloguePathFor(QCoreApplication::applicationFilePath());
}

inline bool WriteCatalogue(const QByteArray& text)
{
    QFile f(CatalogueFile());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// The text of a PDF as pdftotext lays it out.
inline QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Answers every message box that opens while it lives, as a user pressing
// OK, and records what each showed.
class MessageBoxAnswerer : public QObject
{
public:
    MessageBoxAnswerer()
    {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                captions << box->windowTitle();
                icons << box->icon();
                box->button(QMessageBox::Ok)->click();
            }
        });
        m_timer.start();
    }
    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;

private:
    QTimer m_timer;
};
