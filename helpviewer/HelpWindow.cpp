// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpviewer/HelpWindow.h"

#include "helpviewer/ChmReader.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int TopicRole = Qt::UserRole;

QString Quoted(const QString& fileName)
{
    return QStringLiteral("\"%1\"").arg(fileName);
}
} // namespace

THelpBrowser::THelpBrowser(const TChmFile& chm, QWidget* parent) : QTextBrowser(parent), m_chm(chm)
{
    // Links are followed by the window, which keeps them inside the file.
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QUrl THelpBrowser::TopicUrl(const QString& topic)
{
    const QString path = Chm::ObjectPath(topic);
    QUrl url;
    url.setScheme(QLatin1String(Scheme));
    url.setPath(path);
    const qsizetype hash = topic.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        url.setFragment(topic.mid(hash + 1));
    return url;
}

QVariant THelpBrowser::loadResource(int type, const QUrl& name)
{
    QUrl url = name;
    if (url.isRelative()) {
        const QUrl base = document()->baseUrl().isValid() ? document()->baseUrl() : source();
        url = base.resolved(url);
    }
    // Never an empty QVariant: the document would then read the name from
    // the disk itself (and wait for ever on a FIFO).
    if (url.scheme() != QLatin1String(Scheme))
        return QByteArray();
    const QString path = Chm::ObjectPath(url.path(QUrl::FullyDecoded));
    if (const auto data = m_chm.Read(path))
        return *data;
    if (type == QTextDocument::HtmlResource)
        return QStringLiteral("<p>The topic %1 is not in this help file.</p>")
            .arg(Quoted(path).toHtmlEscaped());
    return QByteArray();
}

THelpWindow::THelpWindow(const QString& fileName, const QString& path)
    : QWidget(nullptr), m_fileName(fileName), m_path(path)
{
    setObjectName(QStringLiteral("TrxHelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    // Closing the program's main window ends the run even with help open.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Help"));

    m_back = new QToolButton(this);
    m_back->setObjectName(QStringLiteral("HelpBack"));
    m_back->setText(QStringLiteral("Back"));
    m_back->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    m_forward = new QToolButton(this);
    m_forward->setObjectName(QStringLiteral("HelpForward"));
    m_forward->setText(QStringLiteral("Forward"));
    m_forward->setIcon(style()->standardIcon(QStyle::SP_ArrowForward));
    m_home = new QToolButton(this);
    m_home->setObjectName(QStringLiteral("HelpHome"));
    m_home->setText(QStringLiteral("Home"));
    m_home->setIcon(style()->standardIcon(QStyle::SP_DirHomeIcon));
    for (QToolButton* button : {m_back, m_forward, m_home})
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_browser = new THelpBrowser(m_chm, this);
    m_browser->setObjectName(QStringLiteral("HelpPage"));

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("HelpContents"));
    m_contents->setHeaderHidden(true);
    m_index = new QTreeWidget;
    m_index->setObjectName(QStringLiteral("HelpIndex"));
    m_index->setHeaderHidden(true);
    m_indexFilter = new QLineEdit;
    m_indexFilter->setPlaceholderText(QStringLiteral("Type a keyword"));
    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(0, 0, 0, 0);
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_index);

    m_tabs = new QTabWidget;
    m_tabs->addTab(m_contents, QStringLiteral("Contents"));
    m_tabs->addTab(indexPage, QStringLiteral("Index"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_home);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(900, 620);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_home, &QToolButton::clicked, this, [this] { ShowTopic(QString()); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &THelpWindow::Navigate);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &THelpWindow::OnSourceChanged);
    for (QTreeWidget* tree : {m_contents, m_index}) {
        connect(tree, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* item) { OnItemChosen(item); });
        connect(tree, &QTreeWidget::itemClicked, this,
                [this](QTreeWidgetItem* item) { OnItemChosen(item); });
    }
    connect(m_indexFilter, &QLineEdit::textChanged, this, &THelpWindow::FilterIndex);
}

void THelpWindow::ShowMessage(const QString& text)
{
    setWindowTitle(QStringLiteral("Help"));
    m_tabs->setEnabled(false);
    m_home->setEnabled(false);
    m_browser->clearHistory();
    m_browser->setHtml(
        QStringLiteral("<h3>Help cannot be shown</h3><p>%1</p>").arg(text.toHtmlEscaped()));
}

bool THelpWindow::OpenFile()
{
    if (m_chm.IsOpen())
        return true;
    switch (m_chm.Open(m_path)) {
    case TChmFile::OpenResult::Ok:
        break;
    case TChmFile::OpenResult::NotFound:
        ShowMessage(QStringLiteral("The help file %1 could not be found.").arg(Quoted(m_fileName)));
        return false;
    case TChmFile::OpenResult::Unreadable:
        ShowMessage(QStringLiteral("The help file %1 could not be read: %2.")
                        .arg(Quoted(m_fileName), m_chm.ErrorText()));
        return false;
    case TChmFile::OpenResult::NotAHelpFile:
        ShowMessage(QStringLiteral("The help file %1 is damaged or is not a help file.")
                        .arg(Quoted(m_fileName)));
        return false;
    }

    const QStringList objects = m_chm.ObjectPaths();
    const Chm::SystemInfo system =
        Chm::ParseSystem(m_chm.Read(QStringLiteral("/#SYSTEM")).value_or(QByteArray()));

    auto findSitemap = [&](const QString& named, const char* suffix) -> QByteArray {
        if (!named.isEmpty())
            if (auto data = m_chm.Read(Chm::ObjectPath(named)))
                return *data;
        for (const QString& object : objects)
            if (object.endsWith(QLatin1String(suffix), Qt::CaseInsensitive))
                if (auto data = m_chm.Read(object))
                    return *data;
        return {};
    };
    const QByteArray hhc = findSitemap(system.contentsFile, ".hhc");
    const std::vector<Chm::SitemapEntry> contents = Chm::ParseSitemap(hhc);
    m_defaultTopic = Chm::ChooseDefaultTopic(system, contents, objects);
    if (m_defaultTopic.isEmpty()) {
        ShowMessage(QStringLiteral("The help file %1 contains no topic.").arg(Quoted(m_fileName)));
        m_chm.Close();
        return false;
    }

    m_contents->clear();
    m_contentsByTopic.clear();
    FillTree(m_contents, hhc, true);
    // Books open: the whole outline is visible at a glance.
    for (int i = 0; i < m_contents->topLevelItemCount(); ++i)
        m_contents->topLevelItem(i)->setExpanded(true);
    m_index->clear();
    FillTree(m_index, findSitemap(system.indexFile, ".hhk"), false);
    m_tabs->setTabVisible(1, m_index->topLevelItemCount() > 0);
    m_tabs->setEnabled(true);
    m_home->setEnabled(true);
    m_browser->clear();
    m_browser->clearHistory();
    setWindowTitle(system.title.isEmpty() ? QStringLiteral("Help") : system.title);
    return true;
}

void THelpWindow::FillTree(QTreeWidget* tree, const QByteArray& sitemap, bool mapTopics)
{
    const std::vector<Chm::SitemapEntry> entries = Chm::ParseSitemap(sitemap);
    // Depth is bounded by the parser; a stack keeps this free of recursion.
    struct Pending
    {
        const std::vector<Chm::SitemapEntry>* level;
        QTreeWidgetItem* parent;
    };
    std::vector<Pending> pending{{&entries, nullptr}};
    while (!pending.empty()) {
        const Pending current = pending.back();
        pending.pop_back();
        for (const Chm::SitemapEntry& entry : *current.level) {
            auto* item =
                current.parent ? new QTreeWidgetItem(current.parent) : new QTreeWidgetItem(tree);
            item->setText(0, entry.name.isEmpty() ? entry.local : entry.name);
            if (!entry.local.isEmpty()) {
                item->setData(0, TopicRole, entry.local);
                // A page is shown as its own entry rather than as the book
                // that opens with it.
                const QString key = Chm::ObjectPath(entry.local).toLower();
                QTreeWidgetItem* known = m_contentsByTopic.value(key);
                if (mapTopics && (!known || (known->childCount() > 0 && entry.children.empty())))
                    m_contentsByTopic.insert(key, item);
            }
            if (!entry.children.empty())
                pending.push_back({&entry.children, item});
        }
    }
}

void THelpWindow::ShowTopic(const QString& topic)
{
    if (!OpenFile())
        return;
    const QUrl url = THelpBrowser::TopicUrl(topic.isEmpty() ? m_defaultTopic : topic);
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

void THelpWindow::BringForward()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void THelpWindow::Navigate(const QUrl& link)
{
    QUrl url = m_browser->source().resolved(link);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
        scheme == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
    }
    if (scheme == QLatin1String("ms-its") || scheme == QLatin1String("mk")) {
        // "ms-its:file.chm::/topic.htm": a topic of this same file
        const QString text = url.toString();
        const qsizetype separator = text.indexOf(QLatin1String("::"));
        if (separator < 0)
            return;
        url = THelpBrowser::TopicUrl(text.mid(separator + 2));
    }
    if (url.scheme() != QLatin1String(THelpBrowser::Scheme))
        return;
    m_browser->setSource(url);
}

void THelpWindow::OnSourceChanged(const QUrl& url)
{
    QTreeWidgetItem* item = m_contentsByTopic.value(Chm::ObjectPath(url.path()).toLower());
    if (!item)
        return;
    m_syncing = true;
    m_contents->setCurrentItem(item);
    m_contents->scrollToItem(item);
    m_syncing = false;
}

void THelpWindow::OnItemChosen(QTreeWidgetItem* item)
{
    if (m_syncing || !item)
        return;
    const QString topic = item->data(0, TopicRole).toString();
    if (topic.isEmpty()) {
        item->setExpanded(true);
        return;
    }
    const QUrl url = THelpBrowser::TopicUrl(topic);
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

void THelpWindow::FilterIndex(const QString& text)
{
    const QString needle = text.trimmed();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; i < m_index->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_index->topLevelItem(i);
        const bool match = needle.isEmpty() || item->text(0).contains(needle, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first)
            first = item;
    }
    if (first)
        m_index->scrollToItem(first, QAbstractItemView::PositionAtTop);
}
