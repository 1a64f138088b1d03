// SPDX-License-Identifier: GPL-3.0-or-later
#include "WebBrowser.h"

#include "RegularFile.h"

#include <QAbstractButton>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontMetricsF>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTextDocument>
#include <QVBoxLayout>

#include <memory>

namespace {

const char* const kItemId = "dlgItemId";

// Far more than any report page or its chart bitmap.
constexpr qint64 MaxResourceBytes = 256 * 1024 * 1024;

QSettings UserSettings()
{
    // Per user, in the configuration folder: never beside the catalogue.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Trimwise"),
                     QStringLiteral("Trimwise"));
}

const QPageSize::PageSizeId kPapers[] = {QPageSize::A4,       QPageSize::Letter, QPageSize::Legal,
                                         QPageSize::A3,       QPageSize::A5,     QPageSize::B5,
                                         QPageSize::Executive};

} // namespace

// --- page setup values ---------------------------------------------------

TPageSetup TPageSetup::Defaults()
{
    TPageSetup values;
    if (QLocale::system().measurementSystem() == QLocale::ImperialUSSystem)
        values.paper = QPageSize::Letter;
    values.header = QStringLiteral("&w&bPage &p of &P");
    values.footer = QStringLiteral("&u&b&d");
    return values;
}

TPageSetup TPageSetup::Load()
{
    TPageSetup values = Defaults();
    QSettings settings = UserSettings();
    settings.beginGroup(QStringLiteral("PageSetup"));
    const QString paperKey = settings.value(QStringLiteral("Paper")).toString();
    for (QPageSize::PageSizeId id : kPapers)
        if (QPageSize::key(id) == paperKey)
            values.paper = id;
    const QString orientation = settings.value(QStringLiteral("Orientation")).toString();
    if (orientation == QLatin1String("Landscape"))
        values.orientation = QPageLayout::Landscape;
    else if (orientation == QLatin1String("Portrait"))
        values.orientation = QPageLayout::Portrait;
    auto margin = [&settings](const char* key, qreal fallback) {
        bool ok = false;
        const qreal value = settings.value(QLatin1String(key)).toDouble(&ok);
        return ok && value >= 0 && value <= 100 ? value : fallback;
    };
    values.marginsMm = QMarginsF(margin("MarginLeft", values.marginsMm.left()),
                                 margin("MarginTop", values.marginsMm.top()),
                                 margin("MarginRight", values.marginsMm.right()),
                                 margin("MarginBottom", values.marginsMm.bottom()));
    // An empty header is a choice of the user and must come back empty.
    if (settings.contains(QStringLiteral("Header")))
        values.header = settings.value(QStringLiteral("Header")).toString();
    if (settings.contains(QStringLiteral("Footer")))
        values.footer = settings.value(QStringLiteral("Footer")).toString();
    return values;
}

void TPageSetup::Save() const
{
    QSettings settings = UserSettings();
    settings.beginGroup(QStringLiteral("PageSetup"));
    settings.setValue(QStringLiteral("Paper"), QPageSize::key(paper));
    settings.setValue(QStringLiteral("Orientation"), orientation == QPageLayout::Landscape
                                                         ? QStringLiteral("Landscape")
                                                         : QStringLiteral("Portrait"));
    settings.setValue(QStringLiteral("MarginLeft"), marginsMm.left());
    settings.setValue(QStringLiteral("MarginTop"), marginsMm.top());
    settings.setValue(QStringLiteral("MarginRight"), marginsMm.right());
    settings.setValue(QStringLiteral("MarginBottom"), marginsMm.bottom());
    settings.setValue(QStringLiteral("Header"), header);
    settings.setValue(QStringLiteral("Footer"), footer);
    settings.endGroup();
    settings.sync();
}

QPageLayout TPageSetup::PageLayout() const
{
    return QPageLayout(QPageSize(paper), orientation, marginsMm, QPageLayout::Millimeter);
}

// --- Page Setup dialog ---------------------------------------------------

TPageSetupDialog::TPageSetupDialog(const TPageSetup& values, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Page Setup"));

    auto* paperBox = new QGroupBox(QStringLiteral("Paper"), this);
    auto* paperForm = new QFormLayout(paperBox);
    m_paper = new QComboBox(paperBox);
    for (QPageSize::PageSizeId id : kPapers)
        m_paper->addItem(QPageSize::name(id), int(id));
    m_paper->setCurrentIndex(qMax(0, m_paper->findData(int(values.paper))));
    paperForm->addRow(QStringLiteral("Si&ze:"), m_paper);

    auto* orientationBox = new QGroupBox(QStringLiteral("Orientation"), this);
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    m_portrait = new QRadioButton(QStringLiteral("P&ortrait"), orientationBox);
    m_landscape = new QRadioButton(QStringLiteral("L&andscape"), orientationBox);
    orientationLayout->addWidget(m_portrait);
    orientationLayout->addWidget(m_landscape);
    (values.orientation == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);

    auto* marginBox = new QGroupBox(QStringLiteral("Margins (millimeters)"), this);
    auto* marginForm = new QFormLayout(marginBox);
    const QString marginNames[4] = {QStringLiteral("&Left:"), QStringLiteral("&Top:"),
                                    QStringLiteral("&Right:"), QStringLiteral("&Bottom:")};
    const qreal marginValues[4] = {values.marginsMm.left(), values.marginsMm.top(),
                                   values.marginsMm.right(), values.marginsMm.bottom()};
    for (int i = 0; i < 4; ++i) {
        m_margins[i] = new QDoubleSpinBox(marginBox);
        m_margins[i]->setRange(0, 100);
        m_margins[i]->setDecimals(2);
        m_margins[i]->setValue(marginValues[i]);
        marginForm->addRow(marginNames[i], m_margins[i]);
    }

    auto* textBox = new QGroupBox(QStringLiteral("Headers and Footers"), this);
    auto* textForm = new QFormLayout(textBox);
    m_header = new QLineEdit(values.header, textBox);
    m_footer = new QLineEdit(values.footer, textBox);
    m_header->setMaxLength(32767);
    m_footer->setMaxLength(32767);
    m_header->setProperty(kItemId, int(IDC_PAGESETUP_HEADER));
    m_footer->setProperty(kItemId, int(IDC_PAGESETUP_FOOTER));
    textForm->addRow(QStringLiteral("&Header:"), m_header);
    textForm->addRow(QStringLiteral("&Footer:"), m_footer);
    auto* codes = new QLabel(QStringLiteral("&w title, &u address, &d date, &t time, &p page, "
                                            "&P pages, &b next part (left | centre | right), "
                                            "&& the sign &"),
                             textBox);
    codes->setTextFormat(Qt::PlainText);
    codes->setWordWrap(true);
    textForm->addRow(codes);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setProperty(kItemId, int(IDOK));
    buttons->button(QDialogButtonBox::Cancel)->setProperty(kItemId, int(IDCANCEL));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(paperBox);
    left->addWidget(orientationBox);
    left->addStretch();
    top->addLayout(left);
    top->addWidget(marginBox);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(textBox);
    layout->addWidget(buttons);
    resize(qMax(sizeHint().width(), 460), sizeHint().height());
}

TPageSetup TPageSetupDialog::Values() const
{
    TPageSetup values;
    values.paper = QPageSize::PageSizeId(m_paper->currentData().toInt());
    values.orientation = m_landscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait;
    values.marginsMm = QMarginsF(m_margins[0]->value(), m_margins[1]->value(),
                                 m_margins[2]->value(), m_margins[3]->value());
    values.header = m_header->text();
    values.footer = m_footer->text();
    return values;
}

// --- header and footer codes ---------------------------------------------

THeaderFooterLine ExpandPageCodes(const QString& codes, const TPageCodeContext& context)
{
    QStringList parts{QString()};
    const QLocale locale;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const QChar c = codes.at(i);
        if (c != QLatin1Char('&') || i + 1 >= codes.size()) {
            parts.last() += c;
            continue;
        }
        const QChar code = codes.at(++i);
        switch (code.unicode()) {
        case 'w':
            parts.last() += context.title;
            break;
        case 'u':
            parts.last() += context.url;
            break;
        case 'd':
            parts.last() += locale.toString(context.now.date(), QLocale::ShortFormat);
            break;
        case 'D':
            parts.last() += locale.toString(context.now.date(), QLocale::LongFormat);
            break;
        case 't':
            parts.last() += locale.toString(context.now.time(), QLocale::ShortFormat);
            break;
        case 'T':
            parts.last() += context.now.time().toString(QStringLiteral("HH:mm"));
            break;
        case 'p':
            parts.last() += QString::number(context.page);
            break;
        case 'P':
            parts.last() += QString::number(context.pageCount);
            break;
        case 'b':
            parts.append(QString());
            break;
        case '&':
            parts.last() += QLatin1Char('&');
            break;
        default:
            parts.last() += c;
            parts.last() += code;
            break;
        }
    }

    THeaderFooterLine line;
    line.left = parts.at(0);
    if (parts.size() == 2) {
        line.right = parts.at(1);
    } else if (parts.size() >= 3) {
        line.centre = parts.at(1);
        // Further breaks have no place of their own: they stay on the right.
        line.right = parts.mid(2).join(QString());
    }
    return line;
}

// --- the browser ---------------------------------------------------------

TCppWebBrowser::TCppWebBrowser(QWidget* parent)
    : QTextBrowser(parent), m_pageSetup(TPageSetup::Load())
{
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

void TCppWebBrowser::Navigate(const QString& url)
{
    // The same address again must load again: the bitmap beside the page is
    // rewritten between loads, and loading the page drops every image read
    // for the previous one.
    const QUrl target(url);
    clearHistory();
    if (source() == target)
        reload();
    else
        setSource(target);
}

QVariant TCppWebBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = source().resolved(name);
    if (!url.isLocalFile() && !url.scheme().isEmpty())
        return QTextBrowser::loadResource(type, name);
    // Never an empty QVariant: the document would then open the file itself,
    // and wait on a FIFO.
    RegularFile file(url.isLocalFile() ? url.toLocalFile() : url.path());
    QByteArray data;
    file.ReadAll(data, MaxResourceBytes);
    return data;
}

int TCppWebBrowser::ExecWB(int cmdID, int cmdExecOpt)
{
    switch (cmdID) {
    case OLECMDID_PAGESETUP:
        return PageSetupCommand(cmdExecOpt);
    case OLECMDID_PRINT:
        return PrintCommand(cmdExecOpt);
    default:
        return OLECMDERR_E_NOTSUPPORTED;
    }
}

namespace {

// A modal dialog takes the activation from its owner window and gives it back
// when it closes, so the owner sees every change, also when dialogs follow
// each other and the window system would otherwise leave none active.
int RunModal(QDialog& dialog)
{
    const QPointer<QWidget> owner =
        dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const int result = dialog.exec();
    if (owner && owner->isVisible()) {
        owner->activateWindow();
        // Without a window manager nobody may hand the activation back; the
        // owner must not miss the next dialog taking it away again.
        if (QApplication::activeWindow() != owner)
            QApplication::setActiveWindow(owner);
    }
    return result;
}

} // namespace

int TCppWebBrowser::PageSetupCommand(int cmdExecOpt)
{
    if (cmdExecOpt == OLECMDEXECOPT_DONTPROMPTUSER)
        return S_OK;
    TPageSetupDialog dialog(m_pageSetup, window());
    if (RunModal(dialog) != QDialog::Accepted)
        return OLECMDERR_E_CANCELED;
    SetPageSetup(dialog.Values());
    return S_OK;
}

int TCppWebBrowser::PrintCommand(int cmdExecOpt)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(m_pageSetup.PageLayout());
    printer.setDocName(PrintTitle());
    if (cmdExecOpt != OLECMDEXECOPT_DONTPROMPTUSER) {
        QPrintDialog dialog(&printer, window());
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        if (RunModal(dialog) != QDialog::Accepted)
            return OLECMDERR_E_CANCELED;
    }
    return PrintTo(&printer) ? S_OK : OLECMDERR_E_CANCELED;
}

void TCppWebBrowser::SetPageSetup(const TPageSetup& values)
{
    m_pageSetup = values;
    m_pageSetup.Save();
}

QString TCppWebBrowser::PrintTitle() const
{
    const QString title = document()->metaInformation(QTextDocument::DocumentTitle);
    if (!title.isEmpty())
        return title;
    return window() ? window()->windowTitle() : QString();
}

bool TCppWebBrowser::PrintTo(QPrinter* printer) const
{
    QPainter painter;
    if (!painter.begin(printer))
        return false;

    // The page is laid out as on screen and scaled onto the printer, so the
    // print matches the preview.
    const qreal screenDpiX = logicalDpiX() > 0 ? logicalDpiX() : 96;
    const qreal screenDpiY = logicalDpiY() > 0 ? logicalDpiY() : 96;
    const qreal sx = printer->logicalDpiX() / screenDpiX;
    const qreal sy = printer->logicalDpiY() / screenDpiY;

    // Printable area inside the margins, in device pixels; the painter's
    // origin is its top-left corner.
    const QRectF area(0, 0, printer->width(), printer->height());
    QFont bandFont = font();
    bandFont.setPointSizeF(8);
    painter.setFont(bandFont);
    const QFontMetricsF metrics(bandFont, printer);
    const qreal band = metrics.height() * 1.8;

    const TPageCodeContext base{PrintTitle(), source().toString(), QDateTime::currentDateTime()};
    const qreal headerBand = m_pageSetup.header.isEmpty() ? 0 : band;
    const qreal footerBand = m_pageSetup.footer.isEmpty() ? 0 : band;
    const QRectF body(area.left(), area.top() + headerBand, area.width(),
                      qMax<qreal>(1, area.height() - headerBand - footerBand));

    std::unique_ptr<QTextDocument> doc(document()->clone(document()));
    doc->setPageSize(QSizeF(body.width() / sx, body.height() / sy));
    const int pageCount = qMax(1, doc->pageCount());
    const QSizeF pageSize = doc->pageSize();

    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1 && !printer->newPage())
            return false;

        painter.save();
        painter.translate(body.topLeft());
        painter.scale(sx, sy);
        const QRectF view(0, (page - 1) * pageSize.height(), pageSize.width(), pageSize.height());
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        doc->documentLayout()->draw(&painter, context);
        painter.restore();

        TPageCodeContext codes = base;
        codes.page = page;
        codes.pageCount = pageCount;
        auto drawLine = [&](const QString& text, const QRectF& rect, Qt::Alignment vertical) {
            const THeaderFooterLine line = ExpandPageCodes(text, codes);
            painter.setPen(Qt::black);
            painter.drawText(rect, Qt::AlignLeft | vertical, line.left);
            painter.drawText(rect, Qt::AlignHCenter | vertical, line.centre);
            painter.drawText(rect, Qt::AlignRight | vertical, line.right);
        };
        if (headerBand > 0)
            drawLine(m_pageSetup.header, QRectF(area.left(), area.top(), area.width(), headerBand),
                     Qt::AlignTop);
        if (footerBand > 0)
            drawLine(m_pageSetup.footer,
                     QRectF(area.left(), area.bottom() - footerBand, area.width(), footerBand),
                     Qt::AlignBottom);
    }
    return painter.end();
}

// --- window functions ----------------------------------------------------

QString GetWindowText(QWidget* window)
{
    return window ? window->windowTitle() : QString();
}

QWidget* GetDlgItem(QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        const QVariant value = child->property(kItemId);
        if (value.isValid() && value.toInt() == id)
            return child;
    }
    return nullptr;
}

QString GetDlgItemText(QWidget* dialog, int id)
{
    QWidget* item = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(item))
        return edit->text();
    if (auto* button = qobject_cast<QAbstractButton*>(item))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(item))
        return label->text();
    return QString();
}

bool SetDlgItemText(QWidget* dialog, int id, const QString& text)
{
    QWidget* item = GetDlgItem(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->setText(text);
        return true;
    }
    if (auto* label = qobject_cast<QLabel*>(item)) {
        label->setText(text);
        return true;
    }
    return false;
}

void SendDlgItemClick(QWidget* dialog, int id)
{
    if (auto* button = qobject_cast<QAbstractButton*>(GetDlgItem(dialog, id)))
        button->click();
}
