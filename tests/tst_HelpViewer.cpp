// SPDX-License-Identifier: GPL-3.0-or-later
// The help viewer library on the built trx.chm, reached the way the program
// reaches it: the help system, the loader and the library in TRX's folder.

#include "core/WinApi.h"
#include "helpviewer/ChmReader.h"
#include "platform/HelpSystem.h"
#include "platform/HtmlHelp.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include <csignal>
#include <cstdio>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

class tst_HelpViewer : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanup();
    void defaultTopicShows();
    void secondDisplayKeepsOneWindow();
    void linkToAnotherTopic_data();
    void linkToAnotherTopic();
    void contentsTreeOpensTopic();
    void imageResolves();
    void nothingFromTheDisk_data();
    void nothingFromTheDisk();
    void unusableFile_data();
    void unusableFile();
    void damagedCopiesNeverCrash();
    void chmlibCrashers_data();
    void chmlibCrashers();
    void hangingProbeIsEnded();
    void verdictFollowsTheBytes_data();
    void verdictFollowsTheBytes();
    void probeLeavesOurOutputAlone();
    void fileLookup_data();
    void fileLookup();
    void closeAllClosesEveryWindow();
    void topicAsked_data();
    void topicAsked();
    void helpWindowDoesNotKeepTheRunGoing();

private:
    THelpSystem m_help;
    QString m_removeAfter;
};

namespace {
const QString WindowName = QStringLiteral("TrxHelpWindow");

QList<QWidget*> HelpWindows()
{
    QList<QWidget*> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == WindowName)
            windows << w;
    return windows;
}

QTextBrowser* Page(QWidget* window)
{
    return window->findChild<QTextBrowser*>(QStringLiteral("HelpPage"));
}

// Clicks the first link to href on the page as a user would.
bool ClickLink(QTextBrowser* page, const QString& href)
{
    QTextDocument* doc = page->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isAnchor() || fragment.charFormat().anchorHref() != href)
                continue;
            QTextCursor cursor(doc);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            page->setTextCursor(cursor);
            page->ensureCursorVisible();
            QTest::mouseClick(page->viewport(), Qt::LeftButton, {},
                              page->cursorRect(cursor).center());
            return true;
        }
    }
    return false;
}

QWidget* ShowHelp(THelpSystem& help, const QString& file)
{
    help.HelpCommand(file, WinApi::HELP_CONTENTS, 0);
    const QList<QWidget*> windows = HelpWindows();
    return windows.size() == 1 ? windows.first() : nullptr;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray BuiltHelpFile()
{
    return ReadAll(QStringLiteral(TRX_BIN_DIR "/trx.chm"));
}

// Damaged files on which chmlib itself crashes or runs out of memory when it
// runs in this process.
QByteArray Crasher(const char* name)
{
    return ReadAll(QStringLiteral(TRX_SOURCE_DIR "/tests/data/chm/") + QLatin1String(name));
}

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(content) == content.size();
}

const QString DamagedMessage =
    QStringLiteral("The help file \"trx.chm\" is damaged or is not a help file.");
} // namespace

void tst_HelpViewer::initTestCase()
{
    // The loader finds the viewer through this executable's RUNPATH. A
    // sanitizer build's dlopen interceptor hides it: run with
    // LD_LIBRARY_PATH set to the program's folder there.
    HtmlHelpA(nullptr, nullptr, WinApi::HH_INITIALIZE, 0);
    QVERIFY2(dlopen(HtmlHelpLibraryName, RTLD_NOW | RTLD_NOLOAD),
             "the viewer library was not found in " TRX_BIN_DIR);
}

void tst_HelpViewer::cleanup()
{
    HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
    QDir::setCurrent(QStringLiteral(TRX_BIN_DIR));
    if (!m_removeAfter.isEmpty())
        QFile::remove(m_removeAfter);
    m_removeAfter.clear();
    QCOMPARE(HelpWindows().size(), 0);
}

void tst_HelpViewer::defaultTopicShows()
{
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY2(window, "one help window");
    QVERIFY(window->isVisible());
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->windowTitle(), QStringLiteral("Trimwise Help"));
    QTextBrowser* page = Page(window);
    QVERIFY(page);
    QCOMPARE(page->source().path(), QStringLiteral("/welcome.htm"));
    QVERIFY(page->toPlainText().startsWith(QStringLiteral("Welcome to Trimwise")));
    QCOMPARE(page->documentTitle(), QStringLiteral("Welcome to Trimwise"));

    auto* contents = window->findChild<QTreeWidget*>(QStringLiteral("HelpContents"));
    QVERIFY(contents);
    QVERIFY(contents->isVisible());
    QVERIFY(contents->topLevelItemCount() >= 4);
    QCOMPARE(contents->currentItem()->text(0), QStringLiteral("Welcome to Trimwise"));
}

void tst_HelpViewer::secondDisplayKeepsOneWindow()
{
    QWidget* first = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(first);
    QWidget* second = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QCOMPARE(second, first);
    QCOMPARE(HelpWindows().size(), 1);
    // The display calls leave no history of their own to go back through.
    QVERIFY(!first->findChild<QToolButton*>(QStringLiteral("HelpBack"))->isEnabled());
}

void tst_HelpViewer::linkToAnotherTopic_data()
{
    QTest::addColumn<QString>("href");
    QTest::addColumn<QString>("title");
    QTest::newRow("getting started") << "getting-started.htm"
                                     << "Getting started";
    QTest::newRow("warnings") << "warnings.htm"
                              << "What the warnings mean";
    QTest::newRow("catalogue keys") << "catalogue-keys.htm"
                                    << "Catalogue keys";
}

void tst_HelpViewer::linkToAnotherTopic()
{
    QFETCH(QString, href);
    QFETCH(QString, title);
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QTextBrowser* page = Page(window);
    QVERIFY2(ClickLink(page, href), "the welcome page links there");
    QCOMPARE(page->source().path(), QLatin1Char('/') + href);
    QCOMPARE(page->documentTitle(), title);
    QVERIFY(page->toPlainText().startsWith(title));
    auto* contents = window->findChild<QTreeWidget*>(QStringLiteral("HelpContents"));
    QCOMPARE(contents->currentItem()->text(0), title);

    auto* back = window->findChild<QToolButton*>(QStringLiteral("HelpBack"));
    auto* forward = window->findChild<QToolButton*>(QStringLiteral("HelpForward"));
    QVERIFY(back->isEnabled());
    QVERIFY(!forward->isEnabled());
    back->click();
    QCOMPARE(page->source().path(), QStringLiteral("/welcome.htm"));
    QVERIFY(forward->isEnabled());
    forward->click();
    QCOMPARE(page->source().path(), QLatin1Char('/') + href);
}

void tst_HelpViewer::contentsTreeOpensTopic()
{
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    auto* contents = window->findChild<QTreeWidget*>(QStringLiteral("HelpContents"));
    const QList<QTreeWidgetItem*> found = contents->findItems(
        QStringLiteral("The list syntax"), Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    contents->setCurrentItem(found.first());
    QCOMPARE(Page(window)->source().path(), QStringLiteral("/list-syntax.htm"));
    QCOMPARE(Page(window)->documentTitle(), QStringLiteral("The list syntax"));
}

void tst_HelpViewer::imageResolves()
{
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QTextBrowser* page = Page(window);
    QVERIFY(ClickLink(page, QStringLiteral("chart.htm")));
    QCOMPARE(page->source().path(), QStringLiteral("/chart.htm"));

    // The picture's red envelope shows on the page: the image came out of the
    // help file and was drawn.
    window->resize(1000, 800);
    const QImage shot = page->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixelColor(x, y) == QColor(255, 0, 0))
                ++red;
    QVERIFY2(red > 200, qPrintable(QStringLiteral("%1 red pixels").arg(red)));
    const QVariant image = page->document()->resource(QTextDocument::ImageResource,
                                                      QUrl(QStringLiteral("images/chart.png")));
    QVERIFY(image.isValid());
}

void tst_HelpViewer::nothingFromTheDisk_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("picture") << false;
    // Read, it would wait for a writer for ever.
    QTest::newRow("FIFO") << true;
}

void tst_HelpViewer::nothingFromTheDisk()
{
    QFETCH(bool, fifo);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString local = temp.filePath(QStringLiteral("local.png"));
    if (fifo) {
        QCOMPARE(mkfifo(QFile::encodeName(local).constData(), 0600), 0);
    } else {
        QImage red(200, 200, QImage::Format_RGB32);
        red.fill(Qt::red);
        QVERIFY(red.save(local));
    }
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QTextBrowser* page = Page(window);
    page->setHtml(
        QStringLiteral("<p>Local</p><img src=\"%1\">").arg(QUrl::fromLocalFile(local).toString()));
    const QImage shot = page->viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            red += shot.pixelColor(x, y) == QColor(Qt::red);
    QCOMPARE(red, 0);
}

void tst_HelpViewer::unusableFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "none": no file; "dir": a folder; "fifo"
    QTest::addColumn<QString>("message");
    const QByteArray chm = BuiltHelpFile();
    QVERIFY(chm.size() > 1000);

    QTest::newRow("missing") << QByteArray("none") << "could not be found.";
    QTest::newRow("folder") << QByteArray("dir") << "could not be read";
    // With no writer, an ordinary open would wait for one for ever.
    QTest::newRow("FIFO") << QByteArray("fifo") << "is damaged or is not a help file.";
    QTest::newRow("empty") << QByteArray() << "is damaged or is not a help file.";
    QTest::newRow("text") << QByteArray("Not a help file at all.\n").repeated(10)
                          << "is damaged or is not a help file.";
    QTest::newRow("signature only")
        << QByteArray("ITSF") + QByteArray(200, '\0') << "is damaged or is not a help file.";
    QTest::newRow("cut after its header") << chm.left(0x60) << "is damaged or is not a help file.";
}

void tst_HelpViewer::unusableFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString path = temp.filePath(QStringLiteral("broken.chm"));
    if (content == "dir") {
        QVERIFY(QDir().mkdir(path));
    } else if (content == "fifo") {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (content != "none") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QWidget* window = ShowHelp(m_help, path);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("Help"));
    const QString text = Page(window)->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("The help file \"%1\" %2").arg(path, message)),
             qPrintable(text));
}

void tst_HelpViewer::damagedCopiesNeverCrash()
{
    const QByteArray chm = BuiltHelpFile();
    QVERIFY(chm.size() > 1000);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QRandomGenerator random(1234);
    for (int round = 0; round < 40; ++round) {
        QByteArray damaged = chm;
        if (round % 4 == 0)
            damaged.truncate(int(random.bounded(damaged.size())));
        const int flips = 1 + int(random.bounded(16));
        for (int i = 0; i < flips && !damaged.isEmpty(); ++i)
            damaged[int(random.bounded(damaged.size()))] = char(random.bounded(256));
        const QString path = temp.filePath(QStringLiteral("damaged%1.chm").arg(round));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damaged);
        file.close();
        QVERIFY(ShowHelp(m_help, path));
        HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
    }
}

void tst_HelpViewer::chmlibCrashers_data()
{
    QTest::addColumn<QString>("file");
    // Refused by the directory check, before chmlib reads anything of it.
    QTest::addColumn<bool>("directoryRefused");
    QTest::newRow("division by zero opening") << "chmlib-fpe-open.chm" << false;
    QTest::newRow("block length 0 reading") << "chmlib-fpe-retrieve.chm" << false;
    QTest::newRow("bad window size reading") << "chmlib-segv.chm" << false;
    // These two make chmlib allocate 4 GB, on opening and on reading.
    QTest::newRow("directory page of 4 GB") << "chmlib-huge-directory-page.chm" << true;
    QTest::newRow("compressed block of 4 GB") << "chmlib-huge-block.chm" << false;
    // And these two send it round a loop of directory pages for ever.
    QTest::newRow("listing pages in a loop") << "chmlib-listing-loop.chm" << true;
    QTest::newRow("index pages in a loop") << "chmlib-index-loop.chm" << true;
}

void tst_HelpViewer::chmlibCrashers()
{
    QFETCH(QString, file);
    QFETCH(bool, directoryRefused);
    const QByteArray content = Crasher(qPrintable(file));
    QVERIFY2(content.startsWith("ITSF"), qPrintable(file));
    // Each is told at once, not after the probe's time limit (10 s) ends a
    // hung reader: a directory that would loop or allocate 4 GB in chmlib
    // never reaches it, and the probe fails the rest at once (bench_files
    // times it).
    QCOMPARE(!Chm::DirectorySound(content), directoryRefused);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QVERIFY(WriteFile(temp.filePath(QStringLiteral("trx.chm")), content));
    QVERIFY(QDir::setCurrent(temp.path()));

    // Twice: the second time the remembered verdict answers.
    for (int round = 0; round < 2; ++round) {
        QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Help"));
        const QString text = Page(window)->toPlainText();
        QVERIFY2(text.contains(DamagedMessage), qPrintable(text));
        HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
    }
    // Still alive, and the sound file still shows.
    QDir::setCurrent(QStringLiteral(TRX_BIN_DIR));
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Trimwise Help"));
}

void tst_HelpViewer::hangingProbeIsEnded()
{
    // A copy of the viewer with a probe beside it that never answers.
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QString viewer = temp.filePath(QStringLiteral(TRX_HTMLHELP_LIBRARY));
    QVERIFY(QFile::copy(QStringLiteral(TRX_BIN_DIR "/" TRX_HTMLHELP_LIBRARY), viewer));
    const QString probe = temp.filePath(QStringLiteral(TRX_CHMPROBE_NAME));
    QVERIFY(WriteFile(probe, "#!/bin/sh\necho $$ >\"$0.pid\"\nexec sleep 120 2>/dev/null\n"));
    QVERIFY(QFile::setPermissions(probe, QFile::ReadOwner | QFile::ExeOwner));
    void* library = dlopen(QFile::encodeName(viewer).constData(), RTLD_NOW | RTLD_LOCAL);
    QVERIFY2(library, dlerror());
    using Entry = void* (*)(void*, const char*, unsigned, quintptr);
    const auto htmlHelpA = reinterpret_cast<Entry>(dlsym(library, "HtmlHelpA"));
    QVERIFY(htmlHelpA);
    const auto closeAll =
        qScopeGuard([htmlHelpA] { htmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0); });

    const QByteArray help = TRX_BIN_DIR "/trx.chm";
    QVERIFY(htmlHelpA(nullptr, help.constData(), WinApi::HH_DISPLAY_TOPIC, 0));
    const QList<QWidget*> windows = HelpWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.first()->windowTitle(), QStringLiteral("Help"));
    const QString text = Page(windows.first())->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("The help file \"%1\" is damaged or is not a help file.")
                               .arg(QString::fromLocal8Bit(help))),
             qPrintable(text));
    // Ended and reaped: no such process any more, not even a zombie.
    bool ok = false;
    const pid_t pid = ReadAll(probe + QStringLiteral(".pid")).trimmed().toInt(&ok);
    QVERIFY2(ok && pid > 0, "the stand-in probe ran");
    QCOMPARE(kill(pid, 0), -1);
    QCOMPARE(errno, ESRCH);
}

void tst_HelpViewer::verdictFollowsTheBytes_data()
{
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<QString>("title"); // of the second display
    const QByteArray chm = BuiltHelpFile();
    // The one whose damage only the probe can see.
    const QByteArray crasher = Crasher("chmlib-fpe-open.chm");
    QVERIFY(chm.size() > 1000 && crasher.size() > 1000);
    // Same name, written again at once: the time stamp may not even change.
    QTest::newRow("repaired") << crasher << chm << "Trimwise Help";
    QTest::newRow("damaged over a sound file") << chm << crasher << "Help";
    // Bytes after the directory's end are not read: the same size as the
    // sound file, so only the content tells them apart.
    QTest::newRow("damaged of the same size")
        << chm << crasher + QByteArray(chm.size() - crasher.size(), '\0') << "Help";
    QTest::newRow("sound, with bytes after its end")
        << chm << chm + QByteArray(64, '\x7f') << "Trimwise Help";
}

void tst_HelpViewer::verdictFollowsTheBytes()
{
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QVERIFY(QDir::setCurrent(temp.path()));
    const QString path = temp.filePath(QStringLiteral("trx.chm"));
    QVERIFY(WriteFile(path, first));
    QVERIFY(ShowHelp(m_help, QStringLiteral("trx.chm")));
    HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
    QVERIFY(WriteFile(path, second));
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QTEST(window->windowTitle(), "title");
    if (window->windowTitle() == QStringLiteral("Help"))
        QVERIFY(Page(window)->toPlainText().contains(DamagedMessage));
}

void tst_HelpViewer::probeLeavesOurOutputAlone()
{
    // Bytes never probed before, so the check runs now; text this process
    // has buffered but not written must come out once, not again from the
    // checking process.
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    QVERIFY(WriteFile(temp.filePath(QStringLiteral("trx.chm")),
                      BuiltHelpFile() + QByteArray("probe-output-check")));
    QVERIFY(QDir::setCurrent(temp.path()));
    const QString capture = temp.filePath(QStringLiteral("stdout.txt"));
    QFile captureFile(capture);
    QVERIFY(captureFile.open(QIODevice::WriteOnly));

    std::fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    QVERIFY(saved >= 0);
    dup2(captureFile.handle(), STDOUT_FILENO);
    std::fputs("<pending>", stdout);
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    captureFile.close();

    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("Trimwise Help"));
    // The test's own log may have gone there too.
    QCOMPARE(ReadAll(capture).count("<pending>"), 1);
}

void tst_HelpViewer::fileLookup_data()
{
    QTest::addColumn<bool>("inWorkingFolder");
    QTest::addColumn<bool>("besideExecutable");
    QTest::addColumn<QString>("title");
    QTest::newRow("working folder") << true << false << "Trimwise Help";
    QTest::newRow("beside the executable") << false << true << "Trimwise Help";
    // A broken copy in the working folder is the one opened.
    QTest::newRow("working folder first") << true << true << "Help";
    QTest::newRow("nowhere") << false << false << "Help";
}

void tst_HelpViewer::fileLookup()
{
    QFETCH(bool, inWorkingFolder);
    QFETCH(bool, besideExecutable);
    QTemporaryDir temp;
    QVERIFY(temp.isValid());
    const QByteArray chm = BuiltHelpFile();
    if (inWorkingFolder) {
        QFile file(temp.filePath(QStringLiteral("trx.chm")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(besideExecutable ? QByteArray("broken") : chm);
    }
    if (besideExecutable) {
        m_removeAfter = QDir(QCoreApplication::applicationDirPath()).filePath("trx.chm");
        QFile file(m_removeAfter);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(chm);
    }
    QVERIFY(QDir::setCurrent(temp.path()));
    QWidget* window = ShowHelp(m_help, QStringLiteral("trx.chm"));
    QVERIFY(window);
    QTEST(window->windowTitle(), "title");
}

void tst_HelpViewer::closeAllClosesEveryWindow()
{
    THelpSystem help;
    QVERIFY(ShowHelp(help, QStringLiteral("trx.chm")));
    help.HelpCommand(QStringLiteral("missing.chm"), WinApi::HELP_CONTENTS, 0);
    QCOMPARE(HelpWindows().size(), 2);
    help.Shutdown();
    QCOMPARE(HelpWindows().size(), 0);
}

void tst_HelpViewer::topicAsked_data()
{
    QTest::addColumn<bool>("wide");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("topic"); // handed over as dwData
    QTest::addColumn<QString>("path");
    QTest::newRow("in the file argument") << false << "trx.chm::/warnings.htm>main"
                                          << ""
                                          << "/warnings.htm";
    QTest::newRow("as data") << false << "trx.chm"
                             << "chart.htm"
                             << "/chart.htm";
    QTest::newRow("wide entry") << true << "trx.chm"
                                << "list-syntax.htm"
                                << "/list-syntax.htm";
    QTest::newRow("not in the file") << false << "trx.chm"
                                     << "nowhere.htm"
                                     << "/nowhere.htm";
}

void tst_HelpViewer::topicAsked()
{
    QFETCH(bool, wide);
    QFETCH(QString, file);
    QFETCH(QString, topic);
    void* library = dlopen(TRX_BIN_DIR "/" TRX_HTMLHELP_LIBRARY, RTLD_NOW);
    QVERIFY(library);
    void* result = nullptr;
    if (wide) {
        using Entry = void* (*)(void*, const wchar_t*, unsigned, quintptr);
        const auto htmlHelpW = reinterpret_cast<Entry>(dlsym(library, "HtmlHelpW"));
        QVERIFY(htmlHelpW);
        const std::wstring wideFile = file.toStdWString();
        const std::wstring wideTopic = topic.toStdWString();
        result = htmlHelpW(nullptr, wideFile.c_str(), WinApi::HH_DISPLAY_TOPIC,
                           topic.isEmpty() ? 0 : quintptr(wideTopic.c_str()));
    } else {
        using Entry = void* (*)(void*, const char*, unsigned, quintptr);
        const auto htmlHelpA = reinterpret_cast<Entry>(dlsym(library, "HtmlHelpA"));
        QVERIFY(htmlHelpA);
        const QByteArray narrowFile = file.toLocal8Bit();
        const QByteArray narrowTopic = topic.toLocal8Bit();
        result = htmlHelpA(nullptr, narrowFile.constData(), WinApi::HH_DISPLAY_TOPIC,
                           topic.isEmpty() ? 0 : quintptr(narrowTopic.constData()));
    }
    // Not closed: the window runs the library's code.
    const QList<QWidget*> windows = HelpWindows();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(result, static_cast<void*>(windows.first()));
    QTEST(Page(windows.first())->source().path(), "path");
}

void tst_HelpViewer::helpWindowDoesNotKeepTheRunGoing()
{
    QWidget mainWindow;
    mainWindow.show();
    QVERIFY(ShowHelp(m_help, QStringLiteral("trx.chm")));
    // The run ends (exit code 0) when the main window closes. One the help
    // window kept going would never end: the test's time-out ends it.
    QTimer::singleShot(0, &mainWindow, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(tst_HelpViewer)
#include "tst_HelpViewer.moc"
