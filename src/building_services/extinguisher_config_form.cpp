#include "building_services/extinguisher_config_form.h"

#include "app/input_check.h"
#include "app/results_window_form.h"
#include "app/windows.h"
#include "building_services/extinguisher_rules.h"
#include "building_services/fire_protection_inputs.h"
#include "textio/field_values.h"
#include "textio/numtext.h"
#include "forms/handler.h"
#include "forms/refusal_view.h"


using forms::ComboBox;
using forms::Label;
using forms::OptionButton;
using forms::TextBox;
using namespace building_services;

ExtinguisherConfigForm& Form5()
{
    return forms::defaultInstance<ExtinguisherConfigForm>();
}

namespace {

const QString kDesignCaption = QStringLiteral("灭火器配置计算");
const QString kSizePrompt = QStringLiteral("请选择灭火器规格");

// Background colours of the result fields.
constexpr quint32 kScrollBarGrey = 0x80000000;   // fields of no use in the mode
constexpr quint32 kHighlightText = 0x8000000E;   // a figure within the code
constexpr quint32 kCodeBreachPink = 0xFFC0FF;    // a figure that breaks the code

// Columns, in twips: the left one (class, position, parameters, choice) and
// the right one (hazard, results), wide enough for 15-digit results and the
// unit "平米/A" inside the frame's border.
constexpr double kLeftWidth = 3450;
constexpr double kRightLeft = 3540;
constexpr double kRightWidth = 4260;
constexpr double kWindowWidth = kRightLeft + kRightWidth + 30;

} // namespace

ExtinguisherConfigForm::ExtinguisherConfigForm()
    : CalculatorForm(kDesignCaption, kWindowWidth, 5550, Calculator::Extinguisher)
{
    setObjectName(QStringLiteral("Form5"));

    using namespace Qt::StringLiterals;

    // 火灾种类： and 危险等级：; each option followed by the label that
    // shows its caption.
    put(Frame1, nullptr, {"Frame1", 0, 45, kLeftWidth, 660, u"火灾种类："_s});
    put(Option1, Frame1, {"Option1", 150, 300, 1350, 240, u"A类火灾"_s});
    put(Label7, Frame1, {"Label7", 405, 300, 1095});
    put(Option2, Frame1, {"Option2", 1650, 300, 1350, 240, u"B类火灾"_s});
    put(Label8, Frame1, {"Label8", 1905, 300, 1095});
    put(Frame2, nullptr, {"Frame2", kRightLeft, 45, kRightWidth, 660, u"危险等级："_s});
    put(Option5, Frame2, {"Option5", 150, 300, 1350, 240, u"严重危险"_s});
    put(Label9, Frame2, {"Label9", 405, 300, 1095});
    put(Option6, Frame2, {"Option6", 1650, 300, 1200, 240, u"中危险"_s});
    put(Label12, Frame2, {"Label12", 1905, 300, 945});
    put(Option7, Frame2, {"Option7", 3000, 300, 1200, 240, u"轻危险"_s});
    put(Label13, Frame2, {"Label13", 3255, 300, 945});

    // 灭火设施配置情况及修正系数：
    put(Frame3, nullptr, {"Frame3", 0, 765, kRightLeft + kRightWidth, 1185,
                          u"灭火设施配置情况及修正系数："_s});
    put(Option9, Frame3, {"Option9", 150, 300, 3000, 240, u"设有消火栓系统,K=0.7"_s});
    put(Label16, Frame3, {"Label16", 405, 300, 2745});
    put(Option10, Frame3, {"Option10", kRightLeft + 150, 300, 3000, 240, u"无消火栓及喷淋,K=1.0"_s});
    put(Label14, Frame3, {"Label14", kRightLeft + 405, 300, 2745});
    put(Option8, Frame3, {"Option8", 150, 600, 3000, 240, u"设有喷淋系统,K=0.5"_s});
    put(Label17, Frame3, {"Label17", 405, 600, 2745});
    put(Option11, Frame3, {"Option11", kRightLeft + 150, 600, 3000, 240,
                           u"设有消火栓及喷淋系统,K=0.3"_s});
    put(Label15, Frame3, {"Label15", kRightLeft + 405, 600, 2745});
    put(Option12, Frame3, {"Option12", 150, 900, 6900, 240,
                           u"可燃物露天堆垛,甲.乙.丙类液体贮罐,可燃气体贮罐,K=0.3"_s});
    put(Label18, Frame3, {"Label18", 405, 900, 6645});

    // Left column: 地上或地下建筑：, 设计参数, 灭火器选择：
    put(Frame4, nullptr, {"Frame4", 0, 2010, kLeftWidth, 660, u"地上或地下建筑："_s});
    put(Option3, Frame4, {"Option3", 150, 300, 1350, 240, u"地下建筑"_s});
    put(Label10, Frame4, {"Label10", 405, 300, 1095});
    put(Option4, Frame4, {"Option4", 1650, 300, 1350, 240, u"地上建筑"_s});
    put(Label11, Frame4, {"Label11", 1905, 300, 1095});

    put(Frame5, nullptr, {"Frame5", 0, 2730, kLeftWidth, 1080, u"设计参数"_s});
    put(Label1, Frame5, {"Label1", 150, 330, 930, 0, u"保护面积："_s});
    put(Text1, Frame5, {"Text1", 1110, 285, 1230, 0, u"1000"_s});
    put(Label2, Frame5, {"Label2", 2400, 330, 780, 0, u"平方米"_s});
    put(Label3, Frame5, {"Label3", 150, 690, 930, 0, u"设置点数："_s});
    put(Text5, Frame5, {"Text5", 1110, 645, 1230});
    put(Label4, Frame5, {"Label4", 2400, 690, 780, 0, u"处"_s});

    put(Frame6, nullptr, {"Frame6", 0, 3870, kLeftWidth, 1080, u"灭火器选择："_s});
    put(Option13, Frame6, {"Option13", 90, 300, 1560, 240, u"自动配置灭火器"_s});
    put(Label35, Frame6, {"Label35", 345, 300, 1305});
    put(Option14, Frame6, {"Option14", 1800, 300, 1560, 240, u"手动配置灭火器"_s});
    put(Label36, Frame6, {"Label36", 2055, 300, 1305});
    put(Combo1, Frame6, {"Combo1", 150, 630, 2955, 315,
                          ExtinguisherRatingTable::manualOpeningSize().name.toString()}, ComboBox::Style::Editable);

    // 计算结果: row label, field, unit.
    put(Frame7, nullptr, {"Frame7", kRightLeft, 2010, kRightWidth, 2940, u"计算结果："_s});
    put(Label19, Frame7, {"Label19", 120, 315, 1320, 0, u"配 置 基 准 ："_s});
    put(Text2, Frame7, {"Text2", 1470, 285, 1995});
    put(Label20, Frame7, {"Label20", 3525, 315, 630, 0, u"平米/A"_s});
    put(Label23, Frame7, {"Label23", 120, 645, 1320, 0, u"保 护 距 离 ："_s});
    put(Text4, Frame7, {"Text4", 1470, 615, 1995});
    put(Label24, Frame7, {"Label24", 3525, 645, 630, 0, u"米"_s});
    put(Label34, Frame7, {"Label34", 120, 975, 1320, 0, u"每具最小配置："_s});
    put(Text36, Frame7, {"Text36", 1470, 945, 1995});
    put(Label37, Frame7, {"Label37", 3525, 975, 630, 0, u"A"_s});
    put(Label32, Frame7, {"Label32", 120, 1305, 1320, 0, u"灭 火 级 别 ："_s});
    put(Text9, Frame7, {"Text9", 1470, 1275, 1995});
    put(Label33, Frame7, {"Label33", 3525, 1305, 630, 0, u"A"_s});
    put(Label30, Frame7, {"Label30", 120, 1635, 1320, 0, u"每 处 配 置 ："_s});
    put(Text8, Frame7, {"Text8", 1470, 1605, 1995});
    put(Label31, Frame7, {"Label31", 3525, 1635, 630, 0, u"具"_s});
    put(Label27, Frame7, {"Label27", 120, 1965, 1320, 0, u"实际配置级别："_s});
    put(Text7, Frame7, {"Text7", 1470, 1935, 1995});
    put(Label29, Frame7, {"Label29", 3525, 1965, 630, 0, u"A"_s});
    put(Label26, Frame7, {"Label26", 120, 2295, 1320, 0, u"总 计 配 置 ："_s});
    put(Text12, Frame7, {"Text12", 1470, 2265, 1995});
    put(Label28, Frame7, {"Label28", 3525, 2295, 630, 0, u"具"_s});
    put(Label21, Frame7, {"Label21", 120, 2625, 1320, 0, u"每具灭火级别："_s});
    put(Text3, Frame7, {"Text3", 1470, 2595, 1995});
    put(Label22, Frame7, {"Label22", 3525, 2625, 630, 0, u"A"_s});

    // Buttons at the bottom right.
    put(Command1, nullptr, {"Command1", kWindowWidth - 2925, 5040, 900, 420, u"计 算"_s});
    put(Command2, nullptr, {"Command2", kWindowWidth - 1965, 5040, 900, 420, u"查 看"_s});
    put(Command3, nullptr, {"Command3", kWindowWidth - 1005, 5040, 900, 420, u"退出"_s});

    // Hidden: the current choices and the per-size figures, twelve to a row
    // below the client area.
    const std::pair<TextBox**, const char*> hiddenFields[] = {
        {&Text10, "Text10"}, {&Text11, "Text11"}, {&Text14, "Text14"}, {&Text15, "Text15"},
        {&Text16, "Text16"}, {&Text17, "Text17"}, {&Text18, "Text18"}, {&Text19, "Text19"},
        {&Text20, "Text20"}, {&Text21, "Text21"}, {&Text22, "Text22"}, {&Text23, "Text23"},
        {&Text24, "Text24"}, {&Text25, "Text25"}, {&Text26, "Text26"}, {&Text27, "Text27"},
        {&Text28, "Text28"}, {&Text29, "Text29"}, {&Text30, "Text30"}, {&Text31, "Text31"},
        {&Text32, "Text32"}, {&Text33, "Text33"}, {&Text34, "Text34"}, {&Text35, "Text35"},
    };
    for (int i = 0; i < static_cast<int>(std::size(hiddenFields)); ++i) {
        const auto& [field, name] = hiddenFields[i];
        put(*field, nullptr, {name, 150.0 + 600 * (i % 12), 5700.0 + 330 * (i / 12), 570})->hide();
    }

    // Each option draws its caption invisibly under its label, which lets
    // clicks through, so a click on the caption still picks the option.
    const std::pair<OptionButton*, Label*> captions[] = {
        {Option1, Label7},   {Option2, Label8},   {Option5, Label9},   {Option6, Label12},
        {Option7, Label13},  {Option9, Label16},  {Option10, Label14}, {Option8, Label17},
        {Option11, Label15}, {Option12, Label18}, {Option3, Label10},  {Option4, Label11},
        {Option13, Label35}, {Option14, Label36},
    };
    for (const auto& [option, label] : captions)
        forms::showCaptionOn(option, label);
    for (TextBox* box : {Text2, Text4, Text36, Text9, Text8, Text7, Text12, Text3})
        box->setEnabled(false);
    for (TextBox* box : {Text2, Text4, Text36})
        box->setBackColor(kScrollBarGrey);
    Text8->setBackColor(kHighlightText);
    setDefaultButton(Command1);

    // The state the window opens in: class A, medium hazard, above ground,
    // hydrants (K 0.7), manual configuration of the 2 kg size.
    Option1->setValue(true);
    Option6->setValue(true);
    Option4->setValue(true);
    Option9->setValue(true);
    Option14->setValue(true);

    tabOrder({Text1, Text5, Combo1, Command1, Command2, Command3});

    connectHandlers();
}

void ExtinguisherConfigForm::connectHandlers()
{
    using Self = ExtinguisherConfigForm;
    const std::pair<OptionButton*, void (Self::*)()> options[] = {
        {Option1, &Self::Option1_Click},   {Option2, &Self::Option2_Click},
        {Option5, &Self::Option5_Click},   {Option6, &Self::Option6_Click},
        {Option7, &Self::Option7_Click},   {Option3, &Self::Option3_Click},
        {Option4, &Self::Option4_Click},   {Option9, &Self::Option9_Click},
        {Option10, &Self::Option10_Click}, {Option8, &Self::Option8_Click},
        {Option11, &Self::Option11_Click}, {Option12, &Self::Option12_Click},
        {Option13, &Self::Option13_Click}, {Option14, &Self::Option14_Click},
    };
    for (const auto& [option, handler] : options)
        forms::connectHandler(option, &OptionButton::Click, this, handler);
    forms::connectHandler(Text1, &TextBox::DblClick, this, &Self::Text1_DblClick);
    forms::connectHandler(Text5, &TextBox::DblClick, this, &Self::Text5_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &Self::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &Self::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
}

void ExtinguisherConfigForm::Form_Load()
{
    appendVersionToCaption();
    Text10->setText(kFireClassA.toString());
    Text11->setText(kMediumHazard.toString());
    showReductionFactor(FixedProtection::Hydrants);
    Text15->setText(textio::generalNumberText(kAboveGroundFactor));
    for (const QString& size : ExtinguisherRatingTable::sizeNames())
        Combo1->AddItem(size);
    // The window opens (shown by whoever referred to it) with the focus in
    // the points field.
    Text5->SetFocus();
}

std::array<ExtinguisherConfigForm::SizeFields, 5> ExtinguisherConfigForm::sizeFields() const
{
    return {{
        {Text17, Text16, Text26, Text31},
        {Text19, Text18, Text27, Text32},
        {Text21, Text20, Text28, Text33},
        {Text23, Text22, Text29, Text34},
        {Text25, Text24, Text30, Text35},
    }};
}

void ExtinguisherConfigForm::showRatingUnit(FireClass fireClass)
{
    Label20->setCaption(areaPerRatingUnit(fireClass));
    for (Label* l : {Label22, Label29, Label33})
        l->setCaption(ratingUnit(fireClass));
}

void ExtinguisherConfigForm::Option1_Click()
{
    Text10->setText(kFireClassA.toString());
    showRatingUnit(FireClass::A);
}

void ExtinguisherConfigForm::Option2_Click()
{
    Text10->setText(kFireClassB.toString());
    showRatingUnit(FireClass::B);
}

void ExtinguisherConfigForm::Option5_Click()
{
    Text11->setText(kSevereHazard.toString());
}

void ExtinguisherConfigForm::Option6_Click()
{
    Text11->setText(kMediumHazard.toString());
}

void ExtinguisherConfigForm::Option7_Click()
{
    Text11->setText(kLightHazard.toString());
}

void ExtinguisherConfigForm::Option3_Click()
{
    Text15->setText(textio::generalNumberText(kBelowGroundFactor));
}

void ExtinguisherConfigForm::Option4_Click()
{
    Text15->setText(textio::generalNumberText(kAboveGroundFactor));
}

void ExtinguisherConfigForm::showReductionFactor(FixedProtection protection)
{
    Text14->setText(textio::generalNumberText(reductionFactor(protection)));
}

FixedProtection ExtinguisherConfigForm::fixedProtection() const
{
    const std::pair<forms::OptionButton*, FixedProtection> options[] = {
        {Option10, FixedProtection::None},
        {Option8, FixedProtection::Sprinklers},
        {Option11, FixedProtection::HydrantsAndSprinklers},
        {Option12, FixedProtection::OutdoorStorage},
    };
    for (const auto& [option, protection] : options) {
        if (option->Value())
            return protection;
    }
    return FixedProtection::Hydrants;
}

void ExtinguisherConfigForm::Option9_Click()
{
    showReductionFactor(FixedProtection::Hydrants);
}

void ExtinguisherConfigForm::Option10_Click()
{
    showReductionFactor(FixedProtection::None);
}

void ExtinguisherConfigForm::Option8_Click()
{
    showReductionFactor(FixedProtection::Sprinklers);
}

void ExtinguisherConfigForm::Option11_Click()
{
    showReductionFactor(FixedProtection::HydrantsAndSprinklers);
}

void ExtinguisherConfigForm::Option12_Click()
{
    showReductionFactor(FixedProtection::OutdoorStorage);
}

void ExtinguisherConfigForm::Option13_Click()
{
    for (Label* unit : {Label22, Label28, Label29, Label31})
        unit->hide();
    Combo1->setText(kSizePrompt);
    for (TextBox* box : {Text3, Text9, Text8, Text7, Text12})
        box->setText(QString());
    for (TextBox* box : {Text3, Text8, Text7, Text12})
        box->setBackColor(kScrollBarGrey);
    for (QWidget* control : std::initializer_list<QWidget*>{Text9, Text8, Text7, Text12, Combo1, Command2})
        control->setEnabled(false);
    m_calculated.forget();
}

void ExtinguisherConfigForm::Option14_Click()
{
    for (Label* unit : {Label22, Label28, Label29, Label31})
        unit->show();
    Combo1->setText(ExtinguisherRatingTable::manualOpeningSize().name.toString());
    for (TextBox* box : {Text3, Text8, Text7, Text12})
        box->setBackColor(forms::vbWindowBackground);
    for (QWidget* control : std::initializer_list<QWidget*>{Text9, Text8, Text7, Text12, Combo1, Command2})
        control->setEnabled(true);
    // The manual figures wait for the next calculation.
    for (TextBox* box : {Text9, Text8, Text7, Text12})
        box->setText(QString());
    m_calculated.forget();
}

void ExtinguisherConfigForm::Text1_DblClick()
{
    Text1->setText(QString());
}

void ExtinguisherConfigForm::Text5_DblClick()
{
    Text5->setText(QString());
}

bool ExtinguisherConfigForm::automatic() const
{
    return Option13->Value();
}

QStringList ExtinguisherConfigForm::inputTexts() const
{
    return {Text1->Text(),  Text5->Text(),  Text10->Text(), Text11->Text(),
            Text14->Text(), Text15->Text(), Combo1->Text(),
            automatic() ? QStringLiteral("auto") : QStringLiteral("manual")};
}

void ExtinguisherConfigForm::Command1_Click()
{
    const ExtinguisherOutcome outcome = configureExtinguishers(ExtinguisherInputTexts{
        .area = Text1->Text(),
        .points = Text5->Text(),
        .fireClass = Text10->Text(),
        .hazard = Text11->Text(),
        .location = Text15->Text(),
        .protection = fixedProtection(),
        .size = Combo1->Text(),
        .automatic = automatic(),
    });
    if (outcome.refusal) {
        // The window's own hidden choices are refused without a message.
        if (!outcome.refusal->message.isEmpty())
            fieldControls().refuse(*outcome.refusal);
        return;
    }
    const ExtinguisherResults& r = outcome.values;
    Label37->setCaption(r.ratingUnit);
    Text3->setText(r.sizeRating);
    Text2->setText(r.areaPerUnit);
    Text4->setText(r.protectionDistance);
    Text36->setText(r.minimumRating);
    Text9->setText(r.requiredRating);
    m_calculated.record(inputTexts());
    if (automatic())
        showAutomaticFigures(r);
    else
        showManualFigures(r);
}

forms::FieldControls<ExtinguisherField> ExtinguisherConfigForm::fieldControls() const
{
    return {{ExtinguisherField::Points, Text5},
            {ExtinguisherField::Area, Text1},
            {ExtinguisherField::Size, Combo1}};
}

forms::FieldControls<ManualFigure> ExtinguisherConfigForm::figureControls() const
{
    return {{ManualFigure::RequiredRating, Text9},
            {ManualFigure::PerPoint, Text8},
            {ManualFigure::RatingPerPoint, Text7},
            {ManualFigure::Total, Text12}};
}

void ExtinguisherConfigForm::showAutomaticFigures(const ExtinguisherResults& r)
{
    const std::array<SizeFields, 5> fields = sizeFields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        fields[i].perPoint->setText(r.sizes[i].perPoint);
        fields[i].ratingPerPoint->setText(r.sizes[i].ratingPerPoint);
        fields[i].total->setText(r.sizes[i].total);
    }
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i].remark->setText(r.sizes[i].remark);

    ResultsWindowForm& results = Form9();
    results.Show();
    results.Text1->setText(automaticReportSentence(reportHead(), r.sizes, Label29->Caption()));
}

void ExtinguisherConfigForm::showManualFigures(const ExtinguisherResults& r)
{
    Text8->setText(r.manual.perPoint);
    Text8->setBackColor(r.tooManyPerPoint ? kCodeBreachPink : kHighlightText);
    Text3->setBackColor(r.sizeTooSmall ? kCodeBreachPink : kHighlightText);
    if (r.warning)
        forms::showNotice(*r.warning);
    Text7->setText(r.manual.ratingPerPoint);
    Text12->setText(r.manual.total);
}

ExtinguisherReportHead ExtinguisherConfigForm::reportHead() const
{
    return {
        .area = Text1->Text(),
        .hazardLevel = Text11->Text(),
        .fireClass = Text10->Text(),
        .areaPerUnit = Text2->Text(),
        .areaUnit = Label20->Caption(),
        .points = Text5->Text(),
        .requiredRating = Text9->Text(),
        .ratingUnit = Label33->Caption(),
    };
}

void ExtinguisherConfigForm::Command2_Click()
{
    if (automatic())
        return;
    // The figures on screen belong to the inputs of the last calculation; a
    // report of other inputs waits for a new one.
    if (!m_calculated.areShown(inputTexts())) {
        refuseInput(kCalculateFirstMessage.toString(), kHintTitle, Command1);
        return;
    }
    // The manual figures are reported as the engineer left them.
    const ManualFigureOutcome check = checkManualFigures(ManualFigureTexts{
        .requiredRating = Text9->Text(),
        .perPoint = Text8->Text(),
        .ratingPerPoint = Text7->Text(),
        .total = Text12->Text(),
    });
    if (check.refusal) {
        figureControls().refuse(*check.refusal);
        return;
    }
    Text35->setText(check.values);

    const SizeReport size{Text8->Text(), Text7->Text(), Text12->Text(), Text35->Text()};
    ResultsWindowForm& results = Form9();
    results.Show();
    results.Text1->setText(
        manualReportSentence(reportHead(), Combo1->Text(), size, Label29->Caption()));
}
