#include "storm_network/storm_sewer_network_form.h"

#include "app/windows.h"
#include "catalogues/surface_runoff_table.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "storm/storm_water_form.h"
#include "storm_network/network_calculation.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/network_pipe_sizing.h"
#include "storm_network/storm_network_report.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_segment_list_form.h"
#include "textio/field_values.h"
#include "forms/handler.h"
#include "forms/refusal_view.h"

#include <QDebug>

#include <optional>

using catalogues::SurfaceRunoffTable;
using namespace Qt::StringLiterals;

StormSewerNetworkForm& form13()
{
    return forms::defaultInstance<StormSewerNetworkForm>();
}

namespace {
// The material list shows "HDPE双壁波纹管" whole: the window is wider by as
// much, the buttons keep to its right edge.
constexpr double kMaterialWidening = 150;
constexpr double kFrameWidth = StormCityView::kWidth + kMaterialWidening;
}

StormSewerNetworkForm::StormSewerNetworkForm()
    : CalculatorForm(StormCityView::kCaption, kFrameWidth + 15, 4320, Calculator::StormNetwork)
    , StormCityView(*this, 210, StormCityView::Mode::SegmentBySegment, kFrameWidth)
{
    setObjectName(QStringLiteral("form13"));

    using forms::ComboBox;
    const ComboBox::Style pickOnly = ComboBox::Style::PickOnly;
    constexpr double w = kMaterialWidening;

    // --- 设计参数; the P and t1 fields keep clear of "起点汇流时间t1".
    put(Frame4, nullptr, {"Frame4", 0, 1800, kFrameWidth, 1685, u"设计参数"_s});
    put(Label14, Frame4, {"Label14", 90, 270, 690, 285, u"重现期P"_s});
    put(Text1, Frame4, {"Text1", 1490, 225, 600, 270, u"2"_s});
    put(Label13, Frame4, {"Label13", 2160, 270, 285, 0, u"年"_s});
    put(Label1, Frame4, {"Label1", 2700, 270, 870, 0, u"折减系数"_s});
    put(Text2, Frame4, {"Text2", 3800, 225, 555, 285, u"2.0"_s});
    put(Label12, Frame4, {"Label12", 90, 630, 1380, 0, u"起点汇流时间t1"_s});
    put(Text3, Frame4, {"Text3", 1490, 585, 600, 285, u"10"_s});
    put(Label11, Frame4, {"Label11", 2160, 630, 360, 0, u"min"_s});
    put(Label17, Frame4, {"Label17", 2700, 630, 915, 285, u"径流系数Ψ"_s});
    put(Text4, Frame4, {"Text4", 3800, 585, 555, 270, catalogues::kDefaultRunoffCoefficientText});
    put(Label32, Frame4, {"Label32", 90, 990, 1500, 285, u"请选择地面类型"_s});
    put(Combo4, Frame4, {"Combo4", 90, 1250, 2265}, pickOnly);
    put(Label2, Frame4, {"Label2", 2700, 990, 915, 285, u"请选择管材"_s});
    // Wide enough for "HDPE双壁波纹管" in the CJK font in use.
    put(Combo5, Frame4, {"Combo5", 2700, 1250, 1755 + w}, pickOnly);

    // 计 算, 输 入 (the default button, set at load) and 退 出.
    put(Command1, nullptr, {"Command1", 2700 + w, 3600, 825, 690, u"计 算"_s});
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));
    put(Command3, nullptr, {"Command3", 3645 + w, 3600, 840, 330, u"输 入"_s});
    put(Command2, nullptr, {"Command2", 3645 + w, 3960, 840, 330, u"退 出"_s});
    // Beyond the client area: nothing shows, enables or clicks it.
    put(Command5, nullptr, {"Command5", 4620 + w, 3600, 1200, 345, u"Command5"_s});
    Command5->hide();

    // Tab order: top to bottom, then the buttons.
    tabOrder({Combo6, Combo3, Option3, Option4, Text1, Text2, Text3, Text4, Combo4, Combo5, Command1,
              Command3, Command2});

    connectHandlers();
}

void StormSewerNetworkForm::connectHandlers()
{
    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo6_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo4_Click);
    forms::connectHandler(Combo5, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo5_Click);
    forms::connectHandler(Text1, &forms::TextBox::DblClick, this, &StormSewerNetworkForm::Text1_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command3_Click);
    forms::connectHandler(Command5, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command5_Click);
    forms::connectHandler(Option3, &forms::OptionButton::Click, this, &StormSewerNetworkForm::Option3_Click);
}

void StormSewerNetworkForm::Form_Load()
{
    appendVersionToCaption();
    for (int material = 0; material < static_cast<int>(Combo1.size()); ++material) {
        WorkingList& diameters = Combo1[static_cast<std::size_t>(material)];
        diameters.List = storm_network::NetworkDiameterList(material);
        diameters.Text = diameters.List.value(0);
    }
    for (const QString& surface : SurfaceRunoffTable::SurfaceTypes())
        Combo4->AddItem(surface);
    for (const QString& material : storm_network::NetworkMaterials())
        Combo5->AddItem(material);
    Combo5->setListIndex(storm_network::kReinforcedConcretePipe);
    loadCities();
    Combo7.List = storm_network::NetworkRoughnessList();
    Combo7.Text = Combo7.List.value(storm_network::kReinforcedConcretePipe);
    Text4->setText(catalogues::kDefaultRunoffCoefficientText);
    setDefaultButton(Command3);
    Text5 = QStringLiteral("0");
}

// ------------------------------------------------------------ city and formula

void StormSewerNetworkForm::Combo6_Click()
{
    provinceChosen();
}

void StormSewerNetworkForm::Combo3_Click()
{
    // A city offered without a formula shows an empty fraction, which the
    // report prints under its name, not the formula of another city.
    cityChosen();
}

// ------------------------------------------------------------ design parameters

void StormSewerNetworkForm::Combo4_Click()
{
    if (const std::optional<QString> coefficient =
            SurfaceRunoffTable::CoefficientText(Combo4->Text()))
        Text4->setText(*coefficient);
}

void StormSewerNetworkForm::Combo5_Click()
{
    // The roughness of the chosen material; its diameters are Combo1 at the
    // same position.
    Combo7.Text = Combo7.List.value(Combo5->ListIndex());
}

void StormSewerNetworkForm::Text1_DblClick()
{
    Text1->setText(QString());
}

// ------------------------------------------------------------ buttons

void StormSewerNetworkForm::Command1_Click()
{
    // The running sums start again with every run, also one that finds no
    // segments to design.
    Text5 = QStringLiteral("0");
    trans = QStringLiteral("0");
    StormSegmentListForm& list = Form14();
    if (list.rows().empty()) {
        // The result table is cleared first, also by a run that finds no
        // segments to design.
        Form15().ClearResultRows();
        list.openForInput();
        return;
    }
    calculateNetwork();
}

void StormSewerNetworkForm::calculateNetwork()
{
    using namespace storm_network;
    // The table is emptied and back on its first page before anything is
    // checked; a refused run leaves it so.
    StormResultGridForm& grid = Form15();
    grid.ClearResultRows();

    StormSegmentListForm& list = Form14();
    const std::vector<SegmentRow>& segments = list.rows();
    NetworkOutcome outcome = CalculateNetwork(parameters(), segments);
    if (outcome.refusal) {
        // The segments' own fields are the segment list's: the message names
        // the segment, the focus stays.
        const forms::FieldControls<NetworkField> controls{{NetworkField::ReturnPeriod, Text1},
                                                          {NetworkField::InitialTime, Text3},
                                                          {NetworkField::Reduction, Text2}};
        controls.refuse(*outcome.refusal);
        return;
    }

    // The work files never stop the run.
    list.Hide();
    if (const std::optional<QString> error = WriteSegmentWorkFile(segments))
        noteWorkFileFailure(*error);

    NetworkRun& run = outcome.values;
    grid.showRun(std::move(run.rows), run.totalLength);
    Text5 = run.sums.flowTime;
    trans = run.sums.transferredArea;
    grid.Show();
    Hide();

    if (const std::optional<QString> error =
            WriteReportWorkFile(reportHeader(), grid.table()))
        noteWorkFileFailure(*error);
}

void StormSewerNetworkForm::noteWorkFileFailure(const QString& error)
{
    qWarning().noquote() << error;
    // Told once in a run of the program (the window lives as long as it
    // does); a data folder that stays unwritable would else ask at every
    // calculation.
    if (m_workFileFailureTold)
        return;
    m_workFileFailureTold = true;
    forms::showNotice(storm_network::WorkFileFailureNotice(error));
}

storm_network::NetworkParameters StormSewerNetworkForm::parameters() const
{
    const int material = Combo5->ListIndex();
    storm_network::NetworkParameters parameters;
    parameters.returnPeriod = Text1->Text();
    parameters.initialTime = Text3->Text();
    parameters.reduction = Text2->Text();
    parameters.city = Combo3->Text();
    parameters.roughness = Combo7.Text;
    if (material >= 0 && material < static_cast<int>(Combo1.size()))
        parameters.diameters = Combo1[static_cast<std::size_t>(material)].List;
    return parameters;
}

storm_network::ReportHeader StormSewerNetworkForm::reportHeader() const
{
    return storm_network::ReportHeader{
        .province = Combo6->Text(),
        .city = Combo3->Text(),
        .formulaSymbol = Label5->Caption(),
        .formulaNumerator = Label6->Caption(),
        .formulaDenominator = Label29->Caption(),
        .returnPeriod = Text1->Text(),
        .reduction = Text2->Text(),
        .initialTime = Text3->Text(),
        .material = Combo5->Text(),
    };
}

QString StormSewerNetworkForm::defaultRunoff() const
{
    return Text4->Text();
}

void StormSewerNetworkForm::Command5_Click()
{
    // The 设计管径 shortcut on the first row alone, with the roughness and
    // the sizes listed for the material; without a calculated first row it
    // does nothing.
    StormResultGridForm& grid = Form15();
    const int material = Combo5->ListIndex();
    if (material < 0 || material >= static_cast<int>(Combo1.size()))
        return;
    if (storm_network::SizeFirstRow(grid.table(), Combo7.List.value(material),
                                    Combo1[static_cast<std::size_t>(material)].List))
        grid.refresh();
}

void StormSewerNetworkForm::Command3_Click()
{
    Form14().openForInput();
}

void StormSewerNetworkForm::Option3_Click()
{
    // Back to the single-catchment window, at this window's place; this
    // window keeps every value for the return.
    StormWaterForm& storm = form2();
    storm.Option3->setValue(true);
    storm.setTop(Top());
    storm.setLeft(Left());
    storm.Show();
    Hide();
}
