// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace CommandOutput {

namespace {

const char* g_program = "";
bool g_stdoutClosed = false;
int g_error = 0; // errno of the first failed write of stdout

bool IsOpen(int fd)
{
    return fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

void Start(const char* program)
{
    g_program = program;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (IsOpen(fd))
            continue;
        if (fd == STDOUT_FILENO)
            g_stdoutClosed = true;
        // open() takes the lowest free number: this one.
        if (open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY) != fd)
            std::abort();
    }
}

void Out(const QByteArray& bytes)
{
    if (g_error != 0 || g_stdoutClosed || bytes.isEmpty())
        return;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size()))
        g_error = errno ? errno : EIO;
}

void Message(const QByteArray& text)
{
    const QByteArray line = QByteArray(g_program) + ": " + text + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

int Finish(int status)
{
    if (g_stdoutClosed) {
        Message("cannot write the output: standard output is closed");
        return ExitTrouble;
    }
    if (std::fflush(stdout) != 0 && g_error == 0)
        g_error = errno ? errno : EIO;
    if (std::fclose(stdout) != 0 && g_error == 0)
        g_error = errno ? errno : EIO;
    if (g_error != 0) {
        Message(QByteArray("cannot write the output: ") + std::strerror(g_error));
        return ExitTrouble;
    }
    return status;
}

} // namespace CommandOutput
