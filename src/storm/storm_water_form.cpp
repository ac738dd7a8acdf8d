#include "storm/storm_water_form.h"

#include "app/input_check.h"
#include "forms/refusal_view.h"
#include "app/windows.h"
#include "catalogues/gravity_pipe_catalogue.h"
#include "catalogues/surface_runoff_table.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "forms/platform.h"
#include "storm/storm_pipe_sizing.h"
#include "storm/storm_water_design.h"
#include "storm_network/storm_sewer_network_form.h"
#include "forms/handler.h"

#include <optional>

using catalogues::kDiameterPrompt;
using catalogues::kSlopePrompt;
using catalogues::SurfaceRunoffTable;
namespace GravityPipeCatalogue = catalogues::GravityPipeCatalogue;
namespace MinSlopeTable = catalogues::MinSlopeTable;

using namespace Qt::StringLiterals;

StormWaterForm& form2()
{
    return forms::defaultInstance<StormWaterForm>();
}

namespace {

const QString kSurfacePrompt = QStringLiteral("请选择地面种类");

// Top of the check panel in the client area: below what the window shows
// with the panel closed, whatever the height of its title and menu bars.
constexpr double kPanelTop = 5760;

// The frames' width: the result fields hold the general texts of the
// intensity and the flows whole ("0.00212528980294518" of a small roof),
// and what stands right of them moves right by kRightShift; the design
// parameters' right-hand column moves with it.
constexpr double kFrameWidth = 5490;
constexpr double kRightShift = kFrameWidth - StormCityView::kWidth;
// A result field of a general number text.
constexpr double kGeneralResultWidth = 2010;

}  // namespace

StormWaterForm::StormWaterForm()
    : CalculatorForm(StormCityView::kCaption, kFrameWidth + 15, 5550, Calculator::StormWater)
    , StormCityView(*this, 240, StormCityView::Mode::Automatic, kFrameWidth)
{
    setObjectName(QStringLiteral("form2"));

    using forms::ComboBox;
    const ComboBox::Style editable = ComboBox::Style::Editable;
    // The units right of the general results, the pipe column right of them.
    constexpr double unitLeft = 900 + kGeneralResultWidth + 60;
    // The check panel: two frames side by side across the window, the
    // buttons below them.
    constexpr double halfWidth = (kFrameWidth - 60) / 2;
    constexpr double panelButtonsTop = kPanelTop + 1770;

    // --- 设计参数
    put(Frame4, nullptr, {"Frame4", 0, StormCityView::kBottom, kFrameWidth, 1800, u"设计参数"_s});
    put(Label1, Frame4, {"Label1", 90, 270, 780, 0, u"重现期P"_s});
    put(Text12, Frame4, {"Text12", 900, 225, 600, 285, u"2"_s});
    put(Label2, Frame4, {"Label2", 1560, 270, 300, 0, u"年"_s});
    put(Label3, Frame4, {"Label3", 2340 + kRightShift, 270, 900, 0, u"降水历时t"_s});
    put(Text11, Frame4, {"Text11", 3270 + kRightShift, 225, 600, 285, u"20"_s});
    put(Label4, Frame4, {"Label4", 3930 + kRightShift, 270, 480, 0, u"分钟"_s});
    put(Label7, Frame4, {"Label7", 90, 630, 780, 0, u"汇水面积"_s});
    put(Text13, Frame4, {"Text13", 900, 585, 1200, 285});
    put(Label8, Frame4, {"Label8", 2145, 630, 570, 0, u"平方米"_s});
    put(Label10, Frame4, {"Label10", 2340 + kRightShift, 630, 900, 0, u"管道数量"_s});
    put(Text9, Frame4, {"Text9", 3270 + kRightShift, 585, 600, 285, u"1"_s});
    put(Combo4, Frame4, {"Combo4", 90, 945, 2160, 315, kSurfacePrompt}, editable);
    put(Label11, Frame4, {"Label11", 2340 + kRightShift, 990, 900, 0, u"径流系数Ψ"_s});
    put(Text14, Frame4, {"Text14", 3270 + kRightShift, 945, 600, 285,
                           catalogues::kDefaultRunoffCoefficientText});
    put(Option1, Frame4, {"Option1", 90, 1395, 1260, 240, u"屋面(单斗)"_s});
    put(Option2, Frame4, {"Option2", 1440, 1395, 750, 240, u"室外"_s});
    put(Label12, Frame4, {"Label12", 2340 + kRightShift, 1395, 930, 0, u"请选择管材"_s});
    put(Combo5, Frame4, {"Combo5", 3285 + kRightShift, 1350, 1125, 315}, editable);

    // --- 计算结果
    put(Frame1, nullptr, {"Frame1", 0, 3645, kFrameWidth, 1455, u"计算结果"_s});
    put(Label13, Frame1, {"Label13", 90, 315, 780, 0, u"暴雨强度"_s});
    put(Text2, Frame1, {"Text2", 900, 270, kGeneralResultWidth, 285});
    put(Label14, Frame1, {"Label14", unitLeft, 315, 660, 0, u"L/s·ha"_s});
    put(Label21, Frame1, {"Label21", 2700 + kRightShift, 315, 780, 0, u"雨水管径"_s});
    put(Text3, Frame1, {"Text3", 3510 + kRightShift, 270, 900, 285});
    put(Label15, Frame1, {"Label15", 90, 675, 780, 0, u"总 流 量"_s});
    put(Text10, Frame1, {"Text10", 900, 630, kGeneralResultWidth, 285});
    put(Label16, Frame1, {"Label16", unitLeft, 675, 480, 0, u"L/s"_s});
    put(Label20, Frame1, {"Label20", 2700 + kRightShift, 675, 780, 0, u"设计坡度"_s});
    put(Text5, Frame1, {"Text5", 3510 + kRightShift, 630, 600, 285});
    put(Label30, Frame1, {"Label30", 4170 + kRightShift, 675, 240, 0, u"‰"_s});
    put(Label17, Frame1, {"Label17", 90, 1035, 780, 0, u"雨水流量"_s});
    put(Text4, Frame1, {"Text4", 900, 990, kGeneralResultWidth, 285});
    put(Label19, Frame1, {"Label19", unitLeft, 1035, 480, 0, u"L/s"_s});

    put(Label28, nullptr, {"Label28", 90, 5205, 1650, 300});
    put(Command1, nullptr, {"Command1", 1800 + kRightShift, 5160, 840, 345, u"计 算"_s});
    put(Command3, nullptr, {"Command3", 2730 + kRightShift, 5160, 840, 345, u"校核"_s});
    put(Command2, nullptr, {"Command2", 3660 + kRightShift, 5160, 840, 345, u"退出"_s});

    // --- Full-pipe check panel, below the client area.
    put(Frame2, nullptr, {"Frame2", 0, kPanelTop, halfWidth, 1680, u"设计参数"_s});
    put(Combo1, Frame2, {"Combo1", 150, 300, halfWidth - 300, 315, kDiameterPrompt}, editable);
    put(Label9, Frame2, {"Label9", 150, 750, halfWidth - 300, 0, u"坡度i（‰）"_s});
    put(Combo2, Frame2, {"Combo2", 150, 1080, halfWidth - 300, 315, kSlopePrompt}, editable);
    put(Frame5, nullptr, {"Frame5", halfWidth + 60, kPanelTop, halfWidth, 1680, u"计算结果"_s});
    put(Label18, Frame5, {"Label18", 150, 405, 600, 0, u"流速v"_s});
    // Wide enough for the capacity of the largest pipe at the steepest
    // slope, "1752634.156".
    put(Text19, Frame5, {"Text19", 780, 360, 1260, 285});
    put(Label23, Frame5, {"Label23", 2100, 405, 450, 0, u"m/s"_s});
    put(Label24, Frame5, {"Label24", 150, 1005, 600, 0, u"流量Q"_s});
    put(Text20, Frame5, {"Text20", 780, 960, 1260, 285});
    put(Label25, Frame5, {"Label25", 2100, 1005, 450, 0, u"L/s"_s});
    put(Command4, nullptr, {"Command4", 240, panelButtonsTop, 1000, 345, u"计 算"_s});
    put(Command6, nullptr, {"Command6", (kFrameWidth - 1000) / 2, panelButtonsTop, 1000, 345, u"清零"_s});
    put(Command5, nullptr, {"Command5", kFrameWidth - 1240, panelButtonsTop, 1000, 345, u"返回"_s});

    // --- Working fields, never shown.
    put(Text1, nullptr, {"Text1", kFrameWidth + 120, 0, 600, 285});
    put(Text6, nullptr, {"Text6", kFrameWidth + 120, 360, 600, 285});
    put(Text7, nullptr, {"Text7", kFrameWidth + 120, 720, 600, 285});
    for (QWidget* hidden : {Text1, Text6, Text7})
        hidden->hide();

    // The outdoor outlet: the state every other control opens in.
    Option2->setValue(true);
    Combo5->setText(storm::StormPipeSizingTable::Materials(storm::OutletKind::Outdoor).first());
    for (forms::TextBox* result : {Text2, Text3, Text10, Text5, Text4, Text19, Text20})
        result->setLocked(true);
    Label28->setFont(forms::fontFor(QStringLiteral("宋体"), 12, true));
    Label28->setCaption(QStringLiteral("雨水水力计算"));

    setDefaultButton(Command1);
    setCancelButton(Command5);

    // Tab order: top to bottom, then the check panel.
    tabOrder({Combo6, Combo3, Option3, Option4, Text12, Text11, Text13, Text9, Combo4, Text14, Option1,
              Option2, Combo5, Text2, Text3, Text10, Text5, Text4, Command1, Command3, Command2, Combo1,
              Combo2, Text19, Text20, Command4, Command6, Command5});

    connectHandlers();
}

void StormWaterForm::connectHandlers()
{
    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &StormWaterForm::Combo6_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &StormWaterForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &StormWaterForm::Combo4_Click);
    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &StormWaterForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &StormWaterForm::Option2_Click);
    forms::connectHandler(Option4, &forms::OptionButton::Click, this, &StormWaterForm::Option4_Click);
    forms::connectHandler(Text11, &forms::TextBox::DblClick, this, &StormWaterForm::Text11_DblClick);
    forms::connectHandler(Text12, &forms::TextBox::DblClick, this, &StormWaterForm::Text12_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormWaterForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &StormWaterForm::Command3_Click);
    forms::connectHandler(Command5, &forms::CommandButton::Click, this, &StormWaterForm::Command5_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &StormWaterForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &StormWaterForm::Combo2_Click);
    forms::connectHandler(Command4, &forms::CommandButton::Click, this, &StormWaterForm::Command4_Click);
    forms::connectHandler(Command6, &forms::CommandButton::Click, this, &StormWaterForm::Command6_Click);
}

void StormWaterForm::Form_Load()
{
    appendVersionToCaption();
    for (const QString& diameter : GravityPipeCatalogue::stormDrainDiameterList())
        Combo1->AddItem(diameter);
    for (const QString& slope : GravityPipeCatalogue::drainSlopeList())
        Combo2->AddItem(slope);
    for (const QString& surface : SurfaceRunoffTable::SurfaceTypes())
        Combo4->AddItem(surface);
    for (const QString& material : storm::StormPipeSizingTable::Materials(storm::OutletKind::Outdoor))
        Combo5->AddItem(material);
    loadCities();
}

// ------------------------------------------------------------ city and formula

void StormWaterForm::Combo6_Click()
{
    provinceChosen();
}

void StormWaterForm::Combo3_Click()
{
    cityChosen();
}

// ------------------------------------------------------------ design parameters

void StormWaterForm::Combo4_Click()
{
    if (const std::optional<QString> coefficient =
            SurfaceRunoffTable::CoefficientText(Combo4->Text()))
        Text14->setText(*coefficient);
}

void StormWaterForm::Option1_Click()
{
    // Roof single outlet: a short rainfall duration, the roof's coefficient,
    // no design slope and no check of a gravity pipe.
    Text11->setText(QStringLiteral("5"));
    Text14->setText(QStringLiteral("0.9"));
    Combo4->setEnabled(false);
    Combo4->setText(kSurfacePrompt);
    Text5->hide();
    Label20->hide();
    Label30->hide();
    Command3->setEnabled(false);
    fillMaterials(storm::OutletKind::RoofSingleOutlet);
}

void StormWaterForm::Option2_Click()
{
    Text11->setText(QStringLiteral("20"));
    Text14->setText(catalogues::kDefaultRunoffCoefficientText);
    Combo4->setEnabled(true);
    Text5->show();
    Label20->show();
    Label30->show();
    Command3->setEnabled(true);
    fillMaterials(storm::OutletKind::Outdoor);
}

void StormWaterForm::fillMaterials(storm::OutletKind kind)
{
    // The outlet pipe materials of the outlet kind, the first one shown.
    Combo5->Clear();
    const QStringList materials = storm::StormPipeSizingTable::Materials(kind);
    Combo5->setText(materials.first());
    for (const QString& material : materials)
        Combo5->AddItem(material);
}

void StormWaterForm::showEvent(QShowEvent* e)
{
    // "手工逐段计算" stays selected in the hidden window after the switch to
    // the network window; whichever way the window comes back, one click on
    // it switches again and 校核 opens the check panel.
    forms::runHandler([this] { Option3->setValue(true); });
    CalculatorForm::showEvent(e);
}

void StormWaterForm::Option4_Click()
{
    // The network window keeps its segments and values, as every window
    // keeps its inputs; its list's 清除全部 starts afresh.
    StormSewerNetworkForm& network = form13();
    network.Option4->setValue(true);
    network.setLeft(Left());
    network.setTop(Top());
    network.Show();
    Hide();
}

void StormWaterForm::Text11_DblClick()
{
    Text11->setText(QString());
}

void StormWaterForm::Text12_DblClick()
{
    Text12->setText(QString());
}

// ------------------------------------------------------------ design flow

void StormWaterForm::Command1_Click()
{
    const storm::StormWaterOutcome outcome = storm::DesignStormWater(
        {.returnPeriod = Text12->Text(),
         .duration = Text11->Text(),
         .city = Combo3->Text(),
         .area = Text13->Text(),
         .runoff = Text14->Text(),
         .pipeCount = Text9->Text(),
         .kind = Option1->Value() ? storm::OutletKind::RoofSingleOutlet
                                  : storm::OutletKind::Outdoor,
         .material = Combo5->Text()});
    const storm::StormWaterDesign& design = outcome.values;
    if (!design.intensity.isEmpty())
        Text2->setText(design.intensity);
    if (outcome.refusal) {
        using Field = storm::StormWaterField;
        const forms::FieldControls<Field> controls{
            {Field::ReturnPeriod, Text12}, {Field::Duration, Text11}, {Field::City, Combo3},
            {Field::Area, Text13},         {Field::Runoff, Text14},   {Field::PipeCount, Text9}};
        controls.refuse(*outcome.refusal);
        return;
    }
    // An empty area: the intensity alone.
    if (!design.flows)
        return;
    Text10->setText(design.flows->total);
    Text4->setText(design.flows->perPipe);
    Text1->setText(design.flows->perPipeM3h);
    showOutletPipe(design.flows->pipe);
}

void StormWaterForm::showOutletPipe(const storm::OutletPipeChoice& choice)
{
    // A typed material of no list keeps the earlier pipe on screen.
    if (choice.writesDiameter)
        Text3->setText(choice.diameter);
    if (choice.writesSlope)
        Text5->setText(choice.slope);
    if (choice.warning)
        forms::showNotice(*choice.warning);
}

// ------------------------------------------------------------ full-pipe check

void StormWaterForm::Command3_Click()
{
    if (!Option3->Value())
        return;
    // Already in view (the outdoor outlet kind re-enables 校核): the window
    // keeps its size.
    if (!m_checkPanelOpen) {
        setHeight(Height() + kPanelHeight);
        setTop((ScreenHeight() - Height()) / 2);
        m_checkPanelOpen = true;
    }
    Command3->setEnabled(false);
}

void StormWaterForm::Command5_Click()
{
    setHeight(kClosedHeight);
    m_checkPanelOpen = false;
    Command3->setEnabled(true);
}

void StormWaterForm::Combo1_Click()
{
    Text19->setText(QString());
    Text20->setText(QString());
    const std::optional<storm::CheckDiameter> diameter = storm::CheckDiameterOf(Combo1->Text());
    if (!diameter)
        return;  // every list entry names a diameter
    Text6->setText(diameter->metres);
    // Proposing the minimum slope is no pick: no slope warning.
    Combo2->setText(MinSlopeTable::stormMinSlopeText(diameter->listText));
    Text7->setText(Combo2->Text());
}

void StormWaterForm::Combo2_Click()
{
    // Only a warning: the slope stays chosen whatever the answer.
    if (const auto warning = storm::SlopeWarningFor(Combo1->Text(), Combo2->Text()))
        forms::showNotice(*warning);
}

void StormWaterForm::Command4_Click()
{
    const storm::FullPipeCheckOutcome outcome = storm::CheckFullPipe(Combo1->Text(), Combo2->Text());
    if (outcome.refusal) {
        using Field = storm::CheckField;
        const forms::FieldControls<Field> controls{{Field::Diameter, Combo1}, {Field::Slope, Combo2}};
        controls.refuse(*outcome.refusal);
        return;
    }
    // The checked pipe is the one the diameter text names, typed or picked.
    const storm::FullPipeCheck& check = outcome.values;
    Text6->setText(check.diameterM);
    Text7->setText(check.minimumSlope);
    Text19->setText(check.velocity);
    Text20->setText(check.flow);
}

void StormWaterForm::Command6_Click()
{
    Combo1->setText(kDiameterPrompt);
    Combo2->setText(kSlopePrompt);
    Text19->setText(QString());
    Text20->setText(QString());
}
