// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/AircraftLoad.h"
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
    // The loaded aircraft as the load writes it; the per-aircraft members
    // below name its parts, so that a load that stops part-way leaves them
    // filled up to where it stopped.
    AircraftState m_aircraft;

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
    TFloatArray& EnvelopeX = m_aircraft.envelopeX;
    TFloatArray& EnvelopeY = m_aircraft.envelopeY;
    TFloatArray& SlotMinPos = m_aircraft.slotMinPos;
    TFloatArray& SlotMaxPos = m_aircraft.slotMaxPos;
    float& MaxTotalWeight = m_aircraft.maxTotalWeight;
    int& EnvelopePoints = m_aircraft.envelopePoints;

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
