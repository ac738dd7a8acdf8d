#include "fittings/steel_fittings_form.h"

#include "app/windows.h"
#include "fittings/steel_fitting_view.h"
#include "forms/handler.h"

using namespace fittings;

SteelFittingsForm& Form6()
{
    return forms::defaultInstance<SteelFittingsForm>();
}

namespace {

// Layout of a fitting's frame, in twips: the drawing with the size list under
// it on the left, the output frame on the right.
constexpr double kFrameWidth = 3950;
constexpr double kFrameHeight = 2915;
constexpr double kPictureLeft = 90;
constexpr double kPictureTop = 270;
constexpr double kPictureWidth = 2250;
constexpr double kPictureHeight = 2130;
constexpr double kListTop = 2490;
constexpr double kOutputLeft = 2430;
constexpr double kOutputTop = 180;
constexpr double kOutputWidth = 1440;
constexpr double kRowTop = 300;
constexpr double kRowPitch = 345;

// Frames in a two-by-two grid.
constexpr double kLeftColumn = 45;
constexpr double kRightColumn = 4035;
constexpr double kTopRow = 30;
constexpr double kBottomRow = 2975;

} // namespace

SteelFittingsForm::SteelFittingsForm()
    : CalculatorForm(QStringLiteral("钢制管件"), 8025, 5910, Calculator::SteelFittings)
{
    setObjectName(QStringLiteral("Form6"));

    // The four frames, each with its drawing, its size list under it and its
    // output frame with as many rows as the fitting has dimensions.
    struct FittingFrame {
        forms::Frame*& frame;
        const char* frameName;
        QString caption;
        double left;
        double top;
        forms::PictureBox*& picture;
        const char* pictureName;
        QPixmap (*drawing)(QSize);
        forms::ComboBox*& list;
        const char* listName;
        QString prompt;
        forms::Frame*& output;
        const char* outputName;
        int rows;
    };
    forms::Frame* teeOutput = nullptr;
    forms::Frame* concentricOutput = nullptr;
    forms::Frame* eccentricOutput = nullptr;
    const FittingFrame frames[] = {
        {Frame3, "Frame3", QStringLiteral("弯头"), kLeftColumn, kTopRow, Picture1, "Picture1", elbowDrawing,
         Combo1, "Combo1", QStringLiteral("请选择弯头规格"), Frame1, "Frame1", 3},
        {Frame4, "Frame4", QStringLiteral("三通"), kRightColumn, kTopRow, Picture2, "Picture2", teeDrawing,
         Combo2, "Combo2", QStringLiteral("请选择三（四）通规格"), teeOutput, "Frame2", 6},
        {Frame6, "Frame6", QStringLiteral("同心异径管"), kLeftColumn, kBottomRow, Picture3, "Picture3",
         concentricReducerDrawing, Combo3, "Combo3", QStringLiteral("请选择同心异径管规格"),
         concentricOutput, "Frame2", 4},
        {Frame5, "Frame5", QStringLiteral("偏心异径管"), kRightColumn, kBottomRow, Picture4, "Picture4",
         eccentricReducerDrawing, Combo4, "Combo4", QStringLiteral("请选择偏心异径管规格"),
         eccentricOutput, "Frame2", 4},
    };
    for (const FittingFrame& f : frames) {
        f.frame = addWithCaption<forms::Frame>(f.frameName, f.left, f.top, kFrameWidth,
                                               kFrameHeight, f.caption);
        f.picture = addIn<forms::PictureBox>(f.frame, f.pictureName, kPictureLeft, kPictureTop,
                                             kPictureWidth, kPictureHeight);
        f.picture->setPicture(f.drawing(f.picture->size()));
        f.list = addIn<forms::ComboBox>(f.frame, f.listName, kPictureLeft, kListTop, kPictureWidth, 315,
                                        forms::ComboBox::Style::Editable);
        f.list->setText(f.prompt);
        f.output = addInWithCaption<forms::Frame>(f.frame, f.outputName, kOutputLeft, kOutputTop,
                                                  kOutputWidth,
                                       kRowTop + f.rows * kRowPitch + 90, QStringLiteral("管件参数"));
    }

    Text1 = addDimensionRow(Frame1, 0, QStringLiteral("La="), "Text1");
    Text2 = addDimensionRow(Frame1, 1, QStringLiteral("d="), "Text2");
    Text3 = addDimensionRow(Frame1, 2, QStringLiteral("D="), "Text3");

    Frame2.insert(0, teeOutput);
    Text4.insert(0, addDimensionRow(teeOutput, 0, QStringLiteral("L1="), "Text4"));
    Text5.insert(0, addDimensionRow(teeOutput, 1, QStringLiteral("L2="), "Text5"));
    Text6.insert(0, addDimensionRow(teeOutput, 2, QStringLiteral("d1="), "Text6"));
    Text9.insert(0, addDimensionRow(teeOutput, 3, QStringLiteral("d2="), "Text9"));
    Text8.insert(0, addDimensionRow(teeOutput, 4, QStringLiteral("D2="), "Text8"));
    Text7.insert(0, addDimensionRow(teeOutput, 5, QStringLiteral("D1="), "Text7"));

    Frame2.insert(1, concentricOutput);
    Frame2.insert(2, eccentricOutput);
    for (int element : {1, 2}) {
        forms::Frame* output = Frame2.at(element);
        Text4.insert(element, addDimensionRow(output, 0, QStringLiteral("L1="), "Text4"));
        Text6.insert(element, addDimensionRow(output, 1, QStringLiteral("d ="), "Text6"));
        Text7.insert(element, addDimensionRow(output, 2, QStringLiteral("D1="), "Text7"));
        Text8.insert(element, addDimensionRow(output, 3, QStringLiteral("D2="), "Text8"));
    }

    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo2_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo4_Click);
}

forms::TextBox* SteelFittingsForm::addDimensionRow(forms::Frame* output, int row, const QString& caption,
                                                   const char* fieldName)
{
    const double top = kRowTop + row * kRowPitch;
    const QByteArray nameLabel = "Label" + QByteArray::number(++m_labelCount);
    addInWithCaption<forms::Label>(output, nameLabel.constData(), 60, top + 30, 360, 240, caption);
    auto* field = addIn<forms::TextBox>(output, fieldName, 420, top, 540, 285);
    const QByteArray unitLabel = "Label" + QByteArray::number(++m_labelCount);
    addInWithCaption<forms::Label>(output, unitLabel.constData(), 1005, top + 30, 405, 240,
                                   QStringLiteral("mm"));
    return field;
}

void SteelFittingsForm::Form_Load()
{
    for (const QString& size : ElbowDimensionTable::sizes())
        Combo1->AddItem(size);
    for (const QString& size : TeeDimensionTable::sizes())
        Combo2->AddItem(size);
    for (const QString& size : reducerListSizes()) {
        Combo3->AddItem(size);
        Combo4->AddItem(size);
    }
    // The caret waits in La for the window's first showing (the menu bar
    // shows the window right after loading it).
    Text1->SetFocus();
}

void SteelFittingsForm::showTexts(const std::vector<forms::TextBox*>& fields,
                                  const std::optional<QStringList>& texts)
{
    if (!texts)
        return;
    for (std::size_t i = 0; i < fields.size(); ++i)
        fields[i]->setText(texts->value(static_cast<qsizetype>(i)));
}

void SteelFittingsForm::Combo1_Click()
{
    showTexts({Text1, Text2, Text3}, elbowFieldTexts(Combo1->Text()));
}

void SteelFittingsForm::Combo2_Click()
{
    showTexts({Text4.at(0), Text5.at(0), Text6.at(0), Text9.at(0), Text7.at(0), Text8.at(0)},
              teeFieldTexts(Combo2->Text()));
}

void SteelFittingsForm::Combo3_Click()
{
    showReducer(1, reducerFieldTexts(ReducerKind::Concentric, Combo3->Text()));
}

void SteelFittingsForm::Combo4_Click()
{
    showReducer(2, reducerFieldTexts(ReducerKind::Eccentric, Combo4->Text()));
}

void SteelFittingsForm::showReducer(int element, const std::optional<QStringList>& texts)
{
    showTexts({Text4.at(element), Text6.at(element), Text7.at(element), Text8.at(element)}, texts);
}
