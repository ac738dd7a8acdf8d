#include "building_services/extinguisher_config_form.h"

#include "app/input_check.h"
#include "app/results_window_form.h"
#include "app/windows.h"
#include "building_services/extinguisher_rules.h"
#include "building_services/fire_protection_inputs.h"
#include "textio/field_values.h"
#include "textio/numtext.h"


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

// Result rows: top of the first field and the pitch, in twips.
constexpr double kResultTop = 285;
constexpr double kResultPitch = 330;

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

    // An option with its caption label beside it. The option keeps its
    // caption but draws it invisibly under the label, which lets clicks
    // through, so a click on the caption still picks the option.
    auto choice = [this](QWidget* frame, const char* name, const char* labelName,
                         const QString& caption, double left, double top, double width,
                         Label*& label) {
        OptionButton* option = addInWithCaption<OptionButton>(frame, name, left, top, width, 240,
                                                              caption);
        option->setStyleSheet(QStringLiteral("QRadioButton { color: transparent; }"));
        label = addInWithCaption<Label>(frame, labelName, left + 255, top, width - 255, 240,
                                        caption);
        label->setWordWrap(false);
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return option;
    };
    auto label = [this](QWidget* frame, const char* name, const QString& caption, double left,
                        double top, double width) {
        Label* l = addInWithCaption<Label>(frame, name, left, top, width, 240, caption);
        return l;
    };

    // --- 火灾种类： and 危险等级：
    Frame1 = addWithCaption<forms::Frame>("Frame1", 0, 45, kLeftWidth, 660, QStringLiteral("火灾种类："));
    Option1 = choice(Frame1, "Option1", "Label7", QStringLiteral("A类火灾"), 150, 300, 1350, Label7);
    Option2 = choice(Frame1, "Option2", "Label8", QStringLiteral("B类火灾"), 1650, 300, 1350, Label8);
    Frame2 = addWithCaption<forms::Frame>("Frame2", kRightLeft, 45, kRightWidth, 660, QStringLiteral("危险等级："));
    Option5 = choice(Frame2, "Option5", "Label9", QStringLiteral("严重危险"), 150, 300, 1350, Label9);
    Option6 = choice(Frame2, "Option6", "Label12", QStringLiteral("中危险"), 1650, 300, 1200, Label12);
    Option7 = choice(Frame2, "Option7", "Label13", QStringLiteral("轻危险"), 3000, 300, 1200, Label13);

    // --- 灭火设施配置情况及修正系数：
    Frame3 = addWithCaption<forms::Frame>("Frame3", 0, 765, kRightLeft + kRightWidth, 1185,
                                          QStringLiteral("灭火设施配置情况及修正系数："));
    Option9 = choice(Frame3, "Option9", "Label16", QStringLiteral("设有消火栓系统,K=0.7"), 150,
                     300, 3000, Label16);
    Option10 = choice(Frame3, "Option10", "Label14", QStringLiteral("无消火栓及喷淋,K=1.0"), kRightLeft + 150,
                      300, 3000, Label14);
    Option8 = choice(Frame3, "Option8", "Label17", QStringLiteral("设有喷淋系统,K=0.5"), 150, 600,
                     3000, Label17);
    Option11 = choice(Frame3, "Option11", "Label15", QStringLiteral("设有消火栓及喷淋系统,K=0.3"),
                      kRightLeft + 150, 600, 3000, Label15);
    Option12 = choice(Frame3, "Option12", "Label18",
                      QStringLiteral("可燃物露天堆垛,甲.乙.丙类液体贮罐,可燃气体贮罐,K=0.3"), 150,
                      900, 6900, Label18);

    // --- Left column: 地上或地下建筑：, 设计参数, 灭火器选择：
    Frame4 = addWithCaption<forms::Frame>("Frame4", 0, 2010, kLeftWidth, 660, QStringLiteral("地上或地下建筑："));
    Option3 = choice(Frame4, "Option3", "Label10", QStringLiteral("地下建筑"), 150, 300, 1350, Label10);
    Option4 = choice(Frame4, "Option4", "Label11", QStringLiteral("地上建筑"), 1650, 300, 1350, Label11);

    Frame5 = addWithCaption<forms::Frame>("Frame5", 0, 2730, kLeftWidth, 1080, QStringLiteral("设计参数"));
    Label1 = label(Frame5, "Label1", QStringLiteral("保护面积："), 150, 330, 930);
    Text1 = addIn<TextBox>(Frame5, "Text1", 1110, 285, 1230, 300);
    Label2 = label(Frame5, "Label2", QStringLiteral("平方米"), 2400, 330, 780);
    Label3 = label(Frame5, "Label3", QStringLiteral("设置点数："), 150, 690, 930);
    Text5 = addIn<TextBox>(Frame5, "Text5", 1110, 645, 1230, 300);
    Label4 = label(Frame5, "Label4", QStringLiteral("处"), 2400, 690, 780);

    Frame6 = addWithCaption<forms::Frame>("Frame6", 0, 3870, kLeftWidth, 1080, QStringLiteral("灭火器选择："));
    Option13 = choice(Frame6, "Option13", "Label35", QStringLiteral("自动配置灭火器"), 90, 300,
                      1560, Label35);
    Option14 = choice(Frame6, "Option14", "Label36", QStringLiteral("手动配置灭火器"), 1800, 300,
                      1560, Label36);
    Combo1 = addIn<ComboBox>(Frame6, "Combo1", 150, 630, 2955, 315, ComboBox::Style::Editable);

    // --- 计算结果：
    Frame7 = addWithCaption<forms::Frame>("Frame7", kRightLeft, 2010, kRightWidth, 2940,
                                          QStringLiteral("计算结果："));
    int row = 0;
    auto result = [&](const char* labelName, const QString& caption, const char* name,
                      const char* unitName, const QString& unit, Label*& rowLabel,
                      Label*& unitLabel) {
        const double top = kResultTop + kResultPitch * row++;
        rowLabel = label(Frame7, labelName, caption, 120, top + 30, 1320);
        TextBox* box = addIn<TextBox>(Frame7, name, 1470, top, 1995, 300);
        box->setEnabled(false);
        unitLabel = label(Frame7, unitName, unit, 3525, top + 30, 630);
        return box;
    };
    Text2 = result("Label19", QStringLiteral("配 置 基 准 ："), "Text2", "Label20",
                   QStringLiteral("平米/A"), Label19, Label20);
    Text4 = result("Label23", QStringLiteral("保 护 距 离 ："), "Text4", "Label24",
                   QStringLiteral("米"), Label23, Label24);
    Text36 = result("Label34", QStringLiteral("每具最小配置："), "Text36", "Label37",
                    QStringLiteral("A"), Label34, Label37);
    Text9 = result("Label32", QStringLiteral("灭 火 级 别 ："), "Text9", "Label33",
                   QStringLiteral("A"), Label32, Label33);
    Text8 = result("Label30", QStringLiteral("每 处 配 置 ："), "Text8", "Label31",
                   QStringLiteral("具"), Label30, Label31);
    Text7 = result("Label27", QStringLiteral("实际配置级别："), "Text7", "Label29",
                   QStringLiteral("A"), Label27, Label29);
    Text12 = result("Label26", QStringLiteral("总 计 配 置 ："), "Text12", "Label28",
                    QStringLiteral("具"), Label26, Label28);
    Text3 = result("Label21", QStringLiteral("每具灭火级别："), "Text3", "Label22",
                   QStringLiteral("A"), Label21, Label22);
    for (TextBox* box : {Text2, Text4, Text36})
        box->setBackColor(kScrollBarGrey);
    Text8->setBackColor(kHighlightText);

    // --- Buttons at the bottom right.
    Command1 = addWithCaption<forms::CommandButton>("Command1", kWindowWidth - 2925, 5040, 900, 420,
                                                    QStringLiteral("计 算"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", kWindowWidth - 1965, 5040, 900, 420,
                                                    QStringLiteral("查 看"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", kWindowWidth - 1005, 5040, 900, 420,
                                                    QStringLiteral("退出"));
    setDefaultButton(Command1);

    // --- Hidden fields: the current choices and the per-size figures.
    int hidden = 0;
    auto hiddenField = [&](const char* name) {
        TextBox* box = add<TextBox>(name, 150 + 600 * (hidden % 12), 5700 + 330 * (hidden / 12),
                                    570, 300);
        ++hidden;
        box->hide();
        return box;
    };
    Text10 = hiddenField("Text10");
    Text11 = hiddenField("Text11");
    Text14 = hiddenField("Text14");
    Text15 = hiddenField("Text15");
    Text16 = hiddenField("Text16");
    Text17 = hiddenField("Text17");
    Text18 = hiddenField("Text18");
    Text19 = hiddenField("Text19");
    Text20 = hiddenField("Text20");
    Text21 = hiddenField("Text21");
    Text22 = hiddenField("Text22");
    Text23 = hiddenField("Text23");
    Text24 = hiddenField("Text24");
    Text25 = hiddenField("Text25");
    Text26 = hiddenField("Text26");
    Text27 = hiddenField("Text27");
    Text28 = hiddenField("Text28");
    Text29 = hiddenField("Text29");
    Text30 = hiddenField("Text30");
    Text31 = hiddenField("Text31");
    Text32 = hiddenField("Text32");
    Text33 = hiddenField("Text33");
    Text34 = hiddenField("Text34");
    Text35 = hiddenField("Text35");

    // The state the window opens in: class A, medium hazard, above ground,
    // hydrants (K 0.7), manual configuration of the 2 kg size.
    Option1->setValue(true);
    Option6->setValue(true);
    Option4->setValue(true);
    Option9->setValue(true);
    Option14->setValue(true);
    Text1->setText(QStringLiteral("1000"));
    Combo1->setText(ExtinguisherRatingTable::manualOpeningSize().name.toString());

    setTabOrder(Text1, Text5);
    setTabOrder(Text5, Combo1);
    setTabOrder(Combo1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);

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
        connect(option, &OptionButton::Click, this, handler);
    connect(Text1, &TextBox::DblClick, this, &Self::Text1_DblClick);
    connect(Text5, &TextBox::DblClick, this, &Self::Text5_DblClick);
    connect(Command1, &forms::CommandButton::Click, this, &Self::Command1_Click);
    connect(Command2, &forms::CommandButton::Click, this, &Self::Command2_Click);
    connect(Command3, &forms::CommandButton::Click, this, &Self::Command3_Click);
}

void ExtinguisherConfigForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
    Text10->setText(kFireClassA.toString());
    Text11->setText(kMediumHazard.toString());
    Text14->setText(textio::generalNumberText(kHydrantsReduction));
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

void ExtinguisherConfigForm::showRatingUnit(const QString& unit)
{
    Label20->setCaption(QStringLiteral("平米/") + unit);
    for (Label* l : {Label22, Label29, Label33})
        l->setCaption(unit);
}

void ExtinguisherConfigForm::Option1_Click()
{
    Text10->setText(kFireClassA.toString());
    showRatingUnit(ratingUnit(FireClass::A));
}

void ExtinguisherConfigForm::Option2_Click()
{
    Text10->setText(kFireClassB.toString());
    showRatingUnit(ratingUnit(FireClass::B));
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

void ExtinguisherConfigForm::Option9_Click()
{
    Text14->setText(textio::generalNumberText(kHydrantsReduction));
}

void ExtinguisherConfigForm::Option10_Click()
{
    Text14->setText(textio::generalNumberText(kNoFixedProtectionReduction));
}

void ExtinguisherConfigForm::Option8_Click()
{
    Text14->setText(textio::generalNumberText(kSprinklersReduction));
}

void ExtinguisherConfigForm::Option11_Click()
{
    Text14->setText(textio::generalNumberText(kHydrantsAndSprinklersReduction));
}

void ExtinguisherConfigForm::Option12_Click()
{
    Text14->setText(textio::generalNumberText(kOutdoorStorageReduction));
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
    const ExtinguisherCalculation calculation = configureExtinguishers(ExtinguisherInputTexts{
        .area = Text1->Text(),
        .points = Text5->Text(),
        .fireClass = Text10->Text(),
        .hazard = Text11->Text(),
        .location = Text15->Text(),
        .reduction = Text14->Text(),
        .size = Combo1->Text(),
        .automatic = automatic(),
    });
    if (const std::optional<ExtinguisherInputError>& error = calculation.error) {
        if (!error->message.isEmpty())
            refuseInput(error->message, error->title, fieldOf(error->field));
        return;
    }
    const ExtinguisherResults& r = calculation.results;
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

QWidget* ExtinguisherConfigForm::fieldOf(ExtinguisherField field) const
{
    switch (field) {
    case ExtinguisherField::Area:
        return Text1;
    case ExtinguisherField::Size:
        return Combo1;
    case ExtinguisherField::Points:
    case ExtinguisherField::Choices:
        break;
    }
    return Text5;
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
    // One warning per press: too many per point goes before too small a size.
    if (r.tooManyPerPoint) {
        forms::MsgBox(QStringLiteral("每处设置的灭火器数量超过规范规定【GBJ140-90-4.0.7】！"
                                     "请增加设置点数量或改变灭火器规格！"),
                      forms::vbOKOnly, QStringLiteral("警告！"));
    } else if (r.sizeTooSmall) {
        forms::MsgBox(QStringLiteral("灭火器规格偏小，不能满足规范最小配置级别要求！"),
                      forms::vbOKOnly, kWarningTitle);
    }
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
    const ManualFigureCheck check = checkManualFigures(ManualFigureTexts{
        .requiredRating = Text9->Text(),
        .perPoint = Text8->Text(),
        .ratingPerPoint = Text7->Text(),
        .total = Text12->Text(),
    });
    if (const std::optional<ManualFigureError>& error = check.error) {
        TextBox* const fields[] = {Text9, Text8, Text7, Text12}; // in ManualFigure's order
        refuseInput(error->message, error->title, fields[static_cast<int>(error->figure)]);
        return;
    }
    Text35->setText(check.remark);

    const SizeReport size{Text8->Text(), Text7->Text(), Text12->Text(), Text35->Text()};
    ResultsWindowForm& results = Form9();
    results.Show();
    results.Text1->setText(
        manualReportSentence(reportHead(), Combo1->Text(), size, Label29->Caption()));
}

void ExtinguisherConfigForm::Command3_Click()
{
    forms::endProgram();
}
