// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/CataloguePath.h"
#include "core/NumConv.h"
#include "ui/Application.h"
#include "ui/OKBottomDlg.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>
#include <optional>

// How long a test waits for what comes within milliseconds (a window shown,
// a box up): long enough for a loaded machine or a sanitized build; only a
// hang takes longer. Qt Test's own default is 5 s.
constexpr int WaitLimitMs = 60000;

// The catalogue a test executable reads: beside itself, named after it.
inline QString CatalogueFile()
{
    return CataloguePathFor(QCoreApplication::applicationFilePath());
}

inline bool WriteCatalogue(const QByteArray& text)
{
    QFile f(CatalogueFile());
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text) == text.size();
}

// What a command run as a process gave: its exit status (-1 when it crashed
// or did not finish) and its output.
struct CommandRun
{
    int status = -1;
    QString out;
    QString err;
};

// Runs `program` in `locale`: by default the C locale (decimal point "."),
// which the test catalogues are written for.
inline CommandRun RunCommand(const QString& program, const QStringList& args,
                             const QString& locale = QStringLiteral("C"))
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), locale);
    process.setProcessEnvironment(env);
    process.start(program, args);
    CommandRun run;
    // Only a fault takes this long (a FIFO must never make a command wait):
    // the bound fails the test instead of hanging it.
    if (!process.waitForFinished(120000))
        return run;
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// The text of a PDF as pdftotext lays it out. Without pdftotext, or when it
// cannot read the file, the running test fails with the reason and the text
// is empty.
inline QString PdfText(const QString& pdf)
{
    const auto fail = [](const QString& why) {
        QTest::qFail(qPrintable(why), __FILE__, __LINE__);
        return QString();
    };
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        return fail(QStringLiteral("pdftotext is not installed (Debian package poppler-utils): "
                                   "cannot read %1")
                        .arg(pdf));
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    // No time limit of our own: a hung pdftotext is for the test's time-out.
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return fail(QStringLiteral("pdftotext could not read %1: %2 %3")
                        .arg(pdf, process.errorString(),
                             QString::fromLocal8Bit(process.readAllStandardError())));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Sets the decimal separator until the scope ends; the one before comes back
// then, also when a check fails and leaves the test function early.
[[nodiscard]] inline auto ScopedDecimalSeparator(QChar separator)
{
    const QChar before = DecimalSeparator();
    SetDecimalSeparator(separator);
    return qScopeGuard([before] { SetDecimalSeparator(before); });
}

// Sets an environment variable until the scope ends; its value before (or
// its absence) comes back then, also when a check fails.
[[nodiscard]] inline auto ScopedEnvironment(const char* name, const QByteArray& value)
{
    const bool wasSet = qEnvironmentVariableIsSet(name);
    const QByteArray before = qgetenv(name);
    qputenv(name, value);
    return qScopeGuard([name, wasSet, before] {
        if (wasSet)
            qputenv(name, before);
        else
            qunsetenv(name);
    });
}

// Whether a window is in front as a user would meet it: shown and active.
// Qt makes a window the active one before it tells the window that loses the
// activation, in the same step: whatever losing it makes that window do (a
// preview answering a dialog that took it) has been done by then.
inline bool InFront(QWidget* window)
{
    return window && window->isVisible() && QApplication::activeWindow() == window;
}

// Processes events until a timer of `ms` milliseconds started now has fired,
// and returns true then (false only if that never happens within WaitLimitMs).
// Qt fires due timers in the order of their deadlines, so every timer due no
// later (a held error box, a delayed action) has fired by then too: a check
// that something did not happen is then certain whatever the machine's speed.
inline bool ProcessEventsPast(int ms)
{
    QObject context;
    bool fired = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, &context, [&fired] { fired = true; });
    return QTest::qWaitFor([&fired] { return fired; }, ms + WaitLimitMs);
}

// The one driver for modal windows in tests: while it lives, a timer running
// inside their event loops hands the modal window in front to the handler,
// if any, on every tick. The handler returns true when it took the window
// for this tick (answered it, or leaves it open for a later tick, for example
// until it is InFront); false leaves it to the driver, which records a
// message box (text, caption, icon, buttons) and answers it with OK, as a
// user pressing it, and leaves any other window open.
class ModalDriver : public QObject
{
public:
    using Handler = std::function<bool(QWidget* modal)>;

    explicit ModalDriver(Handler handler = {}) : m_handler(std::move(handler))
    {
        m_timer.setInterval(2);
        connect(&m_timer, &QTimer::timeout, this, &ModalDriver::Tick);
        m_timer.start();
    }

    void SetHandler(Handler handler) { m_handler = std::move(handler); }
    void Stop() { m_timer.stop(); }

    QStringList texts;
    QStringList captions;
    QList<QMessageBox::Icon> icons;
    QList<int> buttonCounts;

private:
    void Tick()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        if (m_handler && m_handler(modal))
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            texts << box->text();
            captions << box->windowTitle();
            icons << box->icon();
            buttonCounts << int(box->buttons().size());
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
        }
    }

    Handler m_handler;
    QTimer m_timer;
};

// Answers the next modal window with `answer`, once, from the event loop it
// runs in.
inline void AnswerNextModal(std::function<void(QWidget*)> answer)
{
    auto* driver = new ModalDriver;
    driver->setParent(qApp); // gone with the application if no window comes
    driver->SetHandler([driver, answer = std::move(answer)](QWidget* modal) {
        driver->Stop();
        driver->deleteLater();
        answer(modal);
        return true;
    });
}

// What a label shows, as a screen reader reads it: a text the label takes for
// markup comes out as the text the markup renders.
inline QString ShownText(QLabel* label)
{
    QAccessibleInterface* iface = label ? QAccessible::queryAccessibleInterface(label) : nullptr;
    return iface ? iface->text(QAccessible::Name) : QString();
}

inline QString ShownText(QMessageBox* box)
{
    return ShownText(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")));
}

// Answers the modal windows that open while it lives, in the order they
// open, through the driver: the value dialog with the next scripted answer (a
// text for OK, nullopt for Cancel), a message box with OK, any other dialog
// as Escape does. Records what each showed: "dialog: <old value>", "error:
// <text>", "warning: <text>" or "window: <caption>", and each message box's
// caption.
class ModalScript : public QObject
{
public:
    explicit ModalScript(QList<std::optional<QString>> answers = {}) : m_answers(std::move(answers))
    {
    }
    QStringList seen;
    QStringList captions;
    // When set, a window is answered only once this says yes, so that a test
    // can first look at it as the window system shows it.
    std::function<bool(QWidget*)> Ready;

private:
    bool Answer(QWidget* modal)
    {
        if (Ready && !Ready(modal))
            return true; // looked at again on the next tick
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            seen << (box->icon() == QMessageBox::Critical ? "error: " : "warning: ") +
                        ShownText(box);
            captions << box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        } else if (auto* dlg = qobject_cast<TOKBottomDlg*>(modal)) {
            seen << "dialog: " + ShownText(dlg->Label3);
            const std::optional<QString> answer =
                m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
            if (answer) {
                dlg->Edit1->setText(*answer);
                dlg->OKBtn->click();
            } else {
                dlg->CancelBtn->click();
            }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            seen << "window: " + dialog->windowTitle();
            dialog->reject();
        }
        return true;
    }
    QList<std::optional<QString>> m_answers;
    ModalDriver m_driver{[this](QWidget* modal) { return Answer(modal); }};
};

// The main of a test that drives the program's windows: the application
// object with the title start-up gives it, which every message box shows.
#define TRX_TEST_MAIN(TestClass)                                                                   \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TApplication app(argc, argv);                                                              \
        app.SetTitle(QStringLiteral("Trimwise"));                                                  \
        TestClass test;                                                                            \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
