// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

struct chmFile;

// An open CHM file, read through chmlib.
class TChmFile
{
public:
    enum class OpenResult
    {
        Ok,
        NotFound,
        Unreadable,
        NotAHelpFile
    };

    TChmFile() = default;
    ~TChmFile();
    TChmFile(const TChmFile&) = delete;
    TChmFile& operator=(const TChmFile&) = delete;

    OpenResult Open(const QString& path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }
    // The system's reason when Open gave Unreadable.
    QString ErrorText() const { return m_errorText; }

    // The bytes of an object ("/topic.htm"); nothing when the file lacks it or
    // it cannot be read whole.
    std::optional<QByteArray> Read(const QString& objectPath) const;
    // Every object of the file that holds data, by path.
    QStringList ObjectPaths() const;

private:
    chmFile* m_file = nullptr;
    // The private copy of the file chmlib reads: the bytes the probe passed.
    int m_snapshot = -1;
    QString m_errorText;
};
