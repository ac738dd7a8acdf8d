#include "storm/storm_water_form.h"

#include "app/input_check.h"
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

StormWaterForm& form2()
{
    return forms::defaultInstance<StormWaterForm>();
}

namespace {

const QString& kDesignCaption = StormSewerNetworkForm::kCaption;
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
    : CalculatorForm(kDesignCaption, kFrameWidth + 15, 5550, Calculator::StormWater)
    , StormCityView(*this, 240, StormCityView::Mode::Automatic, kFrameWidth)
{
    setObjectName(QStringLiteral("form2"));

    // --- 设计参数
    Frame4 = addWithCaption<forms::Frame>("Frame4", 0, StormCityView::kBottom, kFrameWidth, 1800, QStringLiteral("设计参数"));
    Label1 = addInWithCaption<forms::Label>(Frame4, "Label1", 90, 270, 780, 240,
                                            QStringLiteral("重现期P"));
    Text12 = addIn<forms::TextBox>(Frame4, "Text12", 900, 225, 600, 285);
    Text12->setText(QStringLiteral("2"));
    Label2 = addInWithCaption<forms::Label>(Frame4, "Label2", 1560, 270, 300, 240,
                                            QStringLiteral("年"));
    Label3 = addInWithCaption<forms::Label>(Frame4, "Label3", 2340 + kRightShift, 270, 900, 240,
                                            QStringLiteral("降水历时t"));
    Text11 = addIn<forms::TextBox>(Frame4, "Text11", 3270 + kRightShift, 225, 600, 285);
    Text11->setText(QStringLiteral("20"));
    Label4 = addInWithCaption<forms::Label>(Frame4, "Label4", 3930 + kRightShift, 270, 480, 240,
                                            QStringLiteral("分钟"));

    Label7 = addInWithCaption<forms::Label>(Frame4, "Label7", 90, 630, 780, 240,
                                            QStringLiteral("汇水面积"));
    Text13 = addIn<forms::TextBox>(Frame4, "Text13", 900, 585, 1200, 285);
    Label8 = addInWithCaption<forms::Label>(Frame4, "Label8", 2145, 630, 570, 240,
                                            QStringLiteral("平方米"));
    Label10 = addInWithCaption<forms::Label>(Frame4, "Label10", 2340 + kRightShift, 630, 900, 240,
                                             QStringLiteral("管道数量"));
    Text9 = addIn<forms::TextBox>(Frame4, "Text9", 3270 + kRightShift, 585, 600, 285);
    Text9->setText(QStringLiteral("1"));

    Combo4 = addIn<forms::ComboBox>(Frame4, "Combo4", 90, 945, 2160, 315,
                                    forms::ComboBox::Style::Editable);
    Combo4->setText(kSurfacePrompt);
    Label11 = addInWithCaption<forms::Label>(Frame4, "Label11", 2340 + kRightShift, 990, 900, 240,
                                             QStringLiteral("径流系数Ψ"));
    Text14 = addIn<forms::TextBox>(Frame4, "Text14", 3270 + kRightShift, 945, 600, 285);
    Text14->setText(QStringLiteral("0.65"));

    Option1 = addInWithCaption<forms::OptionButton>(Frame4, "Option1", 90, 1395, 1260, 240,
                                                    QStringLiteral("屋面(单斗)"));
    Option2 = addInWithCaption<forms::OptionButton>(Frame4, "Option2", 1440, 1395, 750, 240,
                                                    QStringLiteral("室外"));
    // The outdoor outlet: the state every other control opens in.
    Option2->setValue(true);
    Label12 = addInWithCaption<forms::Label>(Frame4, "Label12", 2340 + kRightShift, 1395, 930, 240,
                                             QStringLiteral("请选择管材"));
    Combo5 = addIn<forms::ComboBox>(Frame4, "Combo5", 3285 + kRightShift, 1350, 1125, 315,
                                    forms::ComboBox::Style::Editable);
    Combo5->setText(storm::StormPipeSizingTable::Materials(storm::OutletKind::Outdoor).first());

    // --- 计算结果
    Frame1 = addWithCaption<forms::Frame>("Frame1", 0, 3645, kFrameWidth, 1455, QStringLiteral("计算结果"));
    auto output = [this](const char* name, double left, double top, double width) {
        forms::TextBox* box = addIn<forms::TextBox>(Frame1, name, left, top, width, 285);
        box->setLocked(true);
        return box;
    };
    auto label = [this](forms::Frame* frame, const char* name, const QString& caption,
                        double left, double top, double width) {
        forms::Label* l = addInWithCaption<forms::Label>(frame, name, left, top, width, 240,
                                                         caption);
        return l;
    };
    Label13 = label(Frame1, "Label13", QStringLiteral("暴雨强度"), 90, 315, 780);
    // The units right of the general results, the pipe column right of them.
    constexpr double unitLeft = 900 + kGeneralResultWidth + 60;
    Text2 = output("Text2", 900, 270, kGeneralResultWidth);
    Label14 = label(Frame1, "Label14", QStringLiteral("L/s·ha"), unitLeft, 315, 660);
    Label21 = label(Frame1, "Label21", QStringLiteral("雨水管径"), 2700 + kRightShift, 315, 780);
    Text3 = output("Text3", 3510 + kRightShift, 270, 900);
    Label15 = label(Frame1, "Label15", QStringLiteral("总 流 量"), 90, 675, 780);
    Text10 = output("Text10", 900, 630, kGeneralResultWidth);
    Label16 = label(Frame1, "Label16", QStringLiteral("L/s"), unitLeft, 675, 480);
    Label20 = label(Frame1, "Label20", QStringLiteral("设计坡度"), 2700 + kRightShift, 675, 780);
    Text5 = output("Text5", 3510 + kRightShift, 630, 600);
    Label30 = label(Frame1, "Label30", QStringLiteral("‰"), 4170 + kRightShift, 675, 240);
    Label17 = label(Frame1, "Label17", QStringLiteral("雨水流量"), 90, 1035, 780);
    Text4 = output("Text4", 900, 990, kGeneralResultWidth);
    Label19 = label(Frame1, "Label19", QStringLiteral("L/s"), unitLeft, 1035, 480);

    Label28 = add<forms::Label>("Label28", 90, 5205, 1650, 300);
    Label28->setFont(forms::fontFor(QStringLiteral("宋体"), 12, true));
    Label28->setCaption(QStringLiteral("雨水水力计算"));
    Command1 = addWithCaption<forms::CommandButton>("Command1", 1800 + kRightShift, 5160, 840, 345,
                                                    QStringLiteral("计 算"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", 2730 + kRightShift, 5160, 840, 345,
                                                    QStringLiteral("校核"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 3660 + kRightShift, 5160, 840, 345,
                                                    QStringLiteral("退出"));

    // --- Full-pipe check panel, below the client area: two frames side by
    // side across the window, the buttons below them.
    constexpr double halfWidth = (kFrameWidth - 60) / 2;
    Frame2 = addWithCaption<forms::Frame>("Frame2", 0, kPanelTop, halfWidth, 1680,
                                          QStringLiteral("设计参数"));
    Combo1 = addIn<forms::ComboBox>(Frame2, "Combo1", 150, 300, halfWidth - 300, 315,
                                    forms::ComboBox::Style::Editable);
    Combo1->setText(kDiameterPrompt);
    Label9 = label(Frame2, "Label9", QStringLiteral("坡度i（‰）"), 150, 750, halfWidth - 300);
    Combo2 = addIn<forms::ComboBox>(Frame2, "Combo2", 150, 1080, halfWidth - 300, 315,
                                    forms::ComboBox::Style::Editable);
    Combo2->setText(kSlopePrompt);
    Frame5 = addWithCaption<forms::Frame>("Frame5", halfWidth + 60, kPanelTop, halfWidth, 1680,
                                          QStringLiteral("计算结果"));
    Label18 = label(Frame5, "Label18", QStringLiteral("流速v"), 150, 405, 600);
    // Wide enough for the capacity of the largest pipe at the steepest
    // slope, "1752634.156".
    Text19 = addIn<forms::TextBox>(Frame5, "Text19", 780, 360, 1260, 285);
    Text19->setLocked(true);
    Label23 = label(Frame5, "Label23", QStringLiteral("m/s"), 2100, 405, 450);
    Label24 = label(Frame5, "Label24", QStringLiteral("流量Q"), 150, 1005, 600);
    Text20 = addIn<forms::TextBox>(Frame5, "Text20", 780, 960, 1260, 285);
    Text20->setLocked(true);
    Label25 = label(Frame5, "Label25", QStringLiteral("L/s"), 2100, 1005, 450);
    Command4 = addWithCaption<forms::CommandButton>("Command4", 240, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("计 算"));
    Command6 = addWithCaption<forms::CommandButton>("Command6", (kFrameWidth - 1000) / 2, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("清零"));
    Command5 = addWithCaption<forms::CommandButton>("Command5", kFrameWidth - 1240, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("返回"));

    // --- Working fields, never shown.
    Text1 = add<forms::TextBox>("Text1", kFrameWidth + 120, 0, 600, 285);
    Text1->hide();
    Text6 = add<forms::TextBox>("Text6", kFrameWidth + 120, 360, 600, 285);
    Text6->hide();
    Text7 = add<forms::TextBox>("Text7", kFrameWidth + 120, 720, 600, 285);
    Text7->hide();

    setDefaultButton(Command1);
    setCancelButton(Command5);

    // Tab order: top to bottom, then the check panel.
    QWidget* const order[] = {Combo6, Combo3, Option3, Option4, Text12, Text11, Text13, Text9,
                              Combo4, Text14, Option1, Option2, Combo5, Text2, Text3, Text10,
                              Text5, Text4, Command1, Command3, Command2, Combo1, Combo2,
                              Text19, Text20, Command4, Command6, Command5};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &StormWaterForm::Combo6_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &StormWaterForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &StormWaterForm::Combo4_Click);
    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &StormWaterForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &StormWaterForm::Option2_Click);
    forms::connectHandler(Option4, &forms::OptionButton::Click, this, &StormWaterForm::Option4_Click);
    forms::connectHandler(Text11, &forms::TextBox::DblClick, this, &StormWaterForm::Text11_DblClick);
    forms::connectHandler(Text12, &forms::TextBox::DblClick, this, &StormWaterForm::Text12_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &StormWaterForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &StormWaterForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &StormWaterForm::Command3_Click);
    forms::connectHandler(Command5, &forms::CommandButton::Click, this, &StormWaterForm::Command5_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &StormWaterForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &StormWaterForm::Combo2_Click);
    forms::connectHandler(Command4, &forms::CommandButton::Click, this, &StormWaterForm::Command4_Click);
    forms::connectHandler(Command6, &forms::CommandButton::Click, this, &StormWaterForm::Command6_Click);
}

void StormWaterForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
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
    Text14->setText(QStringLiteral("0.65"));
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
    Option3->setValue(true);
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
    const storm::StormWaterDesign design = storm::DesignStormWater(
        {.returnPeriod = Text12->Text(),
         .duration = Text11->Text(),
         .city = Combo3->Text(),
         .area = Text13->Text(),
         .runoff = Text14->Text(),
         .pipeCount = Text9->Text(),
         .kind = Option1->Value() ? storm::OutletKind::RoofSingleOutlet
                                  : storm::OutletKind::Outdoor,
         .material = Combo5->Text()});
    if (!design.intensity.isEmpty())
        Text2->setText(design.intensity);
    if (design.error) {
        refuseInput(design.error->message, design.error->title, fieldOf(design.error->field));
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

QWidget* StormWaterForm::fieldOf(storm::StormWaterField field) const
{
    switch (field) {
    case storm::StormWaterField::ReturnPeriod:
        return Text12;
    case storm::StormWaterField::Duration:
        return Text11;
    case storm::StormWaterField::City:
        return Combo3;
    case storm::StormWaterField::Area:
        return Text13;
    case storm::StormWaterField::Runoff:
        return Text14;
    case storm::StormWaterField::PipeCount:
        return Text9;
    }
    return nullptr;
}

void StormWaterForm::showOutletPipe(const storm::OutletPipeChoice& choice)
{
    switch (choice.status) {
    case storm::OutletPipeStatus::Chosen:
        Text3->setText(choice.diameter);
        if (choice.writesSlope)
            Text5->setText(choice.slope);
        break;
    case storm::OutletPipeStatus::FlowTooLarge:
        Text3->setText(QString());
        Text5->setText(QString());
        forms::MsgBox(storm::kHdpeFlowTooLargeMessage.toString(), forms::vbOKOnly,
                      kWarningTitle);
        break;
    case storm::OutletPipeStatus::UnknownMaterial:
    case storm::OutletPipeStatus::InvalidFlow:
        // A typed material of no list keeps the earlier pipe on screen.
        break;
    }
}

void StormWaterForm::Command2_Click()
{
    forms::endProgram();
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
    Text6->setText(textio::generalNumberText(diameter->millimetres / 1000));
    // Proposing the minimum slope is no pick: no slope warning.
    Combo2->setText(MinSlopeTable::stormMinSlopeText(diameter->listText));
    Text7->setText(Combo2->Text());
}

void StormWaterForm::Combo2_Click()
{
    const storm::SlopeWarning warning = storm::SlopeWarningFor(Combo1->Text(), Combo2->Text());
    if (warning == storm::SlopeWarning::None)
        return;
    const int style = warning == storm::SlopeWarning::OkOnly
        ? forms::vbOKOnly | forms::vbCritical
        : forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2;
    // Only a warning: the slope stays chosen whatever the answer.
    forms::MsgBox(catalogues::kMinSlopeWarning, style, kCorrectnessTitle);
}

void StormWaterForm::Command4_Click()
{
    const storm::FullPipeCheckResult result = storm::CheckFullPipe(Combo1->Text(), Combo2->Text());
    if (result.error) {
        refuseInput(result.error->message, result.error->title,
                    result.error->field == storm::CheckField::Diameter ? Combo1 : Combo2);
        return;
    }
    // The checked pipe is the one the diameter text names, typed or picked.
    Text6->setText(result.check.diameterM);
    Text7->setText(result.check.minimumSlope);
    Text19->setText(result.check.velocity);
    Text20->setText(result.check.flow);
}

void StormWaterForm::Command6_Click()
{
    Combo1->setText(kDiameterPrompt);
    Combo2->setText(kSlopePrompt);
    Text19->setText(QString());
    Text20->setText(QString());
}
