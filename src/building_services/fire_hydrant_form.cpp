#include "building_services/fire_hydrant_form.h"

#include "app/input_check.h"
#include "app/results_window_form.h"
#include "app/windows.h"
#include "building_services/fire_hydrant_hydraulics.h"
#include "building_services/fire_protection_inputs.h"
#include "forms/application.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"
#include "forms/refusal_view.h"

using forms::ComboBox;
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

} // namespace

FireHydrantForm::FireHydrantForm()
    : CalculatorForm(kDesignCaption, 5100, 4335, Calculator::FireHydrant)
{
    setObjectName(QStringLiteral("Form11"));

    using namespace Qt::StringLiterals;
    const ComboBox::Style pickOnly = ComboBox::Style::PickOnly;

    // 设计参数: two columns of four rows, each label beside its field.
    put(Frame1, nullptr, {"Frame1", 0, 45, 5070, 1770, u"设计参数"_s});
    put(Label9, Frame1, {"Label9", 105, 315, 1260, 0, u"喷嘴直径(mm)"_s});
    put(Combo1, Frame1, {"Combo1", 1380, 285, 840}, pickOnly);
    put(Label6, Frame1, {"Label6", 2340, 315, 1410, 0, u"特性系数B"_s});
    put(Text3, Frame1, {"Text3", 3765, 285, 1230, 0, u"0.158"_s});
    put(Label10, Frame1, {"Label10", 105, 675, 1260, 0, u"充实水柱(m)"_s});
    put(Text4, Frame1, {"Text4", 1380, 645, 840, 0, u"10"_s});
    put(Label11, Frame1, {"Label11", 2340, 675, 1410, 0, u"水带长度Ld(m)"_s});
    put(Text5, Frame1, {"Text5", 3765, 645, 1230, 0, u"25"_s});
    put(Label7, Frame1, {"Label7", 105, 1035, 1260, 0, u"水带口径(mm)"_s});
    put(Combo2, Frame1, {"Combo2", 1380, 1005, 840}, pickOnly);
    put(Label12, Frame1, {"Label12", 2340, 1035, 1410, 0, u"水带材质"_s});
    put(Combo3, Frame1, {"Combo3", 3765, 1005, 1230}, pickOnly);
    put(Label15, Frame1, {"Label15", 105, 1395, 1260, 0, u"水带比阻A"_s});
    put(Text6, Frame1, {"Text6", 1380, 1365, 840, 0, u"0.0172"_s});
    put(Label18, Frame1, {"Label18", 2340, 1395, 1410, 0, u"栓口损失Hsk(m)"_s});
    put(Text13, Frame1, {"Text13", 3765, 1365, 1230, 0, u"2"_s});

    // 计算结果: two columns of two rows, each label above its field and the
    // unit after it.
    put(Frame2, nullptr, {"Frame2", 0, 1875, 5070, 1620, u"计算结果"_s});
    put(Label17, Frame2, {"Label17", 105, 270, 1860, 0, u"喷嘴水压Hq"_s});
    put(Text10, Frame2, {"Text10", 105, 525, 1860});
    put(Label16, Frame2, {"Label16", 2025, 555, 300, 0, u"m"_s});
    put(Label14, Frame2, {"Label14", 2580, 270, 1860, 0, u"水带损失Hd"_s});
    put(Text11, Frame2, {"Text11", 2580, 525, 1860});
    put(Label13, Frame2, {"Label13", 4500, 555, 300, 0, u"m"_s});
    put(Label1, Frame2, {"Label1", 105, 930, 1860, 0, u"栓口水压Hxh"_s});
    put(Text1, Frame2, {"Text1", 105, 1185, 1860});
    put(Label2, Frame2, {"Label2", 2025, 1215, 300, 0, u"m"_s});
    put(Label3, Frame2, {"Label3", 2580, 930, 1860, 0, u"流    量Q"_s});
    put(Text2, Frame2, {"Text2", 2580, 1185, 1860});
    put(Label4, Frame2, {"Label4", 4500, 1215, 360, 0, u"L/s"_s});

    // Buttons at the bottom right: 计 算 large, 查看 above 返回.
    put(Command1, nullptr, {"Command1", 2925, 3585, 1020, 690, u"计 算"_s});
    put(Command2, nullptr, {"Command2", 4035, 3585, 1035, 330, u"查看"_s});
    put(Command3, nullptr, {"Command3", 4035, 3945, 1035, 330, u"返回"_s});

    // Working values, below the client area and never seen.
    put(Text7, nullptr, {"Text7", 105, 4500, 1800});
    put(Text9, nullptr, {"Text9", 2010, 4500, 1800});

    Text3->setLocked(true);
    Text3->setBackColor(kMenuColour);
    for (TextBox* shownOnly : {Text6, Text13}) {
        shownOnly->setEnabled(false);
        shownOnly->setBackColor(kScrollBarGrey);
    }
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));
    setDefaultButton(Command1);
    setCancelButton(Command3);
    Text7->hide();
    Text9->hide();

    tabOrder({Combo1, Text4, Text5, Combo2, Combo3, Command1, Command2, Command3});

    connectHandlers();
}

void FireHydrantForm::connectHandlers()
{
    forms::connectHandler(Combo1, &ComboBox::Click, this, &FireHydrantForm::Combo1_Click);
    forms::connectHandler(Combo2, &ComboBox::Click, this, &FireHydrantForm::Combo2_Click);
    forms::connectHandler(Combo3, &ComboBox::Click, this, &FireHydrantForm::Combo3_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &FireHydrantForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &FireHydrantForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &FireHydrantForm::Command3_Click);
}

forms::FieldControls<HydrantField> FireHydrantForm::fieldControls() const
{
    return {{HydrantField::WaterColumn, Text4},
            {HydrantField::HoseLength, Text5},
            {HydrantField::JetFlow, Text2},
            {HydrantField::OutletPressure, Text1}};
}

void FireHydrantForm::Form_Load()
{
    appendVersionToCaption();
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
    if (const std::optional<NozzlePressureTexts> steps =
            nozzlePressureSteps(Text4->Text(), Text7->Text())) {
        Text9->setText(steps->jetFactor);
        Text10->setText(steps->nozzlePressure);
    }
}

void FireHydrantForm::writeNozzleFactor()
{
    if (const std::optional<QString> phi = nozzleFactorText(Combo1->Text()))
        Text7->setText(*phi);
}

void FireHydrantForm::Combo1_Click()
{
    if (const std::optional<QString> b = nozzleCoefficientText(Combo1->Text()))
        Text3->setText(*b);
    writeNozzleFactor();
    for (TextBox* result : {Text10, Text11, Text1, Text2})
        result->setText(QString());
    m_calculated.forget();
}

void FireHydrantForm::Combo2_Click()
{
    Text6->setText(hoseResistanceText(Combo2->Text(), Combo3->Text()));
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
    // φ, B and A are the table values the picks wrote.
    const HydrantOutcome outcome = calculateHydrant(HydrantInputTexts{
        .waterColumn = Text4->Text(),
        .hoseLength = Text5->Text(),
        .nozzleFactor = Text7->Text(),
        .nozzleCoefficient = Text3->Text(),
        .hoseResistance = Text6->Text(),
    });
    if (outcome.refusal) {
        fieldControls().refuse(*outcome.refusal);
        return;
    }
    const HydrantResultTexts& results = outcome.values;
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
    const HydrantReportOutcome report = hydrantReport(HydrantReportTexts{
        .waterColumn = Text4->Text(),
        .nozzleDiameter = Combo1->Text(),
        .hoseLength = Text5->Text(),
        .hoseDiameter = Combo2->Text(),
        .hoseMaterial = Combo3->Text(),
        .jetFlow = Text2->Text(),
        .outletPressure = Text1->Text(),
    });
    if (report.refusal) {
        fieldControls().refuse(*report.refusal);
        return;
    }
    ResultsWindowForm& results = Form9();
    results.Show();
    results.Text1->setText(report.values);
}

void FireHydrantForm::Command3_Click()
{
    form0().Show();
    Hide();
}
