// The 雨水管道水力计算 window `form13`: the design parameters of a storm
// sewer run designed segment by segment: the city whose rainfall intensity
// formula applies, the return period P, the initial concentration time t1,
// the reduction factor m, the runoff coefficient Ψ offered for new segments
// and the pipe material, which fixes the roughness and the diameters the
// sizing walks. "输 入" opens the segment list `Form14` beside it, "计 算"
// designs the run. Its option "自动计算" switches back to the storm water
// window `form2`, whose option "手工逐段计算" leads here.
//
// Every value is held as the text of its field and read as a number only
// when a calculation or an adjustment runs.
#pragma once

#include "app/calculator_form.h"
#include "storm/storm_city_view.h"
#include "storm_network/network_calculation.h"
#include "storm_network/storm_network_report.h"

#include <QString>
#include <QStringList>

#include <array>

class StormSewerNetworkForm : public CalculatorForm, public StormCityView {
    Q_OBJECT
public:
    StormSewerNetworkForm();

    void Form_Load() override;

    // City and formula display.
    void Combo6_Click();
    void Combo3_Click();
    // Surface type and pipe material.
    void Combo4_Click();
    void Combo5_Click();
    void Text1_DblClick();
    // 计 算 and 输 入; 退 出 is Exit_Click.
    void Command1_Click();
    void Command3_Click();
    // The single-segment sizing behind the hidden button.
    void Command5_Click();
    // 自动计算: back to the storm water window.
    void Option3_Click();

    // Designs the run of the segment list, segment by segment, into the
    // result table; "计 算" runs it when the list holds segments.
    void calculateNetwork();

    // What the other network windows read of this one, as it holds it now
    // (a parameter changed after the calculation is used):
    // the design parameters of the calculation and the adjustment,
    storm_network::NetworkParameters parameters() const;
    // the texts the report's header copies,
    storm_network::ReportHeader reportHeader() const;
    // and the runoff coefficient offered for a new segment.
    QString defaultRunoff() const;

    // 选择城市 and 计算方式: the city block's controls (StormCityView); the
    // city text of Combo3 is the city the calculation looks up, and Option3
    // (自动计算) leads back to the storm water window.

    // 设计参数
    forms::Frame* Frame4;
    forms::Label* Label14;
    forms::TextBox* Text1;    // return period P, years
    forms::Label* Label13;
    forms::Label* Label1;
    forms::TextBox* Text2;    // reduction factor m
    forms::Label* Label12;
    forms::TextBox* Text3;    // initial concentration time t1, minutes
    forms::Label* Label11;
    forms::Label* Label17;
    forms::TextBox* Text4;    // runoff coefficient Ψ offered for new segments
    forms::Label* Label32;
    forms::ComboBox* Combo4;  // surface type
    forms::Label* Label2;
    forms::ComboBox* Combo5;  // pipe material; its position indexes Combo1 and Combo7

    forms::CommandButton* Command1;  // 计 算
    forms::CommandButton* Command3;  // 输 入, the default button
    forms::CommandButton* Command2;  // 退 出
    forms::CommandButton* Command5;  // never shown

    // Working fields of the calculation, never shown.

    // A list that is never shown: its entries and its text.
    struct WorkingList {
        QStringList List;
        QString Text;
    };
    // Diameters in mm of each pipe material, by the material's position in
    // Combo5; each text is its first (smallest) size.
    std::array<WorkingList, 2> Combo1;
    // Manning roughness n per material position; its text is the n of the
    // chosen material.
    WorkingList Combo7;
    // Running sum of the pipe flow times of the segments computed so far, min.
    QString Text5;
    // Running sum of the catchment areas of the segments computed so far, ha.
    QString trans = QStringLiteral("trans");

private:
    // Connects the controls' events to their handlers, once the window is built.
    void connectHandlers();
    // A work file that could not be written: told once, the run goes on.
    void noteWorkFileFailure(const QString& error);
    bool m_workFileFailureTold = false;
};
