#include "storm/storm_water_form.h"

#include "app/input_check.h"
#include "app/windows.h"
#include "catalogues/gravity_pipe_catalogue.h"
#include "catalogues/storm_intensity_catalogue.h"
#include "catalogues/surface_runoff_table.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "forms/platform.h"
#include "hydraulics/drainage_flow.h"
#include "storm/storm_pipe_sizing.h"
#include "storm_network/storm_segment_list_form.h"
#include "storm_network/storm_sewer_network_form.h"

#include <cmath>
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

const QString kDesignCaption = QStringLiteral("雨水管道水力计算");
const QString kSurfacePrompt = QStringLiteral("请选择地面种类");

// Manning's roughness of the full-pipe check.
constexpr double kCheckRoughness = 0.013;

// Top of the check panel in the client area: below what the window shows
// with the panel closed, whatever the height of its title and menu bars.
constexpr double kPanelTop = 5760;

// The diameter named by a check-panel diameter text, "d300" or a typed "300"
// (blanks around it allowed), as the list text it stands for ("d300") and in
// mm; no value for a text that names no diameter.
struct CheckDiameter {
    QString listText;
    double millimetres;
};

std::optional<CheckDiameter> checkDiameterOf(const QString& text)
{
    QString number = text.trimmed();
    if (number.startsWith(QLatin1Char('d')))
        number.remove(0, 1);
    if (number.isEmpty() || number.front().isSpace())
        return std::nullopt;
    const std::optional<double> mm = textio::readNumber(number);
    if (!mm || !(*mm > 0))
        return std::nullopt;
    return CheckDiameter{QStringLiteral("d") + textio::generalNumberText(*mm), *mm};
}

}  // namespace

StormWaterForm::StormWaterForm()
    : CalculatorForm(kDesignCaption, 4515, 5550, Calculator::StormWater)
    , m_cityBlock(*this, 240, StormCityBlock::Mode::Automatic)
{
    setObjectName(QStringLiteral("form2"));

    // --- 选择城市: province and city, and the city's formula as a fraction.
    Frame3 = m_cityBlock.Frame3;
    Combo6 = m_cityBlock.Combo6;
    Combo3 = m_cityBlock.Combo3;
    Label5 = m_cityBlock.Label5;
    Label6 = m_cityBlock.Label6;
    Line1 = m_cityBlock.Line1;
    Label29 = m_cityBlock.Label29;
    // --- 计算方式: the storm water window or the network window.
    Frame6 = m_cityBlock.Frame6;
    Option3 = m_cityBlock.Option3;
    Option4 = m_cityBlock.Option4;

    // --- 设计参数
    Frame4 = addWithCaption<forms::Frame>("Frame4", 0, 1800, 4500, 1800, QStringLiteral("设计参数"));
    Label1 = addInWithCaption<forms::Label>(Frame4, "Label1", 90, 270, 780, 240,
                                            QStringLiteral("重现期P"));
    Text12 = addIn<forms::TextBox>(Frame4, "Text12", 900, 225, 600, 285);
    Text12->setText(QStringLiteral("2"));
    Label2 = addInWithCaption<forms::Label>(Frame4, "Label2", 1560, 270, 300, 240,
                                            QStringLiteral("年"));
    Label3 = addInWithCaption<forms::Label>(Frame4, "Label3", 2340, 270, 900, 240,
                                            QStringLiteral("降水历时t"));
    Text11 = addIn<forms::TextBox>(Frame4, "Text11", 3270, 225, 600, 285);
    Text11->setText(QStringLiteral("20"));
    Label4 = addInWithCaption<forms::Label>(Frame4, "Label4", 3930, 270, 480, 240,
                                            QStringLiteral("分钟"));

    Label7 = addInWithCaption<forms::Label>(Frame4, "Label7", 90, 630, 780, 240,
                                            QStringLiteral("汇水面积"));
    Text13 = addIn<forms::TextBox>(Frame4, "Text13", 900, 585, 780, 285);
    Label8 = addInWithCaption<forms::Label>(Frame4, "Label8", 1725, 630, 570, 240,
                                            QStringLiteral("平方米"));
    Label10 = addInWithCaption<forms::Label>(Frame4, "Label10", 2340, 630, 900, 240,
                                             QStringLiteral("管道数量"));
    Text9 = addIn<forms::TextBox>(Frame4, "Text9", 3270, 585, 600, 285);
    Text9->setText(QStringLiteral("1"));

    Combo4 = addIn<forms::ComboBox>(Frame4, "Combo4", 90, 945, 2160, 315,
                                    forms::ComboBox::Style::Editable);
    Combo4->setText(kSurfacePrompt);
    Label11 = addInWithCaption<forms::Label>(Frame4, "Label11", 2340, 990, 900, 240,
                                             QStringLiteral("径流系数Ψ"));
    Text14 = addIn<forms::TextBox>(Frame4, "Text14", 3270, 945, 600, 285);
    Text14->setText(QStringLiteral("0.65"));

    Option1 = addInWithCaption<forms::OptionButton>(Frame4, "Option1", 90, 1395, 1260, 240,
                                                    QStringLiteral("屋面(单斗)"));
    Option2 = addInWithCaption<forms::OptionButton>(Frame4, "Option2", 1440, 1395, 750, 240,
                                                    QStringLiteral("室外"));
    // The outdoor outlet: the state every other control opens in.
    Option2->setValue(true);
    Label12 = addInWithCaption<forms::Label>(Frame4, "Label12", 2340, 1395, 930, 240,
                                             QStringLiteral("请选择管材"));
    Combo5 = addIn<forms::ComboBox>(Frame4, "Combo5", 3285, 1350, 1125, 315,
                                    forms::ComboBox::Style::Editable);
    Combo5->setText(QStringLiteral("砼管"));

    // --- 计算结果
    Frame1 = addWithCaption<forms::Frame>("Frame1", 0, 3645, 4500, 1455, QStringLiteral("计算结果"));
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
    Text2 = output("Text2", 900, 270, 1020);
    Label14 = label(Frame1, "Label14", QStringLiteral("L/s·ha"), 1980, 315, 660);
    Label21 = label(Frame1, "Label21", QStringLiteral("雨水管径"), 2700, 315, 780);
    Text3 = output("Text3", 3510, 270, 900);
    Label15 = label(Frame1, "Label15", QStringLiteral("总 流 量"), 90, 675, 780);
    Text10 = output("Text10", 900, 630, 1020);
    Label16 = label(Frame1, "Label16", QStringLiteral("L/s"), 1980, 675, 480);
    Label20 = label(Frame1, "Label20", QStringLiteral("设计坡度"), 2700, 675, 780);
    Text5 = output("Text5", 3510, 630, 600);
    Label30 = label(Frame1, "Label30", QStringLiteral("‰"), 4170, 675, 240);
    Label17 = label(Frame1, "Label17", QStringLiteral("雨水流量"), 90, 1035, 780);
    Text4 = output("Text4", 900, 990, 1020);
    Label19 = label(Frame1, "Label19", QStringLiteral("L/s"), 1980, 1035, 480);

    Label28 = add<forms::Label>("Label28", 90, 5205, 1650, 300);
    Label28->setFont(forms::fontFor(QStringLiteral("宋体"), 12, true));
    Label28->setCaption(QStringLiteral("雨水水力计算"));
    Command1 = addWithCaption<forms::CommandButton>("Command1", 1800, 5160, 840, 345,
                                                    QStringLiteral("计 算"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", 2730, 5160, 840, 345,
                                                    QStringLiteral("校核"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 3660, 5160, 840, 345,
                                                    QStringLiteral("退出"));

    // --- Full-pipe check panel, below the client area.
    Frame2 = addWithCaption<forms::Frame>("Frame2", 0, kPanelTop, 2220, 1680,
                                          QStringLiteral("设计参数"));
    Combo1 = addIn<forms::ComboBox>(Frame2, "Combo1", 150, 300, 1920, 315,
                                    forms::ComboBox::Style::Editable);
    Combo1->setText(kDiameterPrompt);
    Label9 = label(Frame2, "Label9", QStringLiteral("坡度i（‰）"), 150, 750, 1920);
    Combo2 = addIn<forms::ComboBox>(Frame2, "Combo2", 150, 1080, 1920, 315,
                                    forms::ComboBox::Style::Editable);
    Combo2->setText(kSlopePrompt);
    Frame5 = addWithCaption<forms::Frame>("Frame5", 2280, kPanelTop, 2220, 1680,
                                          QStringLiteral("计算结果"));
    Label18 = label(Frame5, "Label18", QStringLiteral("流速v"), 150, 405, 600);
    Text19 = addIn<forms::TextBox>(Frame5, "Text19", 780, 360, 840, 285);
    Text19->setLocked(true);
    Label23 = label(Frame5, "Label23", QStringLiteral("m/s"), 1680, 405, 450);
    Label24 = label(Frame5, "Label24", QStringLiteral("流量Q"), 150, 1005, 600);
    Text20 = addIn<forms::TextBox>(Frame5, "Text20", 780, 960, 840, 285);
    Text20->setLocked(true);
    Label25 = label(Frame5, "Label25", QStringLiteral("L/s"), 1680, 1005, 450);
    Command4 = addWithCaption<forms::CommandButton>("Command4", 240, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("计 算"));
    Command6 = addWithCaption<forms::CommandButton>("Command6", 1757, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("清零"));
    Command5 = addWithCaption<forms::CommandButton>("Command5", 3275, kPanelTop + 1770, 1000, 345,
                                                    QStringLiteral("返回"));

    // --- Working fields, never shown.
    Text1 = add<forms::TextBox>("Text1", 4620, 0, 600, 285);
    Text1->hide();
    Text6 = add<forms::TextBox>("Text6", 4620, 360, 600, 285);
    Text6->hide();
    Text7 = add<forms::TextBox>("Text7", 4620, 720, 600, 285);
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

    connect(Combo6, &forms::ComboBox::Click, this, &StormWaterForm::Combo6_Click);
    connect(Combo3, &forms::ComboBox::Click, this, &StormWaterForm::Combo3_Click);
    connect(Combo4, &forms::ComboBox::Click, this, &StormWaterForm::Combo4_Click);
    connect(Option1, &forms::OptionButton::Click, this, &StormWaterForm::Option1_Click);
    connect(Option2, &forms::OptionButton::Click, this, &StormWaterForm::Option2_Click);
    connect(Option4, &forms::OptionButton::Click, this, &StormWaterForm::Option4_Click);
    connect(Text11, &forms::TextBox::DblClick, this, &StormWaterForm::Text11_DblClick);
    connect(Text12, &forms::TextBox::DblClick, this, &StormWaterForm::Text12_DblClick);
    connect(Command1, &forms::CommandButton::Click, this, &StormWaterForm::Command1_Click);
    connect(Command2, &forms::CommandButton::Click, this, &StormWaterForm::Command2_Click);
    connect(Command3, &forms::CommandButton::Click, this, &StormWaterForm::Command3_Click);
    connect(Command5, &forms::CommandButton::Click, this, &StormWaterForm::Command5_Click);
    connect(Combo1, &forms::ComboBox::Click, this, &StormWaterForm::Combo1_Click);
    connect(Combo2, &forms::ComboBox::Click, this, &StormWaterForm::Combo2_Click);
    connect(Command4, &forms::CommandButton::Click, this, &StormWaterForm::Command4_Click);
    connect(Command6, &forms::CommandButton::Click, this, &StormWaterForm::Command6_Click);
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
    Combo5->AddItem(QStringLiteral("砼管"));
    Combo5->AddItem(QStringLiteral("HDPE"));
    m_cityBlock.load();
}

// ------------------------------------------------------------ city and formula

void StormWaterForm::Combo6_Click()
{
    m_cityBlock.provinceChosen();
}

void StormWaterForm::Combo3_Click()
{
    m_cityBlock.cityChosen();
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

void StormWaterForm::Option4_Click()
{
    // Segment-by-segment design starts from an empty segment list.
    Form14().clearRows();
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
    if (Text12->Text().isEmpty()) {
        refuseInput(QStringLiteral("请输入重现期"), kCompletenessTitle, Text12);
        return;
    }
    if (Text11->Text().isEmpty()) {
        refuseInput(QStringLiteral("请输入降水历时"), kCompletenessTitle, Text11);
        return;
    }
    const QString badReturnPeriod = QStringLiteral("请输入正确的重现期");
    const QString badDuration = QStringLiteral("请输入正确的降水历时");
    const std::optional<double> P = textio::readNumber(Text12->Text());
    if (!P) {
        refuseInput(badReturnPeriod, kCorrectnessTitle, Text12);
        return;
    }
    const std::optional<double> t = textio::readNumber(Text11->Text());
    if (!t) {
        refuseInput(badDuration, kCorrectnessTitle, Text11);
        return;
    }
    const catalogues::StormIntensityFormula* formula =
        catalogues::FindStormIntensityFormula(Combo3->Text());
    if (formula == nullptr) {
        // A city without a formula: no intensity, and no flows computed from
        // another city's intensity left in the field.
        refuseInput(QStringLiteral("所选城市暂无暴雨强度公式，请选择其他城市"), kCorrectnessTitle,
               Combo3);
        return;
    }
    const std::optional<double> q = catalogues::StormIntensity(*formula, *P, *t);
    if (!q) {
        // Outside the formula's domain: a 10-minute rain is within every
        // formula's domain, so a failure there lies with the return period.
        if (!catalogues::StormIntensity(*formula, *P, 10.0))
            refuseInput(badReturnPeriod, kCorrectnessTitle, Text12);
        else
            refuseInput(badDuration, kCorrectnessTitle, Text11);
        return;
    }
    Text2->setText(textio::generalNumberText(*q));

    // An empty area: the intensity alone.
    if (Text13->Text().isEmpty())
        return;
    if (Text14->Text().isEmpty()) {
        refuseInput(QStringLiteral("请选择径流系数"), kCompletenessTitle, Text14);
        return;
    }
    if (Text9->Text().isEmpty()) {
        refuseInput(QStringLiteral("请输入管道数量"), kCompletenessTitle, Text9);
        return;
    }
    const QString badArea = QStringLiteral("请输入正确的汇水面积");
    const std::optional<double> area = textio::readNumber(Text13->Text());
    if (!area || *area < 0) {
        refuseInput(badArea, kCorrectnessTitle, Text13);
        return;
    }
    // A runoff coefficient is a share of the rain: from 0 to 1.
    const std::optional<double> psi = textio::readNumber(Text14->Text());
    if (!psi || *psi < 0 || *psi > 1) {
        refuseInput(QStringLiteral("请输入正确的径流系数"), kCorrectnessTitle, Text14);
        return;
    }
    // Outlet pipes are counted: a positive whole number.
    const std::optional<double> pipes = textio::readNumber(Text9->Text());
    if (!pipes || !(*pipes >= 1) || std::floor(*pipes) != *pipes) {
        refuseInput(QStringLiteral("请输入正确的管道数量"), kCorrectnessTitle, Text9);
        return;
    }

    // The flows use the intensity as the field shows it.
    const double shownIntensity = textio::readNumber(Text2->Text()).value_or(*q);
    const double total = storm::CatchmentDesignFlow(*psi, shownIntensity, *area);
    const std::optional<double> perPipe =
        storm::DesignFlowPerPipe(*psi, shownIntensity, *area, *pipes);
    if (!std::isfinite(total) || !perPipe) {
        refuseInput(badArea, kCorrectnessTitle, Text13);
        return;
    }

    Text10->setText(textio::generalNumberText(total));
    Text4->setText(textio::generalNumberText(*perPipe));
    const double shownPerPipe = textio::readNumber(Text4->Text()).value_or(*perPipe);
    Text1->setText(textio::generalNumberText(storm::CubicMetresPerHour(shownPerPipe)));

    const storm::OutletKind kind =
        Option1->Value() ? storm::OutletKind::RoofSingleOutlet : storm::OutletKind::Outdoor;
    const storm::OutletPipeChoice choice =
        storm::StormPipeSizingTable::Choose(kind, Combo5->Text(), shownPerPipe);
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
                      storm::kHdpeFlowTooLargeTitle.toString());
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
    const std::optional<CheckDiameter> diameter = checkDiameterOf(Combo1->Text());
    if (!diameter)
        return;  // every list entry names a diameter
    Text6->setText(textio::generalNumberText(diameter->millimetres / 1000));
    // Proposing the minimum slope is no pick: no slope warning.
    Combo2->setText(MinSlopeTable::stormMinSlopeText(diameter->listText));
    Text7->setText(Combo2->Text());
}

void StormWaterForm::Combo2_Click()
{
    // Minimum slope per GBJ 14-87 §3.2.9, checked for d200 to d400 only; the
    // minimum is that of the diameter text in force, picked or typed.
    const std::optional<CheckDiameter> diameter = checkDiameterOf(Combo1->Text());
    if (!diameter || !MinSlopeTable::isSlopeCheckedStormDiameter(diameter->listText))
        return;
    const std::optional<double> minimum =
        textio::readNumber(MinSlopeTable::stormMinSlopeText(diameter->listText));
    const std::optional<double> slope = textio::readNumber(Combo2->Text());
    if (!minimum || !slope || !(*slope / *minimum < 1))
        return;
    const int style = diameter->listText == u"d200"
        ? forms::vbOKOnly | forms::vbCritical
        : forms::vbOKCancel | forms::vbCritical | forms::vbDefaultButton2;
    // Only a warning: the slope stays chosen whatever the answer.
    forms::MsgBox(catalogues::kMinSlopeWarning, style, kCorrectnessTitle);
}

void StormWaterForm::Command4_Click()
{
    const std::optional<CheckDiameter> diameter = checkDiameterOf(Combo1->Text());
    if (!diameter) {
        forms::MsgBox(kDiameterPrompt, forms::vbOKOnly, kCompletenessTitle);
        return;
    }
    const std::optional<double> slope = textio::readNumber(Combo2->Text());
    if (!slope || !(*slope > 0)) {
        forms::MsgBox(kSlopePrompt, forms::vbOKOnly, kCompletenessTitle);
        return;
    }
    const std::optional<double> velocity = hydraulics::DrainageFlow::fullPipeVelocity(
        diameter->millimetres / 1000, *slope, kCheckRoughness);
    if (!velocity) {
        forms::MsgBox(kDiameterPrompt, forms::vbOKOnly, kCompletenessTitle);
        return;
    }
    const double D = diameter->millimetres / 1000;
    const QString velocityText = textio::formatNumber(*velocity, QStringLiteral("##.###"));
    // The capacity follows from the velocity as shown.
    const double shownVelocity = textio::readShownNumber(velocityText).value_or(0.0);
    const std::optional<double> flow = hydraulics::DrainageFlow::fullPipeFlow(shownVelocity, D);
    if (!flow) {
        forms::MsgBox(kDiameterPrompt, forms::vbOKOnly, kCompletenessTitle);
        return;
    }
    // The checked pipe is the one the diameter text names, typed or picked.
    Text6->setText(textio::generalNumberText(D));
    Text7->setText(MinSlopeTable::stormMinSlopeText(diameter->listText));
    Text19->setText(velocityText);
    Text20->setText(textio::formatNumber(*flow, QStringLiteral("#.###")));
}

void StormWaterForm::Command6_Click()
{
    Combo1->setText(kDiameterPrompt);
    Combo2->setText(kSlopePrompt);
    Text19->setText(QString());
    Text20->setText(QString());
}
