#include "hydraulics/water_supply_pipe_form.h"

#include "forms/refusal_view.h"
#include "app/windows.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "hydraulics/supply_pipe_catalogue.h"
#include "hydraulics/supply_pipe_flow.h"
#include "forms/handler.h"

using forms::ComboBox;
using forms::TextBox;

using namespace Qt::StringLiterals;

namespace {
// Twips the material and diameter lists are widened by.
constexpr double kListWidening = 690;
} // namespace

WaterSupplyPipeForm& form0()
{
    return forms::defaultInstance<WaterSupplyPipeForm>();
}

WaterSupplyPipeForm::WaterSupplyPipeForm()
    : CalculatorForm(QStringLiteral("给水管道水力计算"), 6885 + kListWidening, 3810,
                     Calculator::WaterSupply)
{
    setObjectName(QStringLiteral("form0"));
    const ComboBox::Style editable = ComboBox::Style::Editable;

    // The flow and length fields are wide enough for the 15-digit general
    // text of a flow conversion ("0.0138888888888889"), i for two integer
    // digits and six decimals, the loss for a length typed to the centimetre
    // times i; what stands to their right keeps its order and alignment,
    // the buttons at the right edge. The material and diameter lists are
    // wide enough for the longest material ("PP-R冷水管PN1.25MPa"), and what
    // stands to their right moves over by as much.
    put(Frame1, nullptr, {"Frame1", 0, 45, 6850 + kListWidening, 1545, u"设计参数"_s});
    put(Label1, Frame1, {"Label1", 135, 270, 1755 + kListWidening, 0, u"请选择管材"_s});
    put(Label2, Frame1, {"Label2", 2000 + kListWidening, 270, 1100, 0, u"流量"_s});
    put(Combo1, Frame1, {"Combo1", 135, 540, 1755 + kListWidening, 0, u"钢衬塑复合管"_s}, editable);
    put(Text1, Frame1, {"Text1", 2000 + kListWidening, 540, 1920, 0, u"0"_s});
    put(Label3, Frame1, {"Label3", 3985 + kListWidening, 585, 375, 0, u"L/s"_s});
    put(Text2, Frame1, {"Text2", 4380 + kListWidening, 540, 1920, 0, u"0"_s});
    put(Label4, Frame1, {"Label4", 6420 + kListWidening, 585, 375, 0, u"t/h"_s});
    put(Label5, Frame1, {"Label5", 135, 900, 1755 + kListWidening, 0, u"请选择管径"_s});
    put(Label6, Frame1, {"Label6", 2000 + kListWidening, 900, 1100, 0, u"管段长度"_s});
    put(Label7, Frame1, {"Label7", 4380 + kListWidening, 900, 1140, 0, u"水温℃"_s});
    put(Combo2, Frame1, {"Combo2", 135, 1170, 1750 + kListWidening, 0, u"DN15"_s}, editable);
    put(Text3, Frame1, {"Text3", 2000 + kListWidening, 1170, 1920, 0, u"0"_s});
    put(Label8, Frame1, {"Label8", 3985 + kListWidening, 1215, 300, 0, u"m"_s});
    put(Combo4, Frame1, {"Combo4", 4380 + kListWidening, 1170, 1140, 0, u"10"_s}, editable);

    put(Frame2, nullptr, {"Frame2", 0, 1665, 6850 + kListWidening, 1365, u"计算结果"_s});
    put(Label9, Frame2, {"Label9", 135, 270, 1260, 0, u"海澄-威廉系数C"_s});
    put(Label10, Frame2, {"Label10", 1395, 315, 180, 210, u"h"_s});
    put(Text9, Frame2, {"Text9", 1575, 225, 735, 0, u"140"_s});
    put(Label11, Frame2, {"Label11", 2430, 270, 1215, 0, u"温度修正系数"_s});
    put(Text7, Frame2, {"Text7", 3645, 225, 645, 0, u"1.0"_s});
    put(Label12, Frame2, {"Label12", 135, 720, 1100, 0, u"流速"_s});
    put(Label13, Frame2, {"Label13", 1305, 720, 1600, 0, u"单位水头损失i"_s});
    put(Label14, Frame2, {"Label14", 3345, 720, 1450, 0, u"沿程水头损失iL"_s});
    put(Text4, Frame2, {"Text4", 135, 990, 720, 0, u"0"_s});
    put(Label15, Frame2, {"Label15", 945, 1035, 360, 0, u"m/s"_s});
    put(Text6, Frame2, {"Text6", 1305, 990, 1005, 0, u"0"_s});
    put(Label16, Frame2, {"Label16", 2400, 1035, 945, 0, u"米水柱/米"_s});
    put(Text5, Frame2, {"Text5", 3345, 990, 1290, 0, u"0"_s});
    put(Label17, Frame2, {"Label17", 4725, 1035, 660, 0, u"米水柱"_s});

    putButtonBlock(Command1, {"Command1", 5070 + kListWidening, 3105, 825, 690}, Command3,
                   {"Command3", 5970 + kListWidening, 3105, 870, 330}, Command2,
                   {"Command2", 5970 + kListWidening, 3465, 870, 330});

    put(Label18, nullptr, {"Label18", 135, 3180, 2500, 0, u"万拓计算工具集"_s});
    put(Label19, nullptr, {"Label19", 135, 3480, 2500, 0, u"Vantor_Tools"_s});

    {
        // Narrowed a little so that the subscript h follows the C.
        QFont narrow = Label9->font();
        narrow.setLetterSpacing(QFont::AbsoluteSpacing, -0.6);
        Label9->setFont(narrow);
    }
    Label10->setFont(forms::fontFor(QStringLiteral("宋体"), 6.75));
    Text7->setEnabled(false);
    Command1->setFont(forms::fontFor(QStringLiteral("宋体"), 12));
    Label18->setForeColor(forms::vbGrayText);
    Label19->setForeColor(forms::vbGrayText);

    // Working values, below the client area.
    put(Combo3, nullptr, {"Combo3", 0, 3900, 1200, 0, u"12.8"_s}, editable)->hide();
    put(Combo5, nullptr, {"Combo5", 1300, 3900, 1200, 0, u"1.0"_s}, editable)->hide();
    put(Text10, nullptr, {"Text10", 2600, 3900, 600, 0, u"1"_s})->hide();

    tabOrder({Text1, Text2, Combo1, Text3, Combo2, Text5, Text6, Text9, Command3, Command2, Command1,
              Text4, Combo4});
    Text1->setFocus();

    connectHandlers();
}

void WaterSupplyPipeForm::connectHandlers()
{
    forms::connectHandler(Combo1, &ComboBox::Click, this, &WaterSupplyPipeForm::Combo1_Click);
    forms::connectHandler(Combo2, &ComboBox::Click, this, &WaterSupplyPipeForm::Combo2_Click);
    forms::connectHandler(Combo4, &ComboBox::Click, this, &WaterSupplyPipeForm::Combo4_Click);
    forms::connectHandler(Combo5, &ComboBox::Change, this, &WaterSupplyPipeForm::Combo5_Change);
    forms::connectHandler(Text1, &TextBox::DblClick, this, &WaterSupplyPipeForm::Text1_DblClick);
    forms::connectHandler(Text2, &TextBox::DblClick, this, &WaterSupplyPipeForm::Text2_DblClick);
    forms::connectHandler(Text3, &TextBox::Click, this, &WaterSupplyPipeForm::Text3_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &WaterSupplyPipeForm::Command1_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &WaterSupplyPipeForm::Command3_Click);
}

void WaterSupplyPipeForm::Form_Load()
{
    using namespace hydraulics;
    appendVersionToCaption();
    for (const QString& name : SupplyPipeCatalogue::materialNames())
        Combo1->AddItem(name);
    const SupplyPipeMaterial& first = SupplyPipeCatalogue::materials().front();
    for (qsizetype i = 0; i < first.sizes.size(); ++i) {
        Combo2->AddItem(first.sizes[i]);
        Combo3->AddItem(first.innerDiameters[i]);
    }
    for (const TemperatureFactor& entry : TemperatureFactorTable::entries(TemperatureTableKind::General)) {
        Combo4->AddItem(entry.temperature);
        Combo5->AddItem(entry.factor);
    }
}

void WaterSupplyPipeForm::Combo1_Click()
{
    using namespace hydraulics;
    Text7->setText(QStringLiteral("1.0"));
    const SupplyPipeMaterial* material = SupplyPipeCatalogue::find(Combo1->Text());
    if (!material)
        return;
    Text9->setText(material->coefficientText());

    Combo2->Clear();
    Combo3->Clear();
    Combo2->setText(material->sizes.front());
    Combo3->setText(material->innerDiameters.front());
    for (qsizetype i = 0; i < material->sizes.size(); ++i) {
        Combo2->AddItem(material->sizes[i]);
        Combo3->AddItem(material->innerDiameters[i]);
    }

    const TemperatureRule rule = material->temperatureRule;
    const QString temperature = SupplyPipeCatalogue::temperatureText(rule);
    if (const auto table = SupplyPipeCatalogue::temperatureTable(rule)) {
        // The temperature and factor lists are filled together from one
        // table, so that position k of the one belongs to position k of the
        // other. The general table's list shows "10" before it is filled,
        // as when the window opens; the cold-water list names "20" after.
        Combo4->Clear();
        if (*table == TemperatureTableKind::General)
            Combo4->setText(temperature);
        for (const QString& t : TemperatureFactorTable::temperatureTexts(*table))
            Combo4->AddItem(t);
        if (*table != TemperatureTableKind::General)
            Combo4->setText(temperature);
        Combo5->Clear();
        for (const QString& f : TemperatureFactorTable::factorTexts(*table))
            Combo5->AddItem(f);
        Combo5->setText(QStringLiteral("1.0"));
    } else {
        if (rule == TemperatureRule::Fixed10Emptied)
            Combo4->Clear();
        Combo4->setText(temperature);
    }
    Combo4->setEnabled(SupplyPipeCatalogue::temperatureEnabled(rule));
}

void WaterSupplyPipeForm::Combo2_Click()
{
    Combo3->setText(Combo3->List(Combo2->ListIndex()));
}

void WaterSupplyPipeForm::Combo4_Click()
{
    Combo5->setText(Combo5->List(Combo4->ListIndex()));
}

void WaterSupplyPipeForm::Combo5_Change()
{
    Text7->setText(Combo5->Text());
}

void WaterSupplyPipeForm::Text1_DblClick()
{
    Text1->setText(QString());
    Text2->setText(QStringLiteral("0"));
    Text10->setText(QStringLiteral("1"));
}

void WaterSupplyPipeForm::Text2_DblClick()
{
    Text2->setText(QString());
    Text1->setText(QStringLiteral("0"));
    Text10->setText(QStringLiteral("2"));
}

void WaterSupplyPipeForm::Text3_Click()
{
    Text3->setText(QString());
}

void WaterSupplyPipeForm::Command1_Click()
{
    using namespace hydraulics::SupplyPipeFlow;
    Text4->setText(QStringLiteral("0"));
    Text5->setText(QStringLiteral("0"));
    Text6->setText(QStringLiteral("0"));

    // The flow field that is the input, and the one computed from it.
    const bool inLitresPerSecond = flowInLitresPerSecond(Text10->Text());
    TextBox* input = inLitresPerSecond ? Text1 : Text2;
    TextBox* converted = inLitresPerSecond ? Text2 : Text1;
    const SupplyInputs inputs{inLitresPerSecond, input->Text(), Text3->Text(),
                              Text7->Text(),     Text9->Text(), Combo3->Text()};
    const SupplyOutcome outcome = calculate(inputs);
    if (outcome.refusal) {
        // A refused flow is the one typed.
        const forms::FieldControls<SupplyField> controls{{SupplyField::Flow, input},
                                                         {SupplyField::Length, Text3},
                                                         {SupplyField::Factor, Combo4},
                                                         {SupplyField::Coefficient, Text9},
                                                         {SupplyField::Diameter, Combo2}};
        controls.refuse(*outcome.refusal, forms::vbOKOnly | forms::vbCritical);
        return;
    }
    const SupplyResults& results = outcome.values;
    converted->setText(results.convertedFlow);
    Text6->setText(results.unitHeadLoss);
    Text4->setText(results.velocity);
    Text5->setText(results.lengthLoss);
}

void WaterSupplyPipeForm::Command3_Click()
{
    for (TextBox* field : {Text1, Text2, Text3, Text4, Text5, Text6})
        field->setText(QStringLiteral("0"));
    Text7->setText(QStringLiteral("1.0"));
    Combo2->setText(Combo2->List(0));
    Combo3->setText(Combo3->List(0));
}
