#include "building_services/septic_tank_form.h"

#include "app/input_check.h"
#include "app/windows.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "textio/numtext.h"
#include "forms/handler.h"

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
constexpr double kLeftField = 930;
constexpr double kRightLabel = 2550 + kUseWidening;
constexpr double kFrameWidth = 4575 + kUseWidening;
constexpr double kWindowWidth = kFrameWidth + 30;

} // namespace

SepticTankForm::SepticTankForm()
    : CalculatorForm(kDesignCaption, kWindowWidth, 4755, Calculator::SepticTank)
{
    setObjectName(QStringLiteral("form12"));

    auto label = [this](QWidget* frame, const char* name, const QString& caption, double left,
                        double top, double width) {
        forms::Label* l = addInWithCaption<forms::Label>(frame, name, left, top + 45, width, 240,
                                                         caption);
        return l;
    };
    auto list = [this](QWidget* frame, const char* name, double left, double top, double width) {
        return addIn<forms::ComboBox>(frame, name, left, top, width, 315,
                                      forms::ComboBox::Style::PickOnly);
    };
    auto combo = [this](QWidget* frame, const char* name, double left, double top, double width,
                        const QString& text) {
        forms::ComboBox* c = addIn<forms::ComboBox>(frame, name, left, top, width, 315,
                                                    forms::ComboBox::Style::Editable);
        c->setText(text);
        return c;
    };

    // --- 设计参数: two columns of inputs, the building use and the site
    // conditions across the frame.
    Frame1 = addWithCaption<forms::Frame>("Frame1", 0, 0, kFrameWidth, 2685, QStringLiteral("设计参数"));
    Label1 = label(Frame1, "Label1", QStringLiteral("设计使用人数"), 90, 300, 1110);
    Text1 = addIn<forms::TextBox>(Frame1, "Text1", 1215, 300, 1050, 300);
    Text1->setText(QStringLiteral("1"));
    Label2 = label(Frame1, "Label2", QStringLiteral("使用系数α"), kRightLabel, 300, 870);
    Combo5 = combo(Frame1, "Combo5", 3450 + kUseWidening, 300, 1065, QStringLiteral("0.40"));

    Label3 = label(Frame1, "Label3", QStringLiteral("建筑物类型"), 90, 690, 930);
    Combo1 = list(Frame1, "Combo1", 1050, 690, 3465 + kUseWidening);

    Label4 = label(Frame1, "Label4", QStringLiteral("污水定额"), 90, 1080, 825);
    Combo3 = combo(Frame1, "Combo3", kLeftField, 1080, 780, QStringLiteral("50"));
    Label5 = label(Frame1, "Label5", QStringLiteral("L/p·d"), 1740, 1080, 600);
    Label6 = label(Frame1, "Label6", QStringLiteral("污水停留时间"), kRightLabel, 1080, 1110);
    Combo6 = combo(Frame1, "Combo6", 3690 + kUseWidening, 1080, 825, QStringLiteral("12"));

    Label7 = label(Frame1, "Label7", QStringLiteral("排水类型"), 90, 1470, 825);
    Combo2 = list(Frame1, "Combo2", kLeftField, 1470, 1545);
    Label8 = label(Frame1, "Label8", QStringLiteral("清掏周期"), kRightLabel, 1470, 750);
    Combo4 = combo(Frame1, "Combo4", 3330 + kUseWidening, 1470, 1185, QStringLiteral("180"));

    Label9 = label(Frame1, "Label9", QStringLiteral("化粪池类型"), 90, 1860, 930);
    Combo11 = list(Frame1, "Combo11", 1050, 1860, 1395);

    Label10 = label(Frame1, "Label10", QStringLiteral("环境情况"), 90, 2250, 825);
    // The three site conditions share the widening.
    constexpr double kSiteWidening = kUseWidening / 3;
    Combo7 = list(Frame1, "Combo7", kLeftField, 2250, 1185 + kSiteWidening);
    Combo8 = list(Frame1, "Combo8", 2145 + kSiteWidening, 2250, 1185 + kSiteWidening);
    Combo9 = list(Frame1, "Combo9", 3360 + 2 * kSiteWidening, 2250, 1155 + kSiteWidening);

    // --- 计算结果: the results of the initial inputs.
    Frame2 = addWithCaption<forms::Frame>("Frame2", 0, 2775, kFrameWidth, 1230, QStringLiteral("计算结果"));
    auto output = [this](const char* name, double left, double top, double width,
                         const QString& text) {
        forms::TextBox* box = addIn<forms::TextBox>(Frame2, name, left, top, width, 300);
        box->setText(text);
        box->setLocked(true);
        return box;
    };
    Label11 = label(Frame2, "Label11", QStringLiteral("化粪池选型"), 90, 330, 930);
    Text9 = output("Text9", 1050, 330, 1395, QStringLiteral("Z1-2S"));
    Combo10 = combo(Frame2, "Combo10", 2640 + kUseWidening, 330, 1875, kHandPickPrompt.toString());
    Label12 = label(Frame2, "Label12", QStringLiteral("最大使用人数"), 90, 780, 1110);
    Text7 = output("Text7", 1215, 780, 900, QStringLiteral("58"));
    Label13 = label(Frame2, "Label13", QStringLiteral("外形尺寸"), 2340 + kUseWidening, 780, 750);
    Text14 = output("Text14", 3120 + kUseWidening, 780, 1395, QStringLiteral("3530×1890"));

    Command1 = addWithCaption<forms::CommandButton>("Command1", 405 + kUseWidening / 4, 4200, 1000, 390,
                                                    QStringLiteral("计 算"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 1802 + kUseWidening / 2, 4200, 1000, 390,
                                                    QStringLiteral("退出"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", 3200 + kUseWidening * 3 / 4, 4200, 1000, 390,
                                                    QStringLiteral("返回"));

    // --- Working values, below the designed client area.
    auto working = [this](const char* name, double top, const QString& text) {
        forms::TextBox* box = add<forms::TextBox>(name, 60, top, 1200, 300);
        box->setText(text);
        box->hide();
        return box;
    };
    Text2 = working("Text2", 4860, QStringLiteral("0.00028"));
    Text3 = working("Text3", 5220, QStringLiteral("0"));
    Text4 = working("Text4", 5580, QStringLiteral("0"));
    Text6 = working("Text6", 5940, QString());
    Text10 = working("Text10", 6300, QString());
    Text5 = working("Text5", 6660, QString());
    Text11 = working("Text11", 7020, QStringLiteral("S"));
    Text12 = working("Text12", 7380, QString());
    Text13 = working("Text13", 7740, QString());
    Text15 = working("Text15", 8100, QString());

    // Tab order: the inputs row by row, the results, the buttons.
    QWidget* const order[] = {Text1, Combo5, Combo1, Combo3, Combo6, Combo2, Combo4,
                              Combo11, Combo7, Combo8, Combo9, Text9, Combo10, Text7,
                              Text14, Command1, Command2, Command3};
    for (std::size_t i = 1; i < std::size(order); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);

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
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &SepticTankForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &SepticTankForm::Command3_Click);
}

void SepticTankForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
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

void SepticTankForm::refuse(const SepticInputError& error)
{
    QWidget* field = nullptr;
    switch (error.field) {
    case SepticField::Users: field = Text1; break;
    case SepticField::UsageFactor: field = Combo5; break;
    case SepticField::Quota: field = Combo3; break;
    case SepticField::Retention: field = Combo6; break;
    case SepticField::Cleaning: field = Combo4; break;
    case SepticField::DrainageSystem: field = Combo2; break;
    }
    refuseInput(error.message, error.title, field);
}

void SepticTankForm::Command1_Click()
{
    const SepticTankCalculation calculation = calculateSepticTank(inputTexts());
    const std::optional<TankMaterial> material = tankMaterialOf(Combo11->Text());
    if (calculation.error) {
        refuse(*calculation.error);
        return;
    }
    if (!material) {
        refuseInput(QStringLiteral("请选择化粪池类型！"), kWarningTitle, Combo11);
        return;
    }
    const SepticTankDesign& design = calculation.design;
    const SiteConditions site = siteConditions();
    Text11->setText(conditionLetter(SiteCondition::Groundwater, site.groundwater));
    Text12->setText(conditionLetter(SiteCondition::Vehicles, site.vehicles));
    Text13->setText(conditionLetter(SiteCondition::CoverSoil, site.coverSoil));
    Text15->setText(materialLetter(*material));
    Text3->setText(design.sewageVolume);
    Text4->setText(design.sludgeVolume);
    Text6->setText(design.volume);
    Text10->setText(design.sludgeShare);
    Text9->setText(SepticTankCatalogue::typeCode(*material, design.tank, site));
    Text5->setText(design.usersServed);
    Text7->setText(design.usersServedShown);
    // Above the largest standard tank there is no outline size.
    Text14->setText(design.tank
                        ? SepticTankCatalogue::outlineSize(*material, design.tank->number, site)
                              .value_or(QString())
                        : QString());
    resetHandPick();
}

void SepticTankForm::Combo10_Click()
{
    // Every entry of the list is a standard tank.
    const StandardTank* tank = SepticTankCatalogue::byListText(Combo10->Text());
    if (!tank)
        return;
    const HandPickResult pick = handPickTank(*tank, inputTexts());
    if (pick.error) {
        // A refused pick shows no tank beside figures of another.
        resetHandPick();
        refuse(*pick.error);
        return;
    }
    // A tank picked by hand has no type code or outline size of its own.
    Text9->setText(QString());
    Text14->setText(QString());
    Text7->setText(pick.users);
}

// ------------------------------------------------------------ leaving

void SepticTankForm::Command2_Click()
{
    forms::endProgram();
}

void SepticTankForm::Command3_Click()
{
    form0().Show();
    Hide();
}
