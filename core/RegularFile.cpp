// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RegularFile::RegularFile(const QString& path) : RegularFile(QFile::encodeName(path)) {}

RegularFile::RegularFile(const QByteArray& local)
{
    // O_NONBLOCK: opening a FIFO with no writer would otherwise wait for one.
    const int fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        m_error = errno;
        return;
    }
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0) {
        m_error = errno;
        ::close(fd);
        return;
    }
    if (!S_ISREG(info.st_mode)) {
        m_error = S_ISDIR(info.st_mode) ? EISDIR : 0;
        ::close(fd);
        return;
    }
    // A regular file never blocks; reads then behave as usual.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    m_fd = fd;
    m_size = info.st_size;
}

RegularFile::~RegularFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int RegularFile::Release()
{
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

QString RegularFile::ErrorText() const
{
    if (m_error != 0)
        return QString::fromLocal8Bit(std::strerror(m_error));
    if (m_fd < 0)
        return QStringLiteral("Not a regular file");
    return QString();
}

qint64 RegularFile::Read(char* buffer, qint64 maxBytes)
{
    if (m_fd < 0)
        return -1;
    ssize_t got;
    do
        got = ::read(m_fd, buffer, static_cast<size_t>(maxBytes));
    while (got < 0 && errno == EINTR);
    if (got < 0)
        m_error = errno;
    return got;
}

bool RegularFile::ReadAll(QByteArray& data, qint64 maxBytes)
{
    data.clear();
    if (m_fd < 0)
        return false;
    data.reserve(std::min(m_size, maxBytes));
    constexpr qint64 ChunkBytes = 64 * 1024;
    while (data.size() < maxBytes) {
        const qint64 want = std::min(ChunkBytes, maxBytes - data.size());
        const qsizetype at = data.size();
        data.resize(at + want);
        const qint64 got = Read(data.data() + at, want);
        if (got < 0) {
            data.resize(at);
            return false;
        }
        data.resize(at + got);
        if (got == 0)
            break;
    }
    return true;
}
