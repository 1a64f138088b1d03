// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Application.h"

#include "core/Exceptions.h"
#include "core/NumConv.h"
#include "platform/IconFile.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QMessageBox>

TApplication* Application = nullptr;

namespace {
// The main window and the preview are plain widgets, which a screen reader
// would take for a pane inside something else; as windows ("frame") their
// caption is announced when they become active.
QAccessibleInterface* WindowAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget && widget->isWindow() &&
        (className == QLatin1String("TForm1") || className == QLatin1String("TForm2")))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}
} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    Application = this;
    QAccessible::installFactory(WindowAccessible);
    ReadDecimalSeparatorFromLocale();
}

TApplication::~TApplication()
{
    m_helpSystem.Shutdown();
    if (Application == this)
        Application = nullptr;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        if (event->type() == QEvent::LocaleChange && receiver == this)
            ReadDecimalSeparatorFromLocale();
        return QApplication::notify(receiver, event);
    } catch (...) {
        ShowException(std::current_exception());
        return true;
    }
}

void TApplication::LoadIcon(const QString& fileName)
{
    setWindowIcon(LoadIconFile(fileName));
}

// Not the toolkit's application display name: window systems append that to
// every window title, and each window's caption must stay exactly its own.
void TApplication::SetTitle(const QString& title)
{
    m_title = title;
}

bool TApplication::HelpCommand(int command, quintptr data)
{
    return m_helpSystem.HelpCommand(m_helpFile, command, data);
}

namespace {
QString CurrentTitle()
{
    return Application ? Application->Title() : QStringLiteral("Trimwise");
}
} // namespace

void TApplication::ShowException(const std::exception_ptr& error)
{
    QString message;
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
        return;
    } catch (const Exception& e) {
        message = e.Message();
    } catch (const std::exception& e) {
        message = QString::fromLocal8Bit(e.what());
    } catch (...) {
        message = QStringLiteral("Unknown error");
    }
    QMessageBox box(QMessageBox::Critical, CurrentTitle(), ErrorBoxText(message), QMessageBox::Ok);
    // Messages quote what the user typed, a catalogue or a path: never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void TApplication::ShowMessage(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, CurrentTitle(), text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
