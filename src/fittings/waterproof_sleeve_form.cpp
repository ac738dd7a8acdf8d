#include "fittings/waterproof_sleeve_form.h"

#include "app/windows.h"
#include "fittings/waterproof_sleeve_view.h"
#include "forms/application.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "forms/handler.h"

#include <initializer_list>

namespace SleeveDimensionTable = fittings::SleeveDimensionTable;
using fittings::SleeveType;

WaterproofSleeveForm& form7()
{
    return forms::defaultInstance<WaterproofSleeveForm>();
}

namespace {

const QString kSizePrompt = QStringLiteral("请选择套管规格");

// The output grid, in twips inside 管件参数: a row label, column 1 with its
// unit, column 2 (standing over column 1's unit) with its own.
constexpr double kRowLabelLeft = 150;
constexpr double kColumn1Left = 600;
constexpr double kColumn2Left = 1560;
constexpr double kColumn2UnitLeft = 2520;
constexpr double kFieldWidth = 900;
constexpr double kUnitWidth = 420;
constexpr double kHeaderTop = 300;
constexpr double kFirstRowTop = 630;
constexpr double kRowPitch = 360;

double rowTop(int row)
{
    return kFirstRowTop + row * kRowPitch;
}

} // namespace

WaterproofSleeveForm::WaterproofSleeveForm()
    : CalculatorForm(QStringLiteral("钢制套管"), 6000, 3840, Calculator::WaterproofSleeve)
{
    setObjectName(QStringLiteral("form7"));

    // The drawing, the size list under it and "返  回" under that.
    Picture1 = add<forms::PictureBox>("Picture1", 180, 180, 2250, 2250);
    Picture1->setPicture(fittings::sleeveDrawing(Picture1->size()));
    Combo1 = add<forms::ComboBox>("Combo1", 180, 2580, 2250, 315, forms::ComboBox::Style::Editable);
    Combo1->setText(kSizePrompt);
    Command1 = addWithCaption<forms::CommandButton>("Command1", 555, 3150, 1500, 495,
                                                    QStringLiteral("返  回"));
    Command1->setFont(forms::fontFor(QStringLiteral("隶书"), 14.25));

    // Sleeve types side by side. Each option's caption is drawn by the label
    // standing on it; a click on that text still chooses the option.
    Frame2 = addWithCaption<forms::Frame>("Frame2", 2580, 120, 3300, 780, QStringLiteral("套管类型"));
    struct TypeChoice {
        forms::OptionButton*& option;
        const char* optionName;
        forms::Label*& label;
        const char* labelName;
        QString caption;
    };
    const TypeChoice choices[] = {
        {Option1, "Option1", Label7, "Label7", QStringLiteral("A型套管")},
        {Option2, "Option2", Label8, "Label8", QStringLiteral("B型套管")},
        {Option3, "Option3", Label9, "Label9", QStringLiteral("C型套管")},
    };
    double left = 150;
    for (const TypeChoice& choice : choices) {
        choice.option = addInWithCaption<forms::OptionButton>(Frame2, choice.optionName, left, 330,
                                                              1000, 300, choice.caption);
        QPalette unseenCaption = choice.option->palette();
        unseenCaption.setColor(QPalette::ButtonText, Qt::transparent);
        unseenCaption.setColor(QPalette::WindowText, Qt::transparent);
        choice.option->setPalette(unseenCaption);
        choice.label = addLabel(Frame2, choice.labelName, left + 255, 360, 700, choice.caption);
        choice.label->setAttribute(Qt::WA_TransparentForMouseEvents);
        left += 1050;
    }
    Option1->setValue(true);

    // The output grid.
    Frame1 = addWithCaption<forms::Frame>("Frame1", 2580, 1020, 3300, 2160, QStringLiteral("管件参数"));
    Label2 = addLabel(Frame1, "Label2", kColumn1Left, kHeaderTop, kFieldWidth, QStringLiteral("钢 管"));
    Label4 = addLabel(Frame1, "Label4", kColumn2Left, kHeaderTop, kFieldWidth, QStringLiteral("球铁管"));
    for (forms::Label* header : {Label2, Label4})
        header->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1 = addLabel(Frame1, "Label1", kRowLabelLeft, rowTop(0) + 30, 420, QStringLiteral("D1="));
    Label3 = addLabel(Frame1, "Label3", kRowLabelLeft, rowTop(1) + 30, 420, QStringLiteral("D2="));
    Label5 = addLabel(Frame1, "Label5", kRowLabelLeft, rowTop(2) + 30, 420, QStringLiteral("D3="));
    Label11 = addLabel(Frame1, "Label11", kRowLabelLeft, rowTop(3) + 30, 420, QStringLiteral("d="));
    const QString mm = QStringLiteral("mm");
    // Column 1's units first, so that column 2's fields stand over them.
    Label16 = addLabel(Frame1, "Label16", kColumn2Left, rowTop(0) + 30, kUnitWidth, mm);
    Label10 = addLabel(Frame1, "Label10", kColumn2Left, rowTop(1) + 30, kUnitWidth, mm);
    Label6 = addLabel(Frame1, "Label6", kColumn2Left, rowTop(2) + 30, kUnitWidth, mm);
    Label17 = addLabel(Frame1, "Label17", kColumn2Left, rowTop(3) + 30, kUnitWidth, mm);
    Text1 = addIn<forms::TextBox>(Frame1, "Text1", kColumn1Left, rowTop(0), kFieldWidth, 300);
    Text2 = addIn<forms::TextBox>(Frame1, "Text2", kColumn1Left, rowTop(1), kFieldWidth, 300);
    Text3 = addIn<forms::TextBox>(Frame1, "Text3", kColumn1Left, rowTop(2), kFieldWidth, 300);
    Text4 = addIn<forms::TextBox>(Frame1, "Text4", kColumn1Left, rowTop(3), kFieldWidth, 300);
    Text7 = addIn<forms::TextBox>(Frame1, "Text7", kColumn2Left, rowTop(0), kFieldWidth, 300);
    Text6 = addIn<forms::TextBox>(Frame1, "Text6", kColumn2Left, rowTop(1), kFieldWidth, 300);
    Text5 = addIn<forms::TextBox>(Frame1, "Text5", kColumn2Left, rowTop(2), kFieldWidth, 300);
    Text8 = addIn<forms::TextBox>(Frame1, "Text8", kColumn2Left, rowTop(3), kFieldWidth, 300);
    Label14 = addLabel(Frame1, "Label14", kColumn2UnitLeft, rowTop(0) + 30, kUnitWidth, mm);
    Label13 = addLabel(Frame1, "Label13", kColumn2UnitLeft, rowTop(1) + 30, kUnitWidth, mm);
    Label12 = addLabel(Frame1, "Label12", kColumn2UnitLeft, rowTop(2) + 30, kUnitWidth, mm);
    Label15 = addLabel(Frame1, "Label15", kColumn2UnitLeft, rowTop(3) + 30, kUnitWidth, mm);
    // Type A on opening: one column.
    for (QWidget* column2 : std::initializer_list<QWidget*>{Label4, Label12, Label13, Label14, Label15,
                                                            Text5, Text6, Text7, Text8})
        column2->hide();

    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option2_Click);
    forms::connectHandler(Option3, &forms::OptionButton::Click, this, &WaterproofSleeveForm::Option3_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &WaterproofSleeveForm::Combo1_Click);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &WaterproofSleeveForm::Command1_Click);
}

forms::Label* WaterproofSleeveForm::addLabel(QWidget* container, const char* name, double left, double top,
                                             double width, const QString& caption)
{
    auto* label = addInWithCaption<forms::Label>(container, name, left, top, width, 240, caption);
    return label;
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
    const auto texts = SleeveDimensionTable::fieldTexts(*type, Combo1->Text());
    if (texts) {
        Text1->setText(texts->D1);
        if (texts->D1DuctileIron)
            Text7->setText(*texts->D1DuctileIron);
        Text2->setText(texts->D2);
        Text3->setText(texts->D3);
        Text4->setText(texts->d);
    }
    if (*type == SleeveType::A)
        return;
    // The ductile-iron column shares the sleeve, ring and wall of the
    // cast-iron column.
    Text6->setText(Text2->Text());
    Text5->setText(Text3->Text());
    Text8->setText(Text4->Text());
}

void WaterproofSleeveForm::Command1_Click()
{
    form0().Show();
    Hide();
}
