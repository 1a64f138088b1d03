// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The parts of reading a help file that work on plain bytes: the #SYSTEM
// record, the contents and index sitemaps, topic paths and the choice of the
// default topic. Qt Core only; every function accepts any bytes.

#include "helpviewer/LittleEndian.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace Chm {

// What the #SYSTEM object says about the file. Empty texts where it says
// nothing.
struct SystemInfo
{
    QString contentsFile; // record 0
    QString indexFile;    // record 1
    QString defaultTopic; // record 2
    QString title;        // record 3
};

SystemInfo ParseSystem(const QByteArray& data);

// One entry of a contents (.hhc) or index (.hhk) sitemap.
struct SitemapEntry
{
    QString name;
    QString local; // topic path as written in the sitemap; empty for a heading
    std::vector<SitemapEntry> children;
};

// Nesting deeper than this is flattened into the deepest level.
inline constexpr int MaxSitemapDepth = 32;

std::vector<SitemapEntry> ParseSitemap(const QByteArray& data);

// Text stored in the file: UTF-8 when it is valid UTF-8, else Latin-1.
QString DecodeText(const QByteArray& data);

// "a/../b.htm#x" -> "/b.htm": an object path inside the file, rooted, with
// "." and ".." resolved (never above the root), fragment and query dropped.
QString ObjectPath(const QString& topic);

// The topic to show when none is asked for: the #SYSTEM default topic, else
// the first contents entry with a page, else index.html, index.htm,
// default.htm or default.html, else the first page of the file. Only a topic
// present in objectPaths is chosen; the result is an object path keeping a
// "#fragment" if the chosen topic had one, or empty when the file holds no
// page at all.
QString ChooseDefaultTopic(const SystemInfo& system, const std::vector<SitemapEntry>& contents,
                           const QStringList& objectPaths);

// Whether a file's directory can be walked without harm, as a CHM reader
// walks it: where the file holds an ITSF header (0x60 bytes read) and a
// version 1 ITSP directory header at the offset it gives,
// - the page length is at least a page header and no larger than the file
//   (a damaged length would be allocated as it stands, up to 4 GB);
// - the chain of listing pages from the first one never comes back to a page;
// - no index page can be reached twice going down from the root (a loop
//   there is an endless lookup);
// - every page on these walks has its free space inside the page and its
//   entries inside the page.
// Files whose headers are not there pass: no directory is read from them.
bool DirectorySound(const QByteArray& file);

// A file argument of the HTML Help API: "file.chm::/topic.htm>window".
struct HelpFileArgument
{
    QString file;
    QString topic; // empty: the default topic
};

HelpFileArgument SplitHelpFileArgument(const QString& argument);

} // namespace Chm
