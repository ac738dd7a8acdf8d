#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "fittings/waterproof_sleeve_view.h"
#include "forms/application.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

#include <array>
#include <initializer_list>

namespace SleeveDimensionTable = fittings::SleeveDimensionTable;
using fittings::SleeveType;

WaterproofSleeveForm& form7()
{
    return forms::defaultInstance<WaterproofSleeveForm>();
}

using namespace Qt::StringLiterals;

namespace {

const QString kSizePrompt = QStringLiteral("请选择套管规格");

} // namespace

WaterproofSleeveForm::WaterproofSleeveForm()
    : CalculatorForm(u"钢制套管"_s, 6000, 3840, Calculator::WaterproofSleeve)
{
    setObjectName(QStringLiteral("form7"));

    // The drawing, the size list under it and "返  回" under that.
    put(Picture1, nullptr, {"Picture1", 180, 180, 2250, 2250});
    put(Combo1, nullptr, {"Combo1", 180, 2580, 2250, 315, kSizePrompt}, forms::ComboBox::Style::Editable);
    put(Command1, nullptr, {"Command1", 555, 3150, 1500, 495, u"返  回"_s});

    // Sleeve types side by side, each caption drawn by the label on it.
    put(Frame2, nullptr, {"Frame2", 2580, 120, 3300, 780, u"套管类型"_s});
    put(Option1, Frame2, {"Option1", 150, 330, 1000, 0, u"A型套管"_s});
    put(Label7, Frame2, {"Label7", 405, 360, 700, 0, u"A型套管"_s});
    put(Option2, Frame2, {"Option2", 1200, 330, 1000, 0, u"B型套管"_s});
    put(Label8, Frame2, {"Label8", 1455, 360, 700, 0, u"B型套管"_s});
    put(Option3, Frame2, {"Option3", 2250, 330, 1000, 0, u"C型套管"_s});
    put(Label9, Frame2, {"Label9", 2505, 360, 700, 0, u"C型套管"_s});

    // The output grid: column headers, row names, column 1's units first so
    // that column 2's fields stand over them, the fields, column 2's units.
    put(Frame1, nullptr, {"Frame1", 2580, 1020, 3300, 2160, u"管件参数"_s});
    put(Label2, Frame1, {"Label2", 600, 300, 900, 0, u"钢 管"_s});
    put(Label4, Frame1, {"Label4", 1560, 300, 900, 0, u"球铁管"_s});
    put(Label1, Frame1, {"Label1", 150, 660, 420, 0, u"D1="_s});
    put(Label3, Frame1, {"Label3", 150, 1020, 420, 0, u"D2="_s});
    put(Label5, Frame1, {"Label5", 150, 1380, 420, 0, u"D3="_s});
    put(Label11, Frame1, {"Label11", 150, 1740, 420, 0, u"d="_s});
    put(Label16, Frame1, {"Label16", 1560, 660, 420, 0, u"mm"_s});
    put(Label10, Frame1, {"Label10", 1560, 1020, 420, 0, u"mm"_s});
    put(Label6, Frame1, {"Label6", 1560, 1380, 420, 0, u"mm"_s});
    put(Label17, Frame1, {"Label17", 1560, 1740, 420, 0, u"mm"_s});
    put(Text1, Frame1, {"Text1", 600, 630, 900});
    put(Text2, Frame1, {"Text2", 600, 990, 900});
    put(Text3, Frame1, {"Text3", 600, 1350, 900});
    put(Text4, Frame1, {"Text4", 600, 1710, 900});
    put(Text7, Frame1, {"Text7", 1560, 630, 900});
    put(Text6, Frame1, {"Text6", 1560, 990, 900});
    put(Text5, Frame1, {"Text5", 1560, 1350, 900});
    put(Text8, Frame1, {"Text8", 1560, 1710, 900});
    put(Label14, Frame1, {"Label14", 2520, 660, 420, 0, u"mm"_s});
    put(Label13, Frame1, {"Label13", 2520, 1020, 420, 0, u"mm"_s});
    put(Label12, Frame1, {"Label12", 2520, 1380, 420, 0, u"mm"_s});
    put(Label15, Frame1, {"Label15", 2520, 1740, 420, 0, u"mm"_s});

    Picture1->setPicture(fittings::sleeveDrawing(Picture1->size()));
    Command1->setFont(forms::fontFor(QStringLiteral("隶书"), 14.25));
    forms::showCaptionOn(Option1, Label7);
    forms::showCaptionOn(Option2, Label8);
    forms::showCaptionOn(Option3, Label9);
    Option1->setValue(true);
    for (forms::Label* header : {Label2, Label4})
        header->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    // Type A on opening: one column.
    for (QWidget* column2 : std::initializer_list<QWidget*>{Label4, Label12, Label13, Label14, Label15,
                                                            Text5, Text6, Text7, Text8})
        column2->hide();

    connectHandlers();
}

void WaterproofSleeveForm::connectHandlers()
{
    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option2_Click);
    forms::connectHandler(Option3, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option3_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &WaterproofSleeveForm::Combo1_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &WaterproofSleeveForm::Command1_Click);
}

void WaterproofSleeveForm::Form_Load()
{
    // The caption stays the designed one, without the version text.
    for (const QString& size : SleeveDimensionTable::sizes(SleeveType::A))
        Combo1->AddItem(size);
}

std::optional<SleeveType> WaterproofSleeveForm::selectedType() const
{
    if (Option1->Value())
        return SleeveType::A;
    if (Option2->Value())
        return SleeveType::B;
    if (Option3->Value())
        return SleeveType::C;
    return std::nullopt;
}

void WaterproofSleeveForm::Option1_Click()
{
    showType(SleeveType::A);
}

void WaterproofSleeveForm::Option2_Click()
{
    showType(SleeveType::B);
}

void WaterproofSleeveForm::Option3_Click()
{
    showType(SleeveType::C);
}

void WaterproofSleeveForm::showType(SleeveType type)
{
    Combo1->Clear();
    Combo1->setText(kSizePrompt);
    for (const QString& size : SleeveDimensionTable::sizes(type))
        Combo1->AddItem(size);

    const bool twoColumns = type != SleeveType::A;
    Label2->setCaption(twoColumns ? QStringLiteral("铸铁管") : QStringLiteral("钢 管"));
    Label4->setVisible(twoColumns);
    // Column 1's units give way to column 2's fields; "mm" of d stays under
    // its field.
    for (forms::Label* unit : {Label6, Label10, Label16})
        unit->setVisible(!twoColumns);
    Label16->setEnabled(!twoColumns);
    for (QWidget* column2 : std::initializer_list<QWidget*>{Label12, Label13, Label14, Label15, Text5,
                                                            Text6, Text7, Text8})
        column2->setVisible(twoColumns);
    for (forms::TextBox* field : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8})
        field->setText(QString());
}

void WaterproofSleeveForm::Combo1_Click()
{
    const std::optional<SleeveType> type = selectedType();
    if (!type)
        return;
    const std::array<forms::TextBox*, 4> pipe{Text1, Text2, Text3, Text4};
    const std::array<forms::TextBox*, 4> ductileIron{Text7, Text6, Text5, Text8};
    const auto read = [](const std::array<forms::TextBox*, 4>& column) {
        return SleeveDimensionTable::SleeveColumnTexts{column[0]->Text(), column[1]->Text(),
                                                       column[2]->Text(), column[3]->Text()};
    };
    const auto write = [](const std::array<forms::TextBox*, 4>& column,
                          const SleeveDimensionTable::SleeveColumnTexts& texts) {
        column[0]->setText(texts.D1);
        column[1]->setText(texts.D2);
        column[2]->setText(texts.D3);
        column[3]->setText(texts.d);
    };
    const SleeveDimensionTable::SleeveColumns shown{read(pipe), read(ductileIron)};
    const SleeveDimensionTable::SleeveColumns picked =
        SleeveDimensionTable::pickedColumns(*type, Combo1->Text(), shown);
    write(pipe, picked.pipe);
    write(ductileIron, picked.ductileIron);
}

void WaterproofSleeveForm::Command1_Click()
{
    form0().Show();
    Hide();
}
