// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HelpSystem.h"

#include "core/WinApi.h"
#include "platform/HtmlHelp.h"

namespace {
// The HTML Help viewer: initialises the HTML Help API once per run and shows
// the file's default topic for the contents request.
class THtmlHelpViewer : public THelpViewer
{
public:
    bool CanShowTableOfContents() const override { return true; }

    void ShowTableOfContents(const QString& helpFile) override
    {
        if (!m_initialized) {
            m_initialized = true;
            HtmlHelpA(nullptr, nullptr, WinApi::HH_INITIALIZE, 0);
        }
        // The name goes to the viewer exactly as set: the viewer finds it.
        const QByteArray file = helpFile.toLocal8Bit();
        // Two display calls per request; the second finds the window open and
        // only brings it forward.
        HtmlHelpA(nullptr, file.constData(), WinApi::HH_DISPLAY_TOPIC, 0);
        HtmlHelpA(nullptr, file.constData(), WinApi::HH_DISPLAY_TOPIC, 0);
    }

    void ShutDown() override
    {
        // A run that never showed help leaves the viewer library unloaded.
        if (!m_initialized || m_closed)
            return;
        m_closed = true;
        HtmlHelpA(nullptr, nullptr, WinApi::HH_CLOSE_ALL, 0);
    }

private:
    bool m_initialized = false;
    bool m_closed = false;
};
} // namespace

THelpSystem::THelpSystem()
{
    m_viewers.push_back(std::make_unique<THtmlHelpViewer>());
}

THelpSystem::~THelpSystem() = default;

bool THelpSystem::HelpCommand(const QString& helpFile, int command, quintptr data)
{
    Q_UNUSED(data);
    if (helpFile.isEmpty() || command != WinApi::HELP_CONTENTS)
        return false;
    for (const auto& viewer : m_viewers) {
        if (viewer->CanShowTableOfContents()) {
            viewer->ShowTableOfContents(helpFile);
            return true;
        }
    }
    return false;
}

void THelpSystem::Shutdown()
{
    for (const auto& viewer : m_viewers)
        viewer->ShutDown();
}
