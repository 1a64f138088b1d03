// SPDX-License-Identifier: GPL-3.0-or-later
// A whole help file, as the viewer opens it: the file through chmlib, then
// its #SYSTEM record, contents sitemap and default topic.

#include "FuzzSupport.h"
#include "helpviewer/ChmFile.h"
#include "helpviewer/ChmReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = Fuzz::WriteScratch(Fuzz::Bytes(data, size), ".chm");
    TChmFile chm;
    if (chm.Open(path) != TChmFile::OpenResult::Ok)
        return 0;
    const QStringList objects = chm.ObjectPaths();
    const Chm::SystemInfo system =
        Chm::ParseSystem(chm.Read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));
    QByteArray hhc;
    if (!system.contentsFile.isEmpty())
        hhc = chm.Read(Chm::ObjectPath(system.contentsFile)).value_or(QByteArray());
    for (const QString& object : objects)
        if (hhc.isEmpty() && object.endsWith(QLatin1String(".hhc"), Qt::CaseInsensitive))
            hhc = chm.Read(object).value_or(QByteArray());
    const QString topic = Chm::ChooseDefaultTopic(system, Chm::ParseSitemap(hhc), objects);
    if (!topic.isEmpty())
        chm.Read(Chm::ObjectPath(topic));
    return 0;
}
