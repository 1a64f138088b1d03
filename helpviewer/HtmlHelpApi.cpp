// SPDX-License-Identifier: GPL-3.0-or-later
// The exported HTML Help entry points of the viewer library.

#include "core/WinApi.h"
#include "helpviewer/ChmReader.h"
#include "helpviewer/HelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QThread>

#include <cwchar>

namespace {

QList<QPointer<THelpWindow>>& Windows()
{
    static QList<QPointer<THelpWindow>> windows;
    return windows;
}

// A name without a folder is looked for in the working folder, then beside
// the executable; any other name is taken as it is.
QString FindHelpFile(const QString& fileName)
{
    if (fileName.contains(QLatin1Char('/')))
        return QFileInfo(fileName).absoluteFilePath();
    const QString inWorkingFolder = QDir::current().absoluteFilePath(fileName);
    if (QFileInfo::exists(inWorkingFolder))
        return inWorkingFolder;
    const QString besideExecutable =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(fileName);
    if (QFileInfo::exists(besideExecutable))
        return besideExecutable;
    return inWorkingFolder;
}

void* DisplayTopic(const QString& argument, const QString& dataTopic)
{
    const Chm::HelpFileArgument parts = Chm::SplitHelpFileArgument(argument);
    if (parts.file.isEmpty())
        return nullptr;
    const QString path = FindHelpFile(parts.file);
    const QString topic = dataTopic.isEmpty() ? parts.topic : dataTopic;

    auto& windows = Windows();
    windows.removeAll(nullptr);
    THelpWindow* window = nullptr;
    for (const QPointer<THelpWindow>& open : std::as_const(windows))
        if (open->property("helpFilePath").toString() == path)
            window = open;
    if (!window) {
        window = new THelpWindow(parts.file, path);
        window->setProperty("helpFilePath", path);
        windows.append(window);
    }
    window->ShowTopic(topic);
    window->BringForward();
    return window;
}

void CloseAll()
{
    // Taken out first: deleting a window must not touch the list being walked.
    const QList<QPointer<THelpWindow>> windows = std::exchange(Windows(), {});
    for (const QPointer<THelpWindow>& window : windows)
        delete window.data();
}

void* HelpCall(const QString* file, unsigned command, const QString& dataTopic)
{
    // Windows need the application object and its thread.
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app || QThread::currentThread() != app->thread())
        return nullptr;
    switch (command) {
    case WinApi::HH_DISPLAY_TOPIC:
        return file ? DisplayTopic(*file, dataTopic) : nullptr;
    case WinApi::HH_CLOSE_ALL:
        CloseAll();
        return nullptr;
    default:
        // HH_INITIALIZE and the rest: nothing to prepare or do.
        return nullptr;
    }
}

// The text of an argument of the ANSI entry, in the local 8-bit encoding,
// and of the wide one.
QString FromApiText(const char* text)
{
    return QString::fromLocal8Bit(text);
}

QString FromApiText(const wchar_t* text)
{
    return QString::fromWCharArray(text);
}

// Both entry points: pszFile names the help file, dwData of
// HH_DISPLAY_TOPIC is a topic of the file, or 0 for its default.
template <class Char> void* HtmlHelp(const Char* pszFile, unsigned uCommand, quintptr dwData)
{
    try {
        const QString file = pszFile ? FromApiText(pszFile) : QString();
        QString topic;
        if (uCommand == WinApi::HH_DISPLAY_TOPIC && dwData)
            topic = FromApiText(reinterpret_cast<const Char*>(dwData));
        return HelpCall(pszFile ? &file : nullptr, uCommand, topic);
    } catch (...) {
        return nullptr; // nothing may cross into the caller
    }
}
} // namespace

extern "C" __attribute__((visibility("default"))) void*
HtmlHelpA(void* hwndCaller, const char* pszFile, unsigned uCommand, quintptr dwData)
{
    Q_UNUSED(hwndCaller);
    return HtmlHelp(pszFile, uCommand, dwData);
}

extern "C" __attribute__((visibility("default"))) void*
HtmlHelpW(void* hwndCaller, const wchar_t* pszFile, unsigned uCommand, quintptr dwData)
{
    Q_UNUSED(hwndCaller);
    return HtmlHelp(pszFile, uCommand, dwData);
}
