// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer/ChmFile.h"
#include "core/RegularFile.h"
#include "helpviewer/ChmProbe.h"
#include "helpviewer/ChmReader.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <chm_lib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
constexpr LONGUINT64 MaxObjectSize = ChmProbe::MaxObjectSize;
// No help file comes near this either.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

// The probe program lies beside the code that starts it: the viewer library,
// or the program it is built into.
QByteArray ProbePath()
{
    Dl_info self{};
    QByteArray file;
    if (dladdr(reinterpret_cast<void*>(&ProbePath), &self) && self.dli_fname &&
        self.dli_fname[0] == '/')
        file = self.dli_fname;
    else // the main program, named as it was started: maybe relative
        file = QFile::encodeName(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    return file.left(file.lastIndexOf('/') + 1) + TRX_CHMPROBE_NAME;
}

// chmlib trusts a file's directory and compression parameters and divides by
// zero, follows null pointers or runs out of memory on damaged ones, even
// inside chm_open; in this process that would end the whole program. So
// every object of the file is first read by the probe program, in a process
// of its own: the file is sound only if the probe read it all and said so.
// No verdict when the probe cannot be started.
std::optional<bool> ProbeFile(int snapshot)
{
    static const QByteArray probe = ProbePath();
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, snapshot, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, report[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    // Whatever this process blocks or ignores, the limits' signals must end
    // the probe.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t mask;
    sigemptyset(&mask);
    posix_spawnattr_setsigmask(&attributes, &mask);
    sigfillset(&mask);
    posix_spawnattr_setsigdefault(&attributes, &mask);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* const arguments[] = {const_cast<char*>(probe.constData()), nullptr};
    pid_t child = -1;
    const int spawned =
        posix_spawn(&child, probe.constData(), &actions, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(report[1]);
    if (spawned != 0) {
        close(report[0]);
        qWarning("Cannot start the help file probe %s: %s", probe.constData(),
                 std::strerror(spawned));
        return std::nullopt;
    }

    const QDeadlineTimer deadline{std::chrono::seconds(ChmProbe::ViewerWaitSeconds)};
    bool said = false;
    int received = 0;
    for (;;) { // its word, then the end of its output
        pollfd ready{report[0], POLLIN, 0};
        const int polled = poll(&ready, 1, int(deadline.remainingTime()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        char word = 0;
        const ssize_t got = read(report[0], &word, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got != 1)
            break;
        said = ++received == 1 && word == ChmProbe::SoundWord;
    }
    close(report[0]);

    int status = 0;
    pid_t reaped = 0;
    while ((reaped = waitpid(child, &status, WNOHANG)) == 0 && !deadline.hasExpired()) {
        const timespec pause{0, 2 * 1000 * 1000};
        nanosleep(&pause, nullptr); // it closed its output: it is ending
    }
    if (reaped == 0) {
        kill(child, SIGKILL);
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        return false;
    }
    if (reaped < 0)
        return said; // reaped elsewhere (SIGCHLD ignored): its word decides
    return said && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A file's verdict for this run, by its bytes: probed once, however often
// and under whatever name it is opened.
bool IsSound(const QByteArray& content, int snapshot)
{
    static QMutex mutex;
    static QHash<QByteArray, bool> verdicts;
    const QByteArray key = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    QMutexLocker lock(&mutex);
    const auto known = verdicts.constFind(key);
    if (known != verdicts.constEnd())
        return *known;
    const std::optional<bool> sound = ProbeFile(snapshot);
    if (!sound)
        return false; // no verdict: asked again next time
    verdicts.insert(key, *sound);
    return *sound;
}

// A sealed in-memory copy of the file's bytes: what the probe read is
// exactly what chmlib reads here later, whatever happens to the file on
// disk meanwhile. -1 with errno set on failure.
int Snapshot(const QByteArray& content)
{
    const int fd = memfd_create("trxhelp", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0)
        return -1;
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t wrote = write(fd, content.constData() + done, size_t(content.size() - done));
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0) {
            const int error = wrote < 0 ? errno : EIO;
            close(fd);
            errno = error;
            return -1;
        }
        done += wrote;
    }
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    return fd;
}

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
    if (m_snapshot >= 0)
        close(m_snapshot);
    m_snapshot = -1;
}

TChmFile::OpenResult TChmFile::Open(const QString& path)
{
    Close();
    m_errorText.clear();
    RegularFile file(path);
    if (!file.IsOpen()) {
        if (file.Error() == ENOENT || file.Error() == ENOTDIR)
            return OpenResult::NotFound;
        if (file.Error() == 0)
            return OpenResult::NotAHelpFile; // a FIFO, device or socket: never waited on
        m_errorText = file.ErrorText();
        return OpenResult::Unreadable;
    }
    QByteArray content;
    if (file.Size() > MaxFileSize || !file.ReadAll(content, MaxFileSize + 1)) {
        m_errorText = file.ErrorText();
        return m_errorText.isEmpty() ? OpenResult::NotAHelpFile : OpenResult::Unreadable;
    }
    // Only files that start like a CHM go to chmlib, and only with a directory
    // it can walk: it allocates the page length as it stands and follows
    // page links round a loop for ever.
    if (content.size() > MaxFileSize || content.size() < 0x38 || !content.startsWith("ITSF") ||
        !Chm::DirectorySound(content))
        return OpenResult::NotAHelpFile;
    m_snapshot = Snapshot(content);
    if (m_snapshot < 0) {
        m_errorText = QString::fromLocal8Bit(std::strerror(errno));
        return OpenResult::Unreadable;
    }
    if (!IsSound(content, m_snapshot)) {
        Close();
        return OpenResult::NotAHelpFile;
    }
    const QByteArray snapshotPath = "/proc/self/fd/" + QByteArray::number(m_snapshot);
    m_file = chm_open(snapshotPath.constData());
    if (!m_file) {
        Close();
        return OpenResult::NotAHelpFile;
    }
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
