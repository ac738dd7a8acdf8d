#include "hydraulics/drainage_pipe_form.h"

#include "app/input_check.h"
#include "forms/refusal_view.h"
#include "app/windows.h"
#include "forms/application.h"
#include "textio/numtext.h"
#include "forms/platform.h"
#include "hydraulics/drainage_flow.h"
#include "forms/handler.h"

#include <QSignalBlocker>

#include <initializer_list>

using catalogues::DrainFlowMode;
using catalogues::kDiameterPrompt;
using catalogues::kSlopePrompt;
using catalogues::DrainPipeMaterial;
using catalogues::GravityListKind;
namespace Catalogue = catalogues::GravityPipeCatalogue;

DrainagePipeForm& Form1()
{
    return forms::defaultInstance<DrainagePipeForm>();
}

using namespace Qt::StringLiterals;

namespace {

const QString kCaption = QStringLiteral("排水管道水力计算");

using hydraulics::DrainageCalculation::kFullnessPrompt;
// The fullness list shows this while full flow is selected.
const QString kFullFlowFullnessPrompt = QStringLiteral("请选择坡充满度");

} // namespace

DrainagePipeForm::DrainagePipeForm()
    : CalculatorForm(kCaption, 4515, 4500, Calculator::Drainage)
{
    setObjectName(QStringLiteral("Form1"));

    using forms::ComboBox;
    using forms::Label;
    using forms::OptionButton;
    using forms::TextBox;
    const auto material = catalogues::drainPipeMaterialCaption;
    const auto mode = catalogues::drainFlowModeCaption;
    const ComboBox::Style editable = ComboBox::Style::Editable;

    // Materials, two to a row, each caption covered by a label.
    put(Frame3, nullptr, {"Frame3", 0, 45, 4480, 1035, u"材质选择"_s});
    put(Option4, Frame3, {"Option4", 240, 300, 1900, 0, material(DrainPipeMaterial::Concrete)});
    put(Option3, Frame3, {"Option3", 2280, 300, 2100, 0, material(DrainPipeMaterial::Corrugated)});
    put(Option6, Frame3, {"Option6", 240, 660, 1900, 0, material(DrainPipeMaterial::CastIron)});
    put(Option7, Frame3, {"Option7", 2280, 660, 2100, 0, material(DrainPipeMaterial::Pvcu)});
    put(Label10, Frame3, {"Label10", 540, 300, 1560, 300});
    put(Label11, Frame3, {"Label11", 2580, 300, 1780, 300});
    put(Label12, Frame3, {"Label12", 540, 660, 1560, 300});
    put(Label13, Frame3, {"Label13", 2580, 660, 1780, 300});

    // Design parameters: flow modes and diameter, then slope and fullness.
    put(Frame1, nullptr, {"Frame1", 0, 1140, 4480, 1590, u"设计参数"_s});
    put(Option1, Frame1, {"Option1", 240, 510, 1000, 0, mode(DrainFlowMode::Full)});
    put(Option2, Frame1, {"Option2", 1260, 510, 1000, 0, mode(DrainFlowMode::PartFull)});
    put(Label5, Frame1, {"Label5", 540, 510, 680, 300});
    put(Label6, Frame1, {"Label6", 1560, 510, 680, 300});
    put(Label1, Frame1, {"Label1", 2400, 270, 1200, 0, u"管  径"_s});
    put(Combo1, Frame1, {"Combo1", 2400, 510, 1935, 0, kDiameterPrompt}, editable);
    put(Label2, Frame1, {"Label2", 240, 930, 1200, 0, u"坡度(‰)"_s});
    put(Label3, Frame1, {"Label3", 2400, 930, 1200, 0, u"充满度"_s});
    put(Combo2, Frame1, {"Combo2", 240, 1170, 1935, 0, kSlopePrompt}, editable);
    put(Combo3, Frame1, {"Combo3", 2400, 1170, 1935, 0, kFullnessPrompt}, editable);

    // Results side by side, each followed by its unit; wide enough for the
    // largest pipe's flow at a typed slope of 1000 ‰ ("448847.603").
    put(Frame2, nullptr, {"Frame2", 0, 2820, 4480, 780, u"计算结果"_s});
    put(Label4, Frame2, {"Label4", 240, 375, 540, 0, u"流速v"_s});
    put(Text1, Frame2, {"Text1", 780, 330, 1140});
    put(Label7, Frame2, {"Label7", 1980, 375, 360, 0, u"m/s"_s});
    put(Label8, Frame2, {"Label8", 2400, 375, 540, 0, u"流量Q"_s});
    put(Text2, Frame2, {"Text2", 2940, 330, 1140});
    put(Label9, Frame2, {"Label9", 4140, 375, 300, 0, u"L/s"_s});

    // Credits on the left, buttons on the right.
    put(Label14, nullptr, {"Label14", 60, 3720, 2520, 0, u"依据：GBJ 14-87"_s});
    put(Text3, nullptr, {"Text3", 60, 4020, 2520, 0, u"Vantor_Tools"_s});
    putButtonBlock(Command1, {"Command1", 2700, 3690, 825, 690}, Command3,
                   {"Command3", 3600, 3690, 870, 330}, Command2, {"Command2", 3600, 4050, 870, 330});
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));

    // The labels over the captions keep their clicks: 满流 and 非满流 take
    // them as picks of their options.
    const std::pair<forms::OptionButton*, forms::Label*> captions[] = {
        {Option4, Label10}, {Option3, Label11}, {Option6, Label12},
        {Option7, Label13}, {Option1, Label5},  {Option2, Label6},
    };
    for (const auto& [option, label] : captions) {
        forms::showCaptionOn(option, label, forms::CaptionClicks::StayOnLabel);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    }
    Text3->setLocked(true);

    // Working fields, below the visible area.
    put(Text4, nullptr, {"Text4", 0, 4800, 600});
    put(Text5, nullptr, {"Text5", 600, 4800, 600});
    put(Text6, nullptr, {"Text6", 1200, 4800, 600});
    put(Text7, nullptr, {"Text7", 1800, 4800, 600});
    put(Text9, nullptr, {"Text9", 2400, 4800, 600});
    put(Text10, nullptr, {"Text10", 3000, 4800, 600});
    put(Text11, nullptr, {"Text11", 3600, 4800, 600});
    put(Combo4, nullptr, {"Combo4", 0, 5100, 1200}, forms::ComboBox::Style::Editable);
    for (QWidget* hidden : std::initializer_list<QWidget*>{Text4, Text5, Text6, Text7, Text9,
                                                          Text10, Text11, Combo4})
        hidden->hide();

    tabOrder({Option4, Option3, Option6, Option7, Option1, Option2, Combo1, Combo2, Combo3, Command1,
              Command3, Command2, Text1, Text2, Text3});

    connectHandlers();
}

void DrainagePipeForm::connectHandlers()
{
    forms::connectHandler(Option4, &forms::OptionButton::Click, this, &DrainagePipeForm::Option4_Click);
    forms::connectHandler(Option3, &forms::OptionButton::Click, this, &DrainagePipeForm::Option3_Click);
    forms::connectHandler(Option6, &forms::OptionButton::Click, this, &DrainagePipeForm::Option6_Click);
    forms::connectHandler(Option7, &forms::OptionButton::Click, this, &DrainagePipeForm::Option7_Click);
    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &DrainagePipeForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &DrainagePipeForm::Option2_Click);
    forms::connectHandler(Label5, &forms::Label::Click, this, &DrainagePipeForm::Label5_Click);
    forms::connectHandler(Label6, &forms::Label::Click, this, &DrainagePipeForm::Label6_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Change, this, &DrainagePipeForm::Combo1_Change);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &DrainagePipeForm::Combo1_Click);
    forms::connectHandler(Text11, &forms::TextBox::Change, this, &DrainagePipeForm::Text11_Change);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &DrainagePipeForm::Combo2_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &DrainagePipeForm::Command1_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &DrainagePipeForm::Command3_Click);
}

void DrainagePipeForm::Form_Load()
{
    appendVersionToCaption();
    // Concrete in part-full flow, its lists loaded once.
    Option4->setValue(true);
    Option2->setValue(true);
}

std::optional<DrainPipeMaterial> DrainagePipeForm::selectedMaterial() const
{
    if (Option4->Value())
        return DrainPipeMaterial::Concrete;
    if (Option3->Value())
        return DrainPipeMaterial::Corrugated;
    if (Option6->Value())
        return DrainPipeMaterial::CastIron;
    if (Option7->Value())
        return DrainPipeMaterial::Pvcu;
    return std::nullopt;
}

void DrainagePipeForm::loadList(forms::ComboBox* list, const QString& prompt, const QStringList* texts)
{
    list->Clear();
    list->setText(prompt);
    if (!texts)
        return;
    for (const QString& text : *texts)
        list->AddItem(text);
}

// --- Materials and flow modes ------------------------------------------------

void DrainagePipeForm::selectMaterial(DrainPipeMaterial material)
{
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    Command3->setEnabled(true);
    Frame1->setEnabled(true);
    const bool hasFullFlow = Catalogue::hasFlowMode(material, DrainFlowMode::Full);
    Option1->setEnabled(hasFullFlow);
    Label5->setEnabled(hasFullFlow);
    if (hasFullFlow) {
        // The engineer chooses the flow mode next; until then the lists wait.
        Option1->setValue(false);
        Option2->setValue(false);
        Combo1->setEnabled(false);
        Combo2->setEnabled(false);
        Combo3->setEnabled(false);
        if (material == DrainPipeMaterial::Corrugated)
            loadList(Combo1, kDiameterPrompt, nullptr);
    } else {
        // Part-full flow only: the material's lists are loaded also when
        // part-full flow was selected already.
        if (Option2->Value())
            Option2_Click();
        else
            Option2->setValue(true);
    }
    Text1->setText(QString());
    Text2->setText(QString());
}

void DrainagePipeForm::Option4_Click()
{
    selectMaterial(DrainPipeMaterial::Concrete);
}

void DrainagePipeForm::Option3_Click()
{
    selectMaterial(DrainPipeMaterial::Corrugated);
}

void DrainagePipeForm::Option6_Click()
{
    selectMaterial(DrainPipeMaterial::CastIron);
}

void DrainagePipeForm::Option7_Click()
{
    selectMaterial(DrainPipeMaterial::Pvcu);
}

void DrainagePipeForm::Option1_Click()
{
    const std::optional<DrainPipeMaterial> material = selectedMaterial();
    Combo1->setEnabled(true);
    Combo2->setEnabled(true);
    Combo3->setEnabled(false);
    Combo3->setText(kFullFlowFullnessPrompt);
    if (!material)
        return;
    loadList(Combo1, kDiameterPrompt,
             Catalogue::list(*material, DrainFlowMode::Full, GravityListKind::Diameter));
    loadList(Combo2, kSlopePrompt,
             Catalogue::list(*material, DrainFlowMode::Full, GravityListKind::Slope));
}

void DrainagePipeForm::Option2_Click()
{
    const std::optional<DrainPipeMaterial> material = selectedMaterial();
    Combo1->setEnabled(true);
    Combo2->setEnabled(true);
    Combo3->setEnabled(true);
    if (!material)
        return;
    const auto list = [&](GravityListKind kind) {
        return Catalogue::list(*material, DrainFlowMode::PartFull, kind);
    };
    loadList(Combo3, kFullnessPrompt, list(GravityListKind::Fullness));
    loadList(Combo1, kDiameterPrompt, list(GravityListKind::Diameter));
    loadList(Combo2, kSlopePrompt, list(GravityListKind::Slope));
}

void DrainagePipeForm::Label5_Click()
{
    Option1->setValue(true);
}

void DrainagePipeForm::Label6_Click()
{
    Option2->setValue(true);
}

// --- Diameter and slope ------------------------------------------------------

void DrainagePipeForm::Combo1_Change()
{
    const QString text = Combo1->Text();
    if (text.isEmpty() || text == kDiameterPrompt) {
        Text11->setText(QStringLiteral("0"));
        return;
    }
    // A text that is no number leaves no diameter (and proposes no slope)
    // until it is finished.
    Text11->setText(
        hydraulics::DrainageCalculation::diameterMetresText(text).value_or(QString()));
}

void DrainagePipeForm::Combo1_Click()
{
    const QString diameter = Combo1->Text();
    const std::optional<DrainPipeMaterial> material = selectedMaterial();
    const bool fullFlow = Option1->Value();

    // Minimum slope, GBJ 14-87 §3.2.9.
    Text5->setText(catalogues::MinSlopeTable::minSlopeText(diameter));
    if (fullFlow) {
        Combo2->setText(Text5->Text());
    } else if (material) {
        if (const std::optional<QString> slope =
                hydraulics::DefaultSlopeTable::slopeText(*material, diameter))
            Combo2->setText(*slope);
    }

    const QString metres =
        hydraulics::DrainageCalculation::diameterMetresText(diameter).value_or(QStringLiteral("0"));
    if (!fullFlow) {
        // Writing the diameter in metres proposes the slope for it.
        Text11->setText(metres);
        const std::optional<double> d = textio::readNumber(Text11->Text());
        if (material && d) {
            if (const std::optional<QString> fullness =
                    hydraulics::DefaultFullnessRule::fullnessText(*d, *material))
                Combo3->setText(*fullness);
        }
    }
    Text11->setText(metres);
}

void DrainagePipeForm::Text11_Change()
{
    const std::optional<double> d = textio::readNumber(Text11->Text());
    if (!d)
        return;
    if (const std::optional<QString> slope = hydraulics::DefaultSlopeRule::slopeText(*d))
        Combo2->setText(*slope);
}

void DrainagePipeForm::Combo2_Click()
{
    // Looked up from the diameter shown now, typed or picked.
    if (const auto warning = hydraulics::drainageSlopeWarning(Combo1->Text(), Combo2->Text()))
        forms::showNotice(*warning);
}

// --- Buttons -----------------------------------------------------------------

void DrainagePipeForm::Command3_Click()
{
    Combo1->setText(kDiameterPrompt);
    Combo2->setText(kSlopePrompt);
    Combo3->setText(kFullnessPrompt);
    Text1->setText(QString());
    Text2->setText(QString());
}

void DrainagePipeForm::Command1_Click()
{
    namespace Calculation = hydraulics::DrainageCalculation;
    Text1->setText(QString());
    Text2->setText(QString());
    const std::optional<DrainPipeMaterial> material = selectedMaterial();
    if (!material)
        return;
    const bool full = Option1->Value() && Catalogue::hasFlowMode(*material, DrainFlowMode::Full);
    const DrainFlowMode mode = full ? DrainFlowMode::Full : DrainFlowMode::PartFull;
    const Calculation::DrainageInputs inputs{*material,      mode,           Combo1->Text(),
                                             Text11->Text(), Combo2->Text(), Combo3->Text()};
    const Calculation::DrainageOutcome outcome = Calculation::calculate(inputs);
    if (outcome.refusal) {
        using Field = Calculation::DrainageField;
        const forms::FieldControls<Field> controls{
            {Field::Diameter, Combo1}, {Field::Slope, Combo2}, {Field::Fullness, Combo3}};
        controls.refuse(*outcome.refusal);
        return;
    }
    const Calculation::DrainageResults& results = outcome.values;
    showWorkingValues(results);
    Text1->setText(results.velocity);
    Text2->setText(results.flow);

    // Maximum design fullness, GBJ 14-87 §3.2.3: the engineer may keep a
    // fuller pipe or drop the result.
    if (results.fullnessQuestion) {
        Hide();
        const int answer = forms::showNotice(*results.fullnessQuestion);
        Show();
        if (answer != forms::vbOK) {
            Text1->setText(QString());
            Text2->setText(QString());
        }
    }
}

void DrainagePipeForm::showWorkingValues(const hydraulics::DrainageCalculation::DrainageResults& results)
{
    const auto keep = [](forms::TextBox* field, const QString& text) {
        if (!text.isEmpty())
            field->setText(text);
    };
    keep(Text4, results.formattedVelocity);
    keep(Text9, results.halfAngle);
    keep(Text7, results.radiusRatio);
    keep(Text10, results.area);
    if (results.innerDiameterMetres.isEmpty())
        return;
    Combo4->Clear();
    for (const QString& text : hydraulics::PvcuInnerDiameterList::texts())
        Combo4->AddItem(text);
    // The calculation's own write proposes no slope: it computed with the
    // slope the engineer chose.
    const QSignalBlocker quiet(Text11);
    Text11->setText(results.innerDiameterMetres);
}
