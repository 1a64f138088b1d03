// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/FloatArray.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class TArrowSeries;
class TChart;
class TStringGrid;

// The main window: aircraft selector, loading sheet, envelope chart and the
// command buttons.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    QComboBox* ComboBox1;
    QLabel* Label1;
    QPushButton* Button1;
    TStringGrid* StringGrid1;
    TChart* Chart1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    TArrowSeries* Series3;
    QPushButton* Button2;
    TArrowSeries* Series1;
    QPushButton* Button3;
    QPushButton* Button4;

    // Per-aircraft state, from the load to the end of the run.
    TFloatArray EnvelopeX;
    TFloatArray EnvelopeY;
    TFloatArray SlotMinPos;
    TFloatArray SlotMaxPos;
    float MaxTotalWeight = 0;
    int EnvelopePoints = 0;

    void Button1Click();
    // The recomputation; the chart's accessible description then states
    // where the load path ends, the centre of gravity and the verdict on the
    // envelope, whether it completed or not.
    void Compute();
    void StringGrid1DblClick();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // The window's outer size with the frame and title bar it was laid out with.
    QSize OuterSize() const;
    void SetOuterSize(int width, int height);

    // The selected entry of the selector, -1 when none.
    int SelectedAircraft() const;
};

extern TForm1* Form1;
