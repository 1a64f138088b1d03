// SPDX-License-Identifier: GPL-3.0-or-later
// Linked into every test. Qt ends some of its threads just before the
// process exits: QTest's watchdog after the last test, the thread pool's
// (the raster engine paints large windows on them) and the window system's
// in QApplication's destructor. A thread still ending then holds its thread
// data where the sanitizer build's leak checker no longer looks, and the
// checker reports that data as leaked. So the exit waits, before that check,
// until the main thread is the only one left. Plain POSIX: Qt's own statics
// may be gone by then.

#include <ctime>

#include <dirent.h>

namespace {

int ThreadCount()
{
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return 1;
    int count = 0;
    while (const dirent* task = readdir(tasks))
        count += task->d_name[0] != '.';
    closedir(tasks);
    return count;
}

struct ExitAfterQtThreads
{
    ~ExitAfterQtThreads()
    {
        const timespec pause{0, 1000 * 1000};
        for (int waited = 0; waited < 10000 && ThreadCount() > 1; ++waited)
            nanosleep(&pause, nullptr);
    }
} exitAfterQtThreads;

} // namespace
