// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

// A file opened for reading that can never make the program wait: the name is
// opened without blocking and the descriptor itself is then checked, so a
// FIFO, a device or a socket under the name is refused, never waited on (a
// separate stat before the open would leave a window for a swap).
class RegularFile
{
public:
    explicit RegularFile(const QString& path);
    // The same for a path in the file system's own bytes, which need not be
    // valid UTF-8 (a name given on a command line).
    explicit RegularFile(const QByteArray& localPath);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    // The open descriptor (blocking mode restored), -1 when the open failed.
    int Descriptor() const { return m_fd; }
    // Hands the descriptor over: the caller closes it from now on.
    int Release();
    // The size the descriptor reported when it was opened.
    qint64 Size() const { return m_size; }
    // Why the open failed, in the system's words ("No such file or
    // directory"), or "Not a regular file" for a FIFO, device or socket.
    QString ErrorText() const;
    // The errno behind ErrorText(); 0 for a FIFO, device or socket, and
    // while nothing failed.
    int Error() const { return m_error; }

    // Reads up to `maxBytes` into `buffer`: the count read, 0 at the end of the
    // file, -1 on a read error (ErrorText() then tells why) or when not open.
    qint64 Read(char* buffer, qint64 maxBytes);
    // Reads the whole file, at most `maxBytes` of it. False on a read error
    // (ErrorText() then tells why) or when the file is not open.
    bool ReadAll(QByteArray& data, qint64 maxBytes);

private:
    int m_fd = -1;
    int m_error = 0; // errno of the failure, 0 when it was not a system error
    qint64 m_size = 0;
};
