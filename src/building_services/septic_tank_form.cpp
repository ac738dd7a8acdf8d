#include "building_services/septic_tank_form.h"

#include "app/windows.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "textio/numtext.h"
#include "forms/handler.h"
#include "forms/refusal_view.h"

using namespace building_services;

SepticTankForm& form12()
{
    return forms::defaultInstance<SepticTankForm>();
}

namespace {

const QString kDesignCaption = QStringLiteral("化粪池设计计算");

// Columns of the inputs, in twips: the fields after a four-character label
// and the labels of the right column, each clear of what stands before it;
// the frames end inside the window's edge. The building use list is wide
// enough to show its longest use whole ("公共食堂、影剧院、体育馆（场）、其他
// 类似公共场所"); the right column, the site conditions and the buttons
// move with its right edge, in their order and alignment.
constexpr double kUseWidening = 1350;
// The quota list shows a typed quota with two decimals whole ("200.05"); its
// unit stands after it at the same gap.
constexpr double kQuotaWidth = 1050;
constexpr double kLeftField = 930;
constexpr double kRightLabel = 2550 + kUseWidening;
constexpr double kFrameWidth = 4575 + kUseWidening;
constexpr double kWindowWidth = kFrameWidth + 30;

} // namespace

SepticTankForm::SepticTankForm()
    : CalculatorForm(kDesignCaption, kWindowWidth, 4755, Calculator::SepticTank)
{
    setObjectName(QStringLiteral("form12"));

    using namespace Qt::StringLiterals;
    using forms::ComboBox;
    const ComboBox::Style pickOnly = ComboBox::Style::PickOnly;
    const ComboBox::Style editable = ComboBox::Style::Editable;
    // The three site conditions share the widening.
    constexpr double kSiteWidening = kUseWidening / 3;

    // 设计参数: two columns of inputs, the building use and the site
    // conditions across the frame; each label a little below its field's top.
    put(Frame1, nullptr, {"Frame1", 0, 0, kFrameWidth, 2685, u"设计参数"_s});
    put(Label1, Frame1, {"Label1", 90, 345, 1110, 0, u"设计使用人数"_s});
    put(Text1, Frame1, {"Text1", 1215, 300, 1050, 0, u"1"_s});
    put(Label2, Frame1, {"Label2", kRightLabel, 345, 870, 0, u"使用系数α"_s});
    put(Combo5, Frame1, {"Combo5", 3450 + kUseWidening, 300, 1065, 315, u"0.40"_s}, editable);
    put(Label3, Frame1, {"Label3", 90, 735, 930, 0, u"建筑物类型"_s});
    put(Combo1, Frame1, {"Combo1", 1050, 690, 3465 + kUseWidening, 315}, pickOnly);
    put(Label4, Frame1, {"Label4", 90, 1125, 825, 0, u"污水定额"_s});
    put(Combo3, Frame1, {"Combo3", kLeftField, 1080, kQuotaWidth, 315, u"50"_s}, editable);
    put(Label5, Frame1, {"Label5", kLeftField + kQuotaWidth + 30, 1125, 600, 0, u"L/p·d"_s});
    put(Label6, Frame1, {"Label6", kRightLabel, 1125, 1110, 0, u"污水停留时间"_s});
    put(Combo6, Frame1, {"Combo6", 3690 + kUseWidening, 1080, 825, 315, u"12"_s}, editable);
    put(Label7, Frame1, {"Label7", 90, 1515, 825, 0, u"排水类型"_s});
    put(Combo2, Frame1, {"Combo2", kLeftField, 1470, 1545, 315}, pickOnly);
    put(Label8, Frame1, {"Label8", kRightLabel, 1515, 750, 0, u"清掏周期"_s});
    put(Combo4, Frame1, {"Combo4", 3330 + kUseWidening, 1470, 1185, 315, u"180"_s}, editable);
    put(Label9, Frame1, {"Label9", 90, 1905, 930, 0, u"化粪池类型"_s});
    put(Combo11, Frame1, {"Combo11", 1050, 1860, 1395, 315}, pickOnly);
    put(Label10, Frame1, {"Label10", 90, 2295, 825, 0, u"环境情况"_s});
    put(Combo7, Frame1, {"Combo7", kLeftField, 2250, 1185 + kSiteWidening, 315}, pickOnly);
    put(Combo8, Frame1, {"Combo8", 2145 + kSiteWidening, 2250, 1185 + kSiteWidening, 315}, pickOnly);
    put(Combo9, Frame1, {"Combo9", 3360 + 2 * kSiteWidening, 2250, 1155 + kSiteWidening, 315},
        pickOnly);

    // 计算结果: the results of the initial inputs.
    put(Frame2, nullptr, {"Frame2", 0, 2775, kFrameWidth, 1230, u"计算结果"_s});
    put(Label11, Frame2, {"Label11", 90, 375, 930, 0, u"化粪池选型"_s});
    put(Text9, Frame2, {"Text9", 1050, 330, 1395, 0, u"Z1-2S"_s});
    put(Combo10, Frame2, {"Combo10", 2640 + kUseWidening, 330, 1875, 315,
                           kHandPickPrompt.toString()}, editable);
    put(Label12, Frame2, {"Label12", 90, 825, 1110, 0, u"最大使用人数"_s});
    put(Text7, Frame2, {"Text7", 1215, 780, 900, 0, u"58"_s});
    put(Label13, Frame2, {"Label13", 2340 + kUseWidening, 825, 750, 0, u"外形尺寸"_s});
    put(Text14, Frame2, {"Text14", 3120 + kUseWidening, 780, 1395, 0, u"3530×1890"_s});

    put(Command1, nullptr, {"Command1", 405 + kUseWidening / 4, 4200, 1000, 390, u"计 算"_s});
    put(Command2, nullptr, {"Command2", 1802 + kUseWidening / 2, 4200, 1000, 390, u"退出"_s});
    put(Command3, nullptr, {"Command3", 3200 + kUseWidening * 3 / 4, 4200, 1000, 390, u"返回"_s});

    // Working values, below the designed client area.
    put(Text2, nullptr, {"Text2", 60, 4860, 1200, 0, u"0.00028"_s});
    put(Text3, nullptr, {"Text3", 60, 5220, 1200, 0, u"0"_s});
    put(Text4, nullptr, {"Text4", 60, 5580, 1200, 0, u"0"_s});
    put(Text6, nullptr, {"Text6", 60, 5940, 1200});
    put(Text10, nullptr, {"Text10", 60, 6300, 1200});
    put(Text5, nullptr, {"Text5", 60, 6660, 1200});
    put(Text11, nullptr, {"Text11", 60, 7020, 1200, 0, u"S"_s});
    put(Text12, nullptr, {"Text12", 60, 7380, 1200});
    put(Text13, nullptr, {"Text13", 60, 7740, 1200});
    put(Text15, nullptr, {"Text15", 60, 8100, 1200});

    for (forms::TextBox* output : {Text9, Text7, Text14})
        output->setLocked(true);
    for (forms::TextBox* working : {Text2, Text3, Text4, Text6, Text10, Text5, Text11, Text12,
                                    Text13, Text15})
        working->hide();

    // Tab order: the inputs row by row, the results, the buttons.
    tabOrder({Text1, Combo5, Combo1, Combo3, Combo6, Combo2, Combo4, Combo11, Combo7, Combo8,
              Combo9, Text9, Combo10, Text7, Text14, Command1, Command2, Command3});

    connectHandlers();
}

void SepticTankForm::connectHandlers()
{
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &SepticTankForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &SepticTankForm::Combo2_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &SepticTankForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &SepticTankForm::Combo4_Click);
    forms::connectHandler(Combo5, &forms::ComboBox::Click, this, &SepticTankForm::Combo5_Click);
    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &SepticTankForm::Combo6_Click);
    forms::connectHandler(Combo7, &forms::ComboBox::Click, this, &SepticTankForm::Combo7_Click);
    forms::connectHandler(Combo8, &forms::ComboBox::Click, this, &SepticTankForm::Combo8_Click);
    forms::connectHandler(Combo9, &forms::ComboBox::Click, this, &SepticTankForm::Combo9_Click);
    forms::connectHandler(Combo10, &forms::ComboBox::Click, this, &SepticTankForm::Combo10_Click);
    forms::connectHandler(Text1, &forms::TextBox::DblClick, this, &SepticTankForm::Text1_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &SepticTankForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &SepticTankForm::Command3_Click);
}

void SepticTankForm::Form_Load()
{
    appendVersionToCaption();
    // Picking the first use sets the usage factor and the quota list.
    for (const QString& use : BuildingUseTable::names())
        Combo1->AddItem(use);
    Combo1->setListIndex(0);
    for (const QString& system : DrainageSystemTable::names())
        Combo2->AddItem(system);
    Combo2->setListIndex(0);
    for (const QString& tank : SepticTankCatalogue::listTexts())
        Combo10->AddItem(tank);
    for (const QString& material : tankMaterialNames())
        Combo11->AddItem(material);
    Combo11->setListIndex(0);
    Combo3->Clear();
    Combo3->setText(kInitialQuotaText.toString());
    for (const QString& quota : BuildingUseTable::rows().front().quotaTexts)
        Combo3->AddItem(quota);
    for (const QString& period : cleaningDayTexts())
        Combo4->AddItem(period);
    for (const QString& factor : usageFactorTexts())
        Combo5->AddItem(factor);
    for (const QString& hours : retentionHourTexts())
        Combo6->AddItem(hours);
    // Each condition lists "with" before "without"; the site opens with
    // groundwater, no vehicles passing over and no cover soil.
    const auto condition = [](forms::ComboBox* list, QStringView with, QStringView without,
                              QStringView opening) {
        list->AddItem(with.toString());
        list->AddItem(without.toString());
        list->setListIndex(opening == with ? 0 : 1);
    };
    condition(Combo7, kGroundwaterText, kNoGroundwaterText, kGroundwaterText);
    condition(Combo8, kVehiclesText, kNoVehiclesText, kNoVehiclesText);
    condition(Combo9, kCoverSoilText, kNoCoverSoilText, kNoCoverSoilText);
}

// ------------------------------------------------------------ input lists

void SepticTankForm::resetHandPick()
{
    Combo10->setText(kHandPickPrompt.toString());
}

void SepticTankForm::Combo1_Click()
{
    resetHandPick();
    const BuildingUse* use = BuildingUseTable::find(Combo1->Text());
    if (!use)
        return;
    Combo5->setText(use->usageFactorText);
    // Every use starts from the same quota, whatever its list.
    Combo3->Clear();
    Combo3->setText(kInitialQuotaText.toString());
    for (const QString& quota : use->quotaTexts)
        Combo3->AddItem(quota);
}

void SepticTankForm::Combo2_Click()
{
    resetHandPick();
    if (const std::optional<QString> s = DrainageSystemTable::sludgeConstantText(Combo2->Text()))
        Text2->setText(*s);
}

void SepticTankForm::Combo3_Click()
{
    resetHandPick();
}

void SepticTankForm::Combo4_Click()
{
    resetHandPick();
}

void SepticTankForm::Combo5_Click()
{
    resetHandPick();
}

void SepticTankForm::Combo6_Click()
{
    resetHandPick();
}

// The condition letters follow a pick at once; the type code only at the
// next calculation.
void SepticTankForm::Combo7_Click()
{
    Text11->setText(conditionLetter(SiteCondition::Groundwater, siteConditions().groundwater));
}

void SepticTankForm::Combo8_Click()
{
    Text12->setText(conditionLetter(SiteCondition::Vehicles, siteConditions().vehicles));
}

void SepticTankForm::Combo9_Click()
{
    Text13->setText(conditionLetter(SiteCondition::CoverSoil, siteConditions().coverSoil));
}

void SepticTankForm::Text1_DblClick()
{
    Text1->setText(QString());
}

SiteConditions SepticTankForm::siteConditions() const
{
    SiteConditions site;
    site.groundwater = Combo7->Text() == kGroundwaterText;
    site.vehicles = Combo8->Text() == kVehiclesText;
    site.coverSoil = Combo9->Text() == kCoverSoilText;
    return site;
}

// ------------------------------------------------------------ calculation

SepticTankInputTexts SepticTankForm::inputTexts() const
{
    return {
        .users = Text1->Text(),
        .usageFactor = Combo5->Text(),
        .quota = Combo3->Text(),
        .retention = Combo6->Text(),
        .cleaning = Combo4->Text(),
        .sludgeConstant = Text2->Text(),
    };
}

forms::FieldControls<SepticField> SepticTankForm::fieldControls() const
{
    return {{SepticField::Users, Text1},     {SepticField::UsageFactor, Combo5},
            {SepticField::Quota, Combo3},    {SepticField::Retention, Combo6},
            {SepticField::Cleaning, Combo4}, {SepticField::DrainageSystem, Combo2},
            {SepticField::Material, Combo11}};
}

void SepticTankForm::Command1_Click()
{
    const SiteConditions site = siteConditions();
    const SepticSelectionOutcome outcome = selectSepticTank(inputTexts(), Combo11->Text(), site);
    if (outcome.refusal) {
        fieldControls().refuse(*outcome.refusal);
        return;
    }
    const SepticTankSelection& selection = outcome.values;
    const SepticTankDesign& design = selection.design;
    Text11->setText(conditionLetter(SiteCondition::Groundwater, site.groundwater));
    Text12->setText(conditionLetter(SiteCondition::Vehicles, site.vehicles));
    Text13->setText(conditionLetter(SiteCondition::CoverSoil, site.coverSoil));
    Text15->setText(selection.materialLetter);
    Text3->setText(design.sewageVolume);
    Text4->setText(design.sludgeVolume);
    Text6->setText(design.volume);
    Text10->setText(design.sludgeShare);
    Text9->setText(selection.typeCode);
    Text5->setText(design.usersServed);
    Text7->setText(design.usersServedShown);
    Text14->setText(selection.outlineSize);
    resetHandPick();
}

void SepticTankForm::Combo10_Click()
{
    // Every entry of the list is a standard tank.
    const StandardTank* tank = SepticTankCatalogue::byListText(Combo10->Text());
    if (!tank)
        return;
    const HandPickOutcome pick = handPickTank(*tank, inputTexts());
    if (pick.refusal) {
        // A refused pick shows no tank beside figures of another.
        resetHandPick();
        fieldControls().refuse(*pick.refusal);
        return;
    }
    // A tank picked by hand has no type code or outline size of its own.
    Text9->setText(QString());
    Text14->setText(QString());
    Text7->setText(pick.values);
}

// ------------------------------------------------------------ leaving

void SepticTankForm::Command3_Click()
{
    form0().Show();
    Hide();
}
