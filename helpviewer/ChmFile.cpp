// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChmFile.h"
#include "ChmReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>

#include <chm_lib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
// No help object comes near this; a larger length is a damaged directory.
constexpr LONGUINT64 MaxObjectSize = 64 * 1024 * 1024;
// Nor does a help file, nor what all its objects hold together.
constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
constexpr LONGUINT64 MaxProbeTotal = 64 * 1024 * 1024;
constexpr long MaxProbeObjects = 100000;
// The largest LZX window; no block exceeds it.
constexpr quint64 MaxWindowSize = 1u << 21;
// A sound help file is read whole in well under a second.
constexpr unsigned ProbeSeconds = 10;

// The first bytes of an uncompressed object into head; false when it is
// missing, stored compressed or shorter. Plain buffers: the probe child runs
// this.
bool ObjectHead(chmFile* file, const char* path, unsigned char* head, LONGUINT64 size,
                bool& present)
{
    chmUnitInfo ui{};
    present = chm_resolve_object(file, path, &ui) == CHM_RESOLVE_SUCCESS;
    return present && ui.space == CHM_UNCOMPRESSED && ui.length >= size &&
           chm_retrieve_object(file, &ui, head, 0, LONGINT64(size)) == LONGINT64(size);
}

// chmlib trusts the LZX parameters of a file when it reads a compressed
// object: a zero block length or reset count is a division by zero, a window
// size out of range a null decoder, and the block length is allocated as it
// stands (twice per read, up to 4 GB). The probe child checks them before it
// reads anything compressed; the viewer opens only the very bytes it passed.
bool CompressionSound(chmFile* file)
{
    bool present = false;
    unsigned char reset[0x28];
    const bool resetRead =
        ObjectHead(file,
                   "::DataSpace/Storage/MSCompressed/Transform/"
                   "{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/InstanceData/ResetTable",
                   reset, sizeof reset, present);
    if (!present)
        return true; // nothing compressed to read
    const quint64 blockLength = resetRead ? Chm::ReadLittleEndian(reset + 0x20, 8) : 0;
    if (blockLength == 0 || blockLength > MaxWindowSize)
        return false;
    unsigned char control[0x18];
    if (!ObjectHead(file, "::DataSpace/Storage/MSCompressed/ControlData", control, sizeof control,
                    present) ||
        std::memcmp(control + 4, "LZXC", 4) != 0)
        return false;
    quint64 resetInterval = Chm::ReadLittleEndian(control + 12, 4);
    quint64 windowSize = Chm::ReadLittleEndian(control + 16, 4);
    const quint64 windowsPerReset = Chm::ReadLittleEndian(control + 20, 4);
    if (Chm::ReadLittleEndian(control + 8, 4) == 2) {
        resetInterval *= 0x8000;
        windowSize *= 0x8000;
    }
    if (windowSize < (1u << 15) || windowSize > MaxWindowSize || (windowSize & (windowSize - 1)))
        return false;
    return resetInterval / (windowSize / 2) * windowsPerReset != 0;
}

// Why a probe child gave up (its exit code); a signal is a crash.
enum ProbeExit
{
    ProbeSound = 0,
    ProbeNotOpened = 1,
    ProbeUnreadableObject = 2,
    ProbeTooLarge = 3,
    ProbeUnreadableDirectory = 4,
    ProbeBadCompression = 5
};

struct ProbeState
{
    LONGUINT64 total = 0;
    long objects = 0;
    int failure = ProbeSound;
};

// The probe child's read buffer: static, so the child allocates nothing of
// its own for it.
unsigned char ProbeBuffer[64 * 1024];

// Reads one object the way the viewer would: found by name, then read whole.
int ProbeObject(chmFile* file, chmUnitInfo* ui, void* context)
{
    auto* state = static_cast<ProbeState*>(context);
    if (++state->objects > MaxProbeObjects) {
        state->failure = ProbeTooLarge;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (ui->length == 0 || ui->length > MaxObjectSize)
        return CHM_ENUMERATOR_CONTINUE; // the viewer never reads these
    chmUnitInfo named{};
    if (chm_resolve_object(file, ui->path, &named) != CHM_RESOLVE_SUCCESS) {
        state->failure = ProbeUnreadableObject;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (named.length > MaxObjectSize)
        return CHM_ENUMERATOR_CONTINUE;
    LONGUINT64 done = 0;
    while (done < named.length) {
        const LONGUINT64 want = std::min<LONGUINT64>(sizeof ProbeBuffer, named.length - done);
        const LONGINT64 got = chm_retrieve_object(file, &named, ProbeBuffer, done, LONGINT64(want));
        if (got <= 0) {
            state->failure = ProbeUnreadableObject;
            return CHM_ENUMERATOR_FAILURE;
        }
        done += LONGUINT64(got);
        state->total += LONGUINT64(got);
        if (state->total > MaxProbeTotal) {
            state->failure = ProbeTooLarge;
            return CHM_ENUMERATOR_FAILURE;
        }
    }
    return CHM_ENUMERATOR_CONTINUE;
}

// The forked child. The viewer runs in a threaded Qt process, and after fork
// only this thread exists here: the child touches nothing but chmlib and
// libc (glibc keeps malloc usable after fork; chmlib creates its own locks
// in chm_open), never Qt, and leaves with _exit, so no atexit handler, static
// destructor or inherited stdio buffer of the program runs twice. If it
// still hangs, the alarm and the parent's deadline end it.
[[noreturn]] void RunProbe(const char* path, int report)
{
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore); // a crash here is expected: no core file
    sigset_t fatal;
    sigemptyset(&fatal);
    for (const int sig : {SIGALRM, SIGSEGV, SIGFPE, SIGBUS, SIGILL, SIGABRT}) {
        signal(sig, SIG_DFL); // no crash handler of the program in here
        sigaddset(&fatal, sig);
    }
    sigprocmask(SIG_UNBLOCK, &fatal, nullptr);
    alarm(ProbeSeconds);

    chmFile* file = chm_open(path);
    if (!file)
        _exit(ProbeNotOpened);
    if (!CompressionSound(file))
        _exit(ProbeBadCompression);
    ProbeState state;
    const int listed = chm_enumerate(file, CHM_ENUMERATE_ALL, ProbeObject, &state);
    if (state.failure != ProbeSound)
        _exit(state.failure);
    if (!listed)
        _exit(ProbeUnreadableDirectory);
    chm_close(file);
    const char sound = 'k';
    if (write(report, &sound, 1) != 1)
        _exit(ProbeNotOpened);
    _exit(ProbeSound);
}

qint64 MillisecondsLeft(const timespec& deadline)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(deadline.tv_sec - now.tv_sec) * 1000 + (deadline.tv_nsec - now.tv_nsec) / 1000000;
}

// chmlib trusts a file's directory and compression parameters and divides by
// zero or follows null pointers on damaged ones, even inside chm_open; in
// this process that would end the whole program. So every object of the file
// is first read in a child process: the file is sound only if the child read
// it all and said so.
bool ProbeFile(const QByteArray& path)
{
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child < 0) {
        close(report[0]);
        close(report[1]);
        return false;
    }
    if (child == 0) {
        close(report[0]);
        RunProbe(path.constData(), report[1]);
    }
    close(report[1]);

    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += ProbeSeconds + 1;
    bool said = false;
    for (;;) {
        const qint64 left = MillisecondsLeft(deadline);
        if (left <= 0)
            break;
        pollfd ready{report[0], POLLIN, 0};
        const int polled = poll(&ready, 1, int(left));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        char word = 0;
        const ssize_t got = read(report[0], &word, 1);
        if (got < 0 && errno == EINTR)
            continue;
        said = got == 1 && word == 'k';
        break; // its word, or the end of a child that died first
    }
    close(report[0]);

    int status = 0;
    pid_t reaped = 0;
    while ((reaped = waitpid(child, &status, WNOHANG)) == 0 && MillisecondsLeft(deadline) > 0) {
        const timespec pause{0, 2 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
    if (reaped == 0) {
        kill(child, SIGKILL);
        while ((reaped = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
        }
        return false;
    }
    if (reaped < 0)
        return said; // reaped elsewhere (SIGCHLD ignored): its word decides
    return said && WIFEXITED(status) && WEXITSTATUS(status) == ProbeSound;
}

// A file's verdict for this run, by its bytes: probed once, however often
// and under whatever name it is opened.
bool IsSound(const QByteArray& content, const QByteArray& path)
{
    static QMutex mutex;
    static QHash<QByteArray, bool> verdicts;
    const QByteArray key = QCryptographicHash::hash(content, QCryptographicHash::Sha256);
    QMutexLocker lock(&mutex);
    const auto known = verdicts.constFind(key);
    if (known != verdicts.constEnd())
        return *known;
    const bool sound = ProbeFile(path);
    verdicts.insert(key, sound);
    return sound;
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
    if (file.size() > MaxFileSize)
        return OpenResult::NotAHelpFile;
    const QByteArray content = file.readAll();
    const bool readWhole = file.error() == QFileDevice::NoError;
    file.close();
    if (!readWhole) {
        m_errorText = file.errorString();
        return OpenResult::Unreadable;
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
    const QByteArray snapshotPath = "/proc/self/fd/" + QByteArray::number(m_snapshot);
    if (!IsSound(content, snapshotPath)) {
        Close();
        return OpenResult::NotAHelpFile;
    }
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
