#include "storm_network/storm_sewer_network_form.h"

#include "app/windows.h"
#include "catalogues/surface_runoff_table.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "storm/storm_water_form.h"
#include "app/input_check.h"
#include "storm_network/network_calculation.h"
#include "storm_network/network_catalogue.h"
#include "storm_network/network_pipe_sizing.h"
#include "storm_network/storm_network_report.h"
#include "storm_network/storm_result_grid_form.h"
#include "storm_network/storm_segment_list_form.h"
#include "textio/field_values.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <QDebug>

#include <optional>

using catalogues::SurfaceRunoffTable;

StormSewerNetworkForm& form13()
{
    return forms::defaultInstance<StormSewerNetworkForm>();
}

namespace {
const QString& kDesignCaption = StormCityView::kCaption;
// The material list shows "HDPE双壁波纹管" whole: the window is wider by as
// much, the buttons keep to its right edge.
constexpr double kMaterialWidening = 150;
constexpr double kFrameWidth = StormCityView::kWidth + kMaterialWidening;
}

StormSewerNetworkForm::StormSewerNetworkForm()
    : CalculatorForm(kDesignCaption, kFrameWidth + 15, 4320, Calculator::StormNetwork)
    , StormCityView(*this, 210, StormCityView::Mode::SegmentBySegment, kFrameWidth)
{
    setObjectName(QStringLiteral("form13"));

    // --- 设计参数
    Frame4 = addWithCaption<forms::Frame>("Frame4", 0, 1800, kFrameWidth, 1685, QStringLiteral("设计参数"));
    auto label = [this](const char* name, const QString& caption, double left, double top,
                        double width, double height) {
        forms::Label* l = addInWithCaption<forms::Label>(Frame4, name, left, top, width, height,
                                                         caption);
        return l;
    };
    auto field = [this](const char* name, const QString& text, double left, double top,
                        double width, double height) {
        forms::TextBox* box = addIn<forms::TextBox>(Frame4, name, left, top, width, height);
        box->setText(text);
        return box;
    };
    Label14 = label("Label14", QStringLiteral("重现期P"), 90, 270, 690, 285);
    // The P and t1 fields keep clear of "起点汇流时间t1".
    Text1 = field("Text1", QStringLiteral("2"), 1490, 225, 600, 270);
    Label13 = label("Label13", QStringLiteral("年"), 2160, 270, 285, 240);
    Label1 = label("Label1", QStringLiteral("折减系数"), 2700, 270, 870, 240);
    Text2 = field("Text2", QStringLiteral("2.0"), 3800, 225, 555, 285);
    Label12 = label("Label12", QStringLiteral("起点汇流时间t1"), 90, 630, 1380, 240);
    Text3 = field("Text3", QStringLiteral("10"), 1490, 585, 600, 285);
    Label11 = label("Label11", QStringLiteral("min"), 2160, 630, 360, 240);
    Label17 = label("Label17", QStringLiteral("径流系数Ψ"), 2700, 630, 915, 285);
    Text4 = field("Text4", catalogues::kDefaultRunoffCoefficientText, 3800, 585, 555, 270);
    Label32 = label("Label32", QStringLiteral("请选择地面类型"), 90, 990, 1500, 285);
    Combo4 = addIn<forms::ComboBox>(Frame4, "Combo4", 90, 1250, 2265, 300,
                                    forms::ComboBox::Style::PickOnly);
    Label2 = label("Label2", QStringLiteral("请选择管材"), 2700, 990, 915, 285);
    // Wide enough for "HDPE双壁波纹管" in the CJK font in use.
    Combo5 = addIn<forms::ComboBox>(Frame4, "Combo5", 2700, 1250, 1755 + kMaterialWidening, 300,
                                    forms::ComboBox::Style::PickOnly);

    Command1 = addWithCaption<forms::CommandButton>("Command1", 2700 + kMaterialWidening, 3600, 825, 690,
                                                    QStringLiteral("计 算"));
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));
    Command3 = addWithCaption<forms::CommandButton>("Command3", 3645 + kMaterialWidening, 3600, 840, 330,
                                                    QStringLiteral("输 入"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 3645 + kMaterialWidening, 3960, 840, 330,
                                                    QStringLiteral("退 出"));
    // Beyond the client area: nothing shows, enables or clicks it.
    Command5 = addWithCaption<forms::CommandButton>("Command5", 4620 + kMaterialWidening, 3600, 1200, 345,
                                                    QStringLiteral("Command5"));
    Command5->hide();

    // Tab order: top to bottom, then the buttons.
    QWidget* const order[] = {Combo6, Combo3, Option3, Option4, Text1, Text2, Text3, Text4,
                              Combo4, Combo5, Command1, Command3, Command2};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo6_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo4_Click);
    forms::connectHandler(Combo5, &forms::ComboBox::Click, this, &StormSewerNetworkForm::Combo5_Click);
    forms::connectHandler(Text1, &forms::TextBox::DblClick, this, &StormSewerNetworkForm::Text1_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command3_Click);
    forms::connectHandler(Command5, &forms::CommandButton::Click, this, &StormSewerNetworkForm::Command5_Click);
    forms::connectHandler(Option3, &forms::OptionButton::Click, this, &StormSewerNetworkForm::Option3_Click);
}

void StormSewerNetworkForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
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
    NetworkCalculationResult result = CalculateNetwork(parameters(), segments);
    if (result.error) {
        QWidget* field = nullptr;
        if (result.error->field == NetworkField::ReturnPeriod)
            field = Text1;
        else if (result.error->field == NetworkField::InitialTime)
            field = Text3;
        else if (result.error->field == NetworkField::Reduction)
            field = Text2;
        refuseInput(result.error->message, result.error->title, field);
        return;
    }

    // The work files never stop the run.
    list.Hide();
    if (const std::optional<QString> error = WriteSegmentWorkFile(segments))
        noteWorkFileFailure(*error);

    grid.showRun(std::move(result.run.rows), result.run.totalLength);
    Text5 = result.run.sums.flowTime;
    trans = result.run.sums.transferredArea;
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
    forms::MsgBox(error + QChar(10) + QStringLiteral("数据文件夹中的工作文件未能更新，计算照常进行。"),
                  forms::vbExclamation, textio::kHintTitle);
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
    using namespace storm_network;
    // Chooses the diameter and slope of the first row alone, from its design
    // flow and the roughness listed for the material; the slope keeps the
    // text of the choice. Without a calculated first row it does nothing.
    StormResultGridForm& grid = Form15();
    ResultTable& table = grid.table();
    const std::optional<double> flow = textio::readNumber(table.text(0, kDesignFlow));
    const int material = Combo5->ListIndex();
    if (!flow || material < 0 || material >= static_cast<int>(Combo1.size()))
        return;
    const std::optional<double> n = textio::readNumber(Combo7.List.value(material));
    if (!n)
        return;
    const std::optional<PipeChoice> choice =
        ChooseNetworkPipe(*flow, *n, Combo1[static_cast<std::size_t>(material)].List);
    if (!choice)
        return;
    table.setText(0, kDiameter, choice->diameter);
    table.setText(0, kSlope, choice->slope);
    grid.refresh();
}

void StormSewerNetworkForm::Command3_Click()
{
    Form14().openForInput();
}

void StormSewerNetworkForm::Command2_Click()
{
    forms::endProgram();
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
