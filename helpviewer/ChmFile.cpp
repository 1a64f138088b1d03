#include "ChmFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <chm_lib.h>

namespace {
// No help object comes near this; a larger length is a damaged directory.
constexpr LONGUINT64 MaxObjectSize = 64 * 1024 * 1024;

int CollectPath(chmFile*, chmUnitInfo* ui, void* context)
{
    if (ui->length > 0)
        static_cast<QStringList*>(context)->append(QString::fromUtf8(ui->path));
    return CHM_ENUMERATOR_CONTINUE;
}
} // namespace

TChmFile::~TChmFile()
{
    Close();
}

void TChmFile::Close()
{
    if (m_file)
        chm_close(m_file);
    m_file = nullptr;
}

TChmFile::OpenResult TChmFile::Open(const QString& path)
{
    Close();
    m_errorText.clear();
    const QFileInfo info(path);
    if (!info.exists())
        return OpenResult::NotFound;
    QFile file(path);
    errno = 0;
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        m_errorText = info.isDir() ? QString::fromLocal8Bit(std::strerror(EISDIR))
                                   : QString::fromLocal8Bit(std::strerror(errno ? errno : EIO));
        return OpenResult::Unreadable;
    }
    // Only files that start like a CHM go to chmlib.
    const QByteArray header = file.read(0x38);
    file.close();
    if (header.size() < 0x38 || !header.startsWith("ITSF"))
        return OpenResult::NotAHelpFile;
    m_file = chm_open(QFile::encodeName(path).constData());
    if (!m_file)
        return OpenResult::NotAHelpFile;
    return OpenResult::Ok;
}

std::optional<QByteArray> TChmFile::Read(const QString& objectPath) const
{
    if (!m_file)
        return std::nullopt;
    const QByteArray name = objectPath.toUtf8();
    if (name.size() > CHM_MAX_PATHLEN || name.contains('\0'))
        return std::nullopt;
    chmUnitInfo ui{};
    if (chm_resolve_object(m_file, name.constData(), &ui) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (ui.length > MaxObjectSize)
        return std::nullopt;
    QByteArray data(qsizetype(ui.length), Qt::Uninitialized);
    LONGUINT64 done = 0;
    while (done < ui.length) {
        const LONGINT64 got =
            chm_retrieve_object(m_file, &ui, reinterpret_cast<unsigned char*>(data.data()) + done,
                                done, LONGINT64(ui.length - done));
        if (got <= 0)
            return std::nullopt;
        done += LONGUINT64(got);
    }
    return data;
}

QStringList TChmFile::ObjectPaths() const
{
    QStringList paths;
    if (m_file)
        chm_enumerate(m_file, CHM_ENUMERATE_ALL, CollectPath, &paths);
    return paths;
}
