#include "building_services/fire_hydrant_form.h"

#include "app/input_check.h"
#include "app/results_window_form.h"
#include "app/windows.h"
#include "building_services/fire_hydrant_hydraulics.h"
#include "building_services/fire_protection_inputs.h"
#include "forms/application.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "textio/field_values.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <cmath>

using forms::ComboBox;
using forms::Label;
using forms::TextBox;
using namespace building_services;

FireHydrantForm& Form11()
{
    return forms::defaultInstance<FireHydrantForm>();
}

namespace {

const QString kDesignCaption = QStringLiteral("消火栓水力计算");

// System colours of the table values: the menu colour, and the scroll-bar
// grey of fields the engineer cannot change.
constexpr quint32 kMenuColour = 0x80000004;
constexpr quint32 kScrollBarGrey = 0x80000000;

// Input rows of the design parameters: field tops, in twips.
constexpr double kRowTops[] = {285, 645, 1005, 1365};
// Columns of the design parameters: label and field lefts and widths.
constexpr double kLabelLeft1 = 105, kLabelWidth1 = 1260, kFieldLeft1 = 1380, kFieldWidth1 = 840;
constexpr double kLabelLeft2 = 2340, kLabelWidth2 = 1410, kFieldLeft2 = 3765, kFieldWidth2 = 1230;
// Result columns: label above the field, unit after it.
constexpr double kResultLeft1 = 105, kResultLeft2 = 2580, kResultWidth = 1860;

} // namespace

FireHydrantForm::FireHydrantForm()
    : CalculatorForm(kDesignCaption, 5100, 4335, Calculator::FireHydrant)
{
    setObjectName(QStringLiteral("Form11"));

    auto label = [this](QWidget* frame, const char* name, const QString& caption, double left,
                        double top, double width) {
        Label* l = addInWithCaption<Label>(frame, name, left, top, width, 240, caption);
        return l;
    };
    auto field = [this](QWidget* frame, const char* name, double left, double top, double width) {
        return addIn<TextBox>(frame, name, left, top, width, 300);
    };
    auto list = [this](QWidget* frame, const char* name, double left, double top, double width) {
        return addIn<ComboBox>(frame, name, left, top, width, 300, ComboBox::Style::PickOnly);
    };

    // --- 设计参数: two columns of four rows.
    Frame1 = addWithCaption<forms::Frame>("Frame1", 0, 45, 5070, 1770, QStringLiteral("设计参数"));
    const auto labelTop = [](int row) { return kRowTops[row] + 30; };
    Label9 = label(Frame1, "Label9", QStringLiteral("喷嘴直径(mm)"), kLabelLeft1, labelTop(0), kLabelWidth1);
    Combo1 = list(Frame1, "Combo1", kFieldLeft1, kRowTops[0], kFieldWidth1);
    Label6 = label(Frame1, "Label6", QStringLiteral("特性系数B"), kLabelLeft2, labelTop(0), kLabelWidth2);
    Text3 = field(Frame1, "Text3", kFieldLeft2, kRowTops[0], kFieldWidth2);
    Text3->setLocked(true);
    Text3->setBackColor(kMenuColour);
    Label10 = label(Frame1, "Label10", QStringLiteral("充实水柱(m)"), kLabelLeft1, labelTop(1), kLabelWidth1);
    Text4 = field(Frame1, "Text4", kFieldLeft1, kRowTops[1], kFieldWidth1);
    Label11 = label(Frame1, "Label11", QStringLiteral("水带长度Ld(m)"), kLabelLeft2, labelTop(1), kLabelWidth2);
    Text5 = field(Frame1, "Text5", kFieldLeft2, kRowTops[1], kFieldWidth2);
    Label7 = label(Frame1, "Label7", QStringLiteral("水带口径(mm)"), kLabelLeft1, labelTop(2), kLabelWidth1);
    Combo2 = list(Frame1, "Combo2", kFieldLeft1, kRowTops[2], kFieldWidth1);
    Label12 = label(Frame1, "Label12", QStringLiteral("水带材质"), kLabelLeft2, labelTop(2), kLabelWidth2);
    Combo3 = list(Frame1, "Combo3", kFieldLeft2, kRowTops[2], kFieldWidth2);
    Label15 = label(Frame1, "Label15", QStringLiteral("水带比阻A"), kLabelLeft1, labelTop(3), kLabelWidth1);
    Text6 = field(Frame1, "Text6", kFieldLeft1, kRowTops[3], kFieldWidth1);
    Text6->setEnabled(false);
    Text6->setBackColor(kScrollBarGrey);
    Label18 = label(Frame1, "Label18", QStringLiteral("栓口损失Hsk(m)"), kLabelLeft2, labelTop(3), kLabelWidth2);
    Text13 = field(Frame1, "Text13", kFieldLeft2, kRowTops[3], kFieldWidth2);
    Text13->setEnabled(false);
    Text13->setBackColor(kScrollBarGrey);

    // --- 计算结果: two columns of two rows, each label above its field.
    Frame2 = addWithCaption<forms::Frame>("Frame2", 0, 1875, 5070, 1620, QStringLiteral("计算结果"));
    const double unitOffset = kResultWidth + 60;
    Label17 = label(Frame2, "Label17", QStringLiteral("喷嘴水压Hq"), kResultLeft1, 270, kResultWidth);
    Text10 = field(Frame2, "Text10", kResultLeft1, 525, kResultWidth);
    Label16 = label(Frame2, "Label16", QStringLiteral("m"), kResultLeft1 + unitOffset, 555, 300);
    Label14 = label(Frame2, "Label14", QStringLiteral("水带损失Hd"), kResultLeft2, 270, kResultWidth);
    Text11 = field(Frame2, "Text11", kResultLeft2, 525, kResultWidth);
    Label13 = label(Frame2, "Label13", QStringLiteral("m"), kResultLeft2 + unitOffset, 555, 300);
    Label1 = label(Frame2, "Label1", QStringLiteral("栓口水压Hxh"), kResultLeft1, 930, kResultWidth);
    Text1 = field(Frame2, "Text1", kResultLeft1, 1185, kResultWidth);
    Label2 = label(Frame2, "Label2", QStringLiteral("m"), kResultLeft1 + unitOffset, 1215, 300);
    Label3 = label(Frame2, "Label3", QStringLiteral("流    量Q"), kResultLeft2, 930, kResultWidth);
    Text2 = field(Frame2, "Text2", kResultLeft2, 1185, kResultWidth);
    Label4 = label(Frame2, "Label4", QStringLiteral("L/s"), kResultLeft2 + unitOffset, 1215, 360);

    // --- Buttons at the bottom right: 计 算 large, 查看 above 返回.
    Command1 = addWithCaption<forms::CommandButton>("Command1", 2925, 3585, 1020, 690,
                                                    QStringLiteral("计 算"));
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));
    Command2 = addWithCaption<forms::CommandButton>("Command2", 4035, 3585, 1035, 330,
                                                    QStringLiteral("查看"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", 4035, 3945, 1035, 330,
                                                    QStringLiteral("返回"));
    setDefaultButton(Command1);
    setCancelButton(Command3);

    // Working values, below the client area and never seen.
    Text7 = add<TextBox>("Text7", 105, 4500, 1800, 300);
    Text7->hide();
    Text9 = add<TextBox>("Text9", 2010, 4500, 1800, 300);
    Text9->hide();

    // The texts the window is designed with.
    Text3->setText(QStringLiteral("0.158"));
    Text4->setText(QStringLiteral("10"));
    Text5->setText(QStringLiteral("25"));
    Text6->setText(QStringLiteral("0.0172"));
    Text13->setText(QStringLiteral("2"));

    setTabOrder(Combo1, Text4);
    setTabOrder(Text4, Text5);
    setTabOrder(Text5, Combo2);
    setTabOrder(Combo2, Combo3);
    setTabOrder(Combo3, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);

    forms::connectHandler(Combo1, &ComboBox::Click, this, &FireHydrantForm::Combo1_Click);
    forms::connectHandler(Combo2, &ComboBox::Click, this, &FireHydrantForm::Combo2_Click);
    forms::connectHandler(Combo3, &ComboBox::Click, this, &FireHydrantForm::Combo3_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &FireHydrantForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &FireHydrantForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &FireHydrantForm::Command3_Click);
}

void FireHydrantForm::Form_Load()
{
    appendVersionToCaption(kDesignCaption);
    // Selecting the opening entries runs the pick handlers, so B and A are
    // the table values of the nozzle and hose shown.
    const QStringList nozzles = NozzleCoefficientTable::diameterTexts();
    for (const QString& diameter : nozzles)
        Combo1->AddItem(diameter);
    Combo1->setListIndex(static_cast<int>(nozzles.indexOf(kOpeningNozzleDiameter)));
    const QStringList hoses = HoseResistanceTable::diameterTexts();
    for (const QString& diameter : hoses)
        Combo2->AddItem(diameter);
    Combo2->setListIndex(static_cast<int>(hoses.indexOf(kOpeningHoseDiameter)));
    for (const QString& material : HoseResistanceTable::materialTexts())
        Combo3->AddItem(material);
    Combo3->setListIndex(0);

    writeNozzleFactor();
    // The nozzle pressure of the opening water column is shown at once.
    const std::optional<double> hm = textio::readNumber(Text4->Text());
    const std::optional<double> phi = textio::readNumber(Text7->Text());
    if (hm && phi) {
        if (const std::optional<NozzlePressureTexts> steps = nozzlePressureSteps(*hm, *phi)) {
            Text9->setText(steps->jetFactor);
            Text10->setText(steps->nozzlePressure);
        }
    }
}

void FireHydrantForm::writeNozzleFactor()
{
    if (const std::optional<double> df = textio::readNumber(Combo1->Text()))
        Text7->setText(textio::generalNumberText(FireHydrantHydraulics::nozzleFactor(*df)));
}

void FireHydrantForm::Combo1_Click()
{
    if (const std::optional<double> b = NozzleCoefficientTable::coefficient(Combo1->Text()))
        Text3->setText(textio::generalNumberText(*b));
    writeNozzleFactor();
    for (TextBox* result : {Text10, Text11, Text1, Text2})
        result->setText(QString());
    m_calculated.forget();
}

void FireHydrantForm::Combo2_Click()
{
    const double diameter = textio::readNumber(Combo2->Text()).value_or(NAN);
    Text6->setText(textio::generalNumberText(HoseResistanceTable::resistance(diameter, Combo3->Text())));
}

void FireHydrantForm::Combo3_Click()
{
    Combo2_Click();
}

QStringList FireHydrantForm::inputTexts() const
{
    return {Text4->Text(), Combo1->Text(), Text5->Text(), Combo2->Text(), Combo3->Text()};
}

void FireHydrantForm::Command1_Click()
{
    // φ, B and A are written by the window itself from its tables.
    const HydrantCalculation calculation = calculateHydrant(HydrantInputTexts{
        .waterColumn = Text4->Text(),
        .hoseLength = Text5->Text(),
        .nozzleFactor = Text7->Text(),
        .nozzleCoefficient = Text3->Text(),
        .hoseResistance = Text6->Text(),
    });
    if (const std::optional<HydrantInputError>& error = calculation.error) {
        refuseInput(error->message, error->title,
                    error->field == HydrantField::WaterColumn ? Text4 : Text5);
        return;
    }
    const HydrantResultTexts& results = calculation.results;
    Text9->setText(results.jetFactor);
    Text10->setText(results.nozzlePressure);
    Text11->setText(results.hoseLoss);
    Text1->setText(results.outletPressure);
    Text2->setText(results.jetFlow);
    m_calculated.record(inputTexts());
}

void FireHydrantForm::Command2_Click()
{
    // The results on screen belong to the inputs of the last calculation; a
    // report of other inputs waits for a new one.
    if (!m_calculated.areShown(inputTexts())) {
        refuseInput(kCalculateFirstMessage.toString(), kHintTitle, Command1);
        return;
    }
    // The results may have been edited by hand (the outlet loss taken off,
    // say); they are reported as they stand, but must be figures.
    const HydrantReportResult report = hydrantReport(HydrantReportTexts{
        .waterColumn = Text4->Text(),
        .nozzleDiameter = Combo1->Text(),
        .hoseLength = Text5->Text(),
        .hoseDiameter = Combo2->Text(),
        .hoseMaterial = Combo3->Text(),
        .jetFlow = Text2->Text(),
        .outletPressure = Text1->Text(),
    });
    if (const std::optional<HydrantInputError>& error = report.error) {
        refuseInput(error->message, error->title,
                    error->field == HydrantField::JetFlow ? Text2 : Text1);
        return;
    }
    ResultsWindowForm& results = Form9();
    results.Show();
    results.Text1->setText(report.sentence);
}

void FireHydrantForm::Command3_Click()
{
    form0().Show();
    Hide();
}
