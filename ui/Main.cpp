// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Main.h"

#include "chart/ChartPainter.h"
#include "core/AircraftLoad.h"
#include "core/ArrowSeries.h"
#include "core/Balance.h"
#include "core/CataloguePath.h"
#include "core/CatalogueSchema.h"
#include "core/EditRules.h"
#include "core/ReportPaths.h"
#include "core/WinApi.h"
#include "platform/IconFile.h"
#include "platform/IniFile.h"
#include "ui/Application.h"
#include "ui/Chart.h"
#include "ui/OKBottomDlg.h"
#include "ui/Print.h"
#include "ui/StringGrid.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyle>

TForm1* Form1 = nullptr;

namespace {
// Frame and title bar as laid out, in pixels: both side edges together, and
// the title bar with the top and bottom edges.
constexpr int NominalFrameWidth = 8;
constexpr int NominalFrameHeight = 27;
// Outer sizes of the window in pixels, frame included: the top strip before
// a load, the whole window after it.
constexpr QSize CollapsedSize(323, 65);
constexpr QSize LoadedSize(686, 467);

// The window's font size, and the smallest the sheet's font may shrink to,
// in pixels.
constexpr int FontPixelSize = 11;
constexpr int MinSheetFontPixelSize = 8;

// What a load adds to the widths of the item and torque columns, in pixels.
constexpr int ItemColumnWidening = 42;
constexpr int TorqueColumnWidening = 15;

// The headings must fit the laid-out column width; desktop fonts run wider
// than the one the layout was drawn for, so the sheet's font gives way a little.
void FitSheetFontTo(TStringGrid* grid, const QString* texts, int count)
{
    const int margins =
        2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    const int room = TStringGrid::DefaultColWidth - margins;
    QFont f = grid->font();
    auto widest = [&] {
        const QFontMetrics fm(f);
        int w = 0;
        for (int i = 0; i < count; ++i)
            w = std::max(w, fm.horizontalAdvance(texts[i]));
        return w;
    };
    while (f.pixelSize() > MinSheetFontPixelSize && widest() > room)
        f.setPixelSize(f.pixelSize() - 1);
    grid->setFont(f);
}

QString CataloguePath()
{
    return CataloguePathFor(QCoreApplication::applicationFilePath());
}

// The selector completes typed text to the first entry that begins with it,
// whatever the case, and selects that entry; text that matches none leaves
// no entry selected.
void SetUpInlineCompletion(QComboBox* combo)
{
    combo->setCompleter(nullptr);
    QLineEdit* edit = combo->lineEdit();
    auto previous = std::make_shared<QString>();
    QObject::connect(
        edit, &QLineEdit::textEdited, combo, [combo, edit, previous](const QString& text) {
            const bool grew = text.size() > previous->size();
            *previous = text;
            int match = -1;
            for (int i = 0; i < combo->count(); ++i) {
                if (!text.isEmpty() && combo->itemText(i).startsWith(text, Qt::CaseInsensitive)) {
                    match = i;
                    break;
                }
            }
            if (match >= 0 && grew) {
                combo->setCurrentIndex(match);
                const QString item = combo->itemText(match);
                edit->setText(item);
                edit->setSelection(item.size(), -(item.size() - text.size()));
            } else if (match >= 0 &&
                       combo->itemText(match).compare(text, Qt::CaseInsensitive) == 0) {
                combo->setCurrentIndex(match);
                edit->setText(text);
            } else {
                combo->setCurrentIndex(-1);
                edit->setText(text);
            }
        });
}
} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("Trimwise Application"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont f = font();
    f.setPixelSize(FontPixelSize);
    setFont(f);
    move(192, 107);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setGeometry(56, 8, 169, 21);
    ComboBox1->setAccessibleName(QStringLiteral("Aircraft"));
    SetUpInlineCompletion(ComboBox1);

    Label1 = new QLabel(QStringLiteral("Avion:"), this);
    Label1->setGeometry(16, 12, 30, 13);
    Label1->adjustSize();
    Label1->setBuddy(ComboBox1);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(232, 8, 75, 25);

    StringGrid1 = new TStringGrid(this);
    StringGrid1->setGeometry(0, 48, 377, 385);
    StringGrid1->setAccessibleName(QStringLiteral("Loading sheet"));

    Chart1 = new TChart(this);
    Chart1->setGeometry(384, 48, 289, 385);
    Chart1->setAccessibleName(QStringLiteral("Moment Envelope"));
    Chart1->setAccessibleDescription(NoAircraftDescription());

    RadioButton1 = new QRadioButton(QStringLiteral("MKS"), this);
    RadioButton1->setGeometry(336, 8, 88, 17);
    RadioButton1->setChecked(true);

    RadioButton2 = new QRadioButton(QStringLiteral("Imperial"), this);
    RadioButton2->setGeometry(336, 25, 88, 17);
    RadioButton2->setEnabled(false);

    Series3 = new TArrowSeries;
    TChart::ConfigureSeries(*Series3, LoadPathArrows.arrowWidth, LoadPathArrows.arrowHeight,
                            LoadPathArrows.penWidth);

    Button2 = new QPushButton(QStringLiteral("Exit"), this);
    Button2->setGeometry(551, 8, 116, 25);

    Series1 = new TArrowSeries;
    TChart::ConfigureSeries(*Series1, EnvelopeArrows.arrowWidth, EnvelopeArrows.arrowHeight,
                            EnvelopeArrows.penWidth);

    Button3 = new QPushButton(QStringLiteral("Print"), this);
    Button3->setGeometry(511, 8, 75, 25);
    Button3->setEnabled(false);
    Button3->setVisible(false);

    Button4 = new QPushButton(QStringLiteral("Help"), this);
    Button4->setGeometry(430, 8, 115, 25);

    Chart1->AddSeries(Series3);
    Chart1->AddSeries(Series1);

    setTabOrder(ComboBox1, Button1);
    setTabOrder(Button1, StringGrid1);
    setTabOrder(StringGrid1, Chart1);
    setTabOrder(Chart1, RadioButton1);
    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, Button2);
    setTabOrder(Button2, Button3);
    setTabOrder(Button3, Button4);

    auto bind = [this](QPushButton* button, void (TForm1::*handler)()) {
        connect(button, &QPushButton::clicked, this,
                [this, handler] { TApplication::Guard([this, handler] { (this->*handler)(); }); });
    };
    bind(Button1, &TForm1::Button1Click);
    bind(Button2, &TForm1::Button2Click);
    bind(Button3, &TForm1::Button3Click);
    bind(Button4, &TForm1::Button4Click);
    StringGrid1->OnClick = [this] { Compute(); };
    StringGrid1->OnDblClick = [this] { StringGrid1DblClick(); };

    setWindowIcon(LoadIconFile(QStringLiteral("icon.ico")));

    {
        const TIniFile catalogue(CataloguePath());
        QStringList sections;
        catalogue.ReadSections(sections);
        ComboBox1->clear();
        ComboBox1->addItems(sections);
    }
    if (ComboBox1->count() > 0)
        ComboBox1->setCurrentIndex(0);

    SetOuterSize(CollapsedSize.width(), CollapsedSize.height());

    QString header[sheetColumns];
    for (int c = 0; c < sheetColumns; ++c)
        header[c] = HeaderLabel(SheetColumn(c));
    for (int c = 0; c < sheetColumns; ++c)
        StringGrid1->SetCell(c, 0, header[c]);
    FitSheetFontTo(StringGrid1, header, sheetColumns);
    for (int c = 0; c < sheetColumns; ++c)
        StringGrid1->SetCell(c, 1, UnitLabel(SheetColumn(c), false));

    ComboBox1->setFocus();
}

TForm1::~TForm1()
{
    // The chart refers to the series: it goes first.
    delete Chart1;
    Chart1 = nullptr;
    delete Series3;
    delete Series1;
    if (Form1 == this)
        Form1 = nullptr;
}

// Sizes are given with the frame they were laid out with, whatever frame the
// window manager draws: the client area, and so what it shows, stays the same.
QSize TForm1::OuterSize() const
{
    return size() + QSize(NominalFrameWidth, NominalFrameHeight);
}

void TForm1::SetOuterSize(int width, int height)
{
    setFixedSize(width - NominalFrameWidth, height - NominalFrameHeight);
}

int TForm1::SelectedAircraft() const
{
    return ComboBox1->currentIndex();
}

void TForm1::Button1Click()
{
    SetOuterSize(LoadedSize.width(), LoadedSize.height());
    Button1->setEnabled(false);
    ComboBox1->setEnabled(false);

    const TIniFile catalogue(CataloguePath());
    const int selected = SelectedAircraft();
    const QString section = selected >= 0 ? ComboBox1->itemText(selected) : QString();

    // The window shows what the load sets as it sets it: a load that stops
    // later leaves the caption and the unit indicators as far as it got.
    LoadSteps shown;
    shown.captionSet = [this](const QString& caption) { setWindowTitle(caption); };
    shown.imperialUnits = [this] {
        RadioButton1->setChecked(false);
        RadioButton1->setEnabled(false);
        RadioButton2->setChecked(true);
        RadioButton2->setEnabled(true);
    };
    ReadAircraft(
        section,
        [&](CatalogueKey key) { return catalogue.ReadString(section, KeyName(key), QString()); },
        *StringGrid1, m_aircraft, shown);

    StringGrid1->SetColWidth(colItem, StringGrid1->ColWidth(colItem) + ItemColumnWidening);
    StringGrid1->SetColWidth(colTorque, StringGrid1->ColWidth(colTorque) + TorqueColumnWidening);

    Compute();
}

void TForm1::Compute()
{
    // A screen reader hears what the chart shows, also when the computation
    // stops part-way and leaves the load path as it was.
    const auto describe = qScopeGuard([this] {
        Chart1->setAccessibleDescription(
            EnvelopeX.IsAllocated() ? LoadingDescription(*Series3, EnvelopePoints, EnvelopeX,
                                                         EnvelopeY, RadioButton2->isChecked())
                                    : NoAircraftDescription());
    });
    ComputeBalance(*StringGrid1, EnvelopePoints, EnvelopeX, EnvelopeY, *Series1, *Series3);
}

void TForm1::StringGrid1DblClick()
{
    const int c = StringGrid1->Col();
    const int r = StringGrid1->Row();
    if (IsEditableCell(c, r)) {
        OKBottomDlg->SetOldValue(StringGrid1->Cell(c, r));
        if (OKBottomDlg->ShowModal() == WinApi::mrOk)
            StringGrid1->SetCell(c, r, OKBottomDlg->AcceptedValue());
        CheckEdit(*StringGrid1, c, r, {SlotMinPos, SlotMaxPos, MaxTotalWeight},
                  [](const QString& warning) { TApplication::ShowMessage(warning); });
    }
    Compute();
}

void TForm1::Button2Click()
{
    EnvelopeX.Release();
    EnvelopeY.Release();
    SlotMinPos.Release();
    SlotMaxPos.Release();
    close();
}

void TForm1::Button3Click()
{
    Form2->show();
    Form2->raise();
    Form2->activateWindow();
    const ReportPaths paths = ReportPathsFor(QCoreApplication::applicationFilePath());
    Chart1->SaveToBitmapFile(paths.bitmapPath);
    Form2->CppWebBrowser1->Navigate(paths.url);
}

void TForm1::Button4Click()
{
    Application->HelpCommand(WinApi::HELP_CONTENTS, 0);
}
