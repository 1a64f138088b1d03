// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PageSetupDialog.h"

#include "core/WinApi.h"
#include "platform/ModalDialog.h"
#include "platform/WebBrowser.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// Header and footer may be long; the browser keeps them whole.
constexpr int MaxBandChars = 32767;
// The dialog is at least this wide, in pixels, so that a header fits its box.
constexpr int MinDialogWidth = 460;
constexpr int MarginDecimals = 2;
} // namespace

TPageSetupDialog::TPageSetupDialog(const TPageSetup& values, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Page Setup"));

    auto* paperBox = new QGroupBox(QStringLiteral("Paper"), this);
    auto* paperForm = new QFormLayout(paperBox);
    m_paper = new QComboBox(paperBox);
    for (QPageSize::PageSizeId id : TPageSetup::Papers)
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
        m_margins[i]->setRange(0, TPageSetup::MaxMarginMm);
        m_margins[i]->setDecimals(MarginDecimals);
        m_margins[i]->setValue(marginValues[i]);
        marginForm->addRow(marginNames[i], m_margins[i]);
    }

    auto* textBox = new QGroupBox(QStringLiteral("Headers and Footers"), this);
    auto* textForm = new QFormLayout(textBox);
    m_header = new QLineEdit(values.header, textBox);
    m_footer = new QLineEdit(values.footer, textBox);
    m_header->setMaxLength(MaxBandChars);
    m_footer->setMaxLength(MaxBandChars);
    SetDlgItemId(m_header, WinApi::IDC_PAGESETUP_HEADER);
    SetDlgItemId(m_footer, WinApi::IDC_PAGESETUP_FOOTER);
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
    SetDlgItemId(buttons->button(QDialogButtonBox::Ok), WinApi::IDOK);
    SetDlgItemId(buttons->button(QDialogButtonBox::Cancel), WinApi::IDCANCEL);
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
    resize(qMax(sizeHint().width(), MinDialogWidth), sizeHint().height());
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

bool TPageSetupDialog::Prompt(TPageSetup& values, QWidget* owner)
{
    TPageSetupDialog dialog(values, owner);
    if (RunModal(dialog) != QDialog::Accepted)
        return false;
    values = dialog.Values();
    return true;
}
