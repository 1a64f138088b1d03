// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "helpviewer/ChmFile.h"

#include <QHash>
#include <QTextBrowser>
#include <QWidget>

class QLineEdit;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the pages of one CHM file; every link and image is read from the
// file, nothing from the disk or the network.
class THelpBrowser : public QTextBrowser
{
    Q_OBJECT
public:
    explicit THelpBrowser(const TChmFile& chm, QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

    static constexpr const char* Scheme = "chm";
    static QUrl TopicUrl(const QString& topic);

private:
    const TChmFile& m_chm;
};

// The help window of one help file: contents and index beside the page.
class THelpWindow : public QWidget
{
    Q_OBJECT
public:
    // fileName is the name as the caller gave it, path where it was looked for.
    THelpWindow(const QString& fileName, const QString& path);

    // Opens the file if it is not open yet and shows the topic (empty: the
    // default topic), or the reason the file cannot be shown.
    void ShowTopic(const QString& topic);
    void BringForward();

private:
    bool OpenFile();
    void ShowMessage(const QString& text);
    void FillTree(QTreeWidget* tree, const QByteArray& sitemap, bool mapTopics);
    void Navigate(const QUrl& url);
    void OnSourceChanged(const QUrl& url);
    void OnItemChosen(QTreeWidgetItem* item);
    void FilterIndex(const QString& text);

    QString m_fileName;
    QString m_path;
    TChmFile m_chm;
    QString m_defaultTopic;
    THelpBrowser* m_browser;
    QTabWidget* m_tabs;
    QTreeWidget* m_contents;
    QTreeWidget* m_index;
    QLineEdit* m_indexFilter;
    QToolButton* m_back;
    QToolButton* m_forward;
    QToolButton* m_home;
    QHash<QString, QTreeWidgetItem*> m_contentsByTopic; // object path, lower case
    bool m_syncing = false;
};
