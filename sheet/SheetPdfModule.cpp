// SPDX-License-Identifier: GPL-3.0-or-later
#include "sheet/SheetPdfModule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

bool SheetPdfModule::Open(const QString& appDirFromBinDir, QString& why)
{
    // No application object yet: the program's folder from the kernel.
    const QString here = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
    QString path = here + QStringLiteral("/" TRX_SHEETPDF_MODULE);
    if (!QFileInfo(path).isFile())
        path = QDir::cleanPath(here + u'/' + appDirFromBinDir +
                               QStringLiteral("/" TRX_SHEETPDF_MODULE));
    const QByteArray file = QFile::encodeName(path);
    m_module = std::make_unique<RuntimeModule>(
        file.constData(),
        std::initializer_list<const char*>{SheetPdfApplicationEntry.name, SheetPdfWriterEntry.name},
        RuntimeModule::Failures::Silent, RuntimeModule::Incomplete::CloseAndRetry,
        RuntimeModule::Version{SheetPdfVersionEntry, SheetPdfModuleVersion, "trx-sheet"});
    if (m_module->Ready())
        return true;
    const QString error = QString::fromLocal8Bit(m_module->Error());
    why = m_module->Refused() ? QStringLiteral("cannot write a PDF: %1").arg(error)
                              : QStringLiteral("the PDF writer cannot be loaded: %1").arg(error);
    return false;
}

std::unique_ptr<QCoreApplication> SheetPdfModule::Application(int& argc, char** argv)
{
    return std::unique_ptr<QCoreApplication>(
        m_module->Resolve(SheetPdfApplicationEntry)(&argc, argv));
}

std::unique_ptr<SheetWriter> SheetPdfModule::Writer(const QString& path, SheetPaper paper,
                                                    const SheetWriter::Output& out)
{
    if (paper == SheetPaper::Default)
        paper = DefaultSheetPaper();
    return std::unique_ptr<SheetWriter>(
        m_module->Resolve(SheetPdfWriterEntry)(&path, paper == SheetPaper::Letter ? 1 : 0, &out));
}
