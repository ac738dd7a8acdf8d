#include "fittings/steel_fittings_form.h"

#include "app/windows.h"
#include "fittings/steel_fitting_view.h"
#include "forms/handler.h"

using namespace fittings;

SteelFittingsForm& Form6()
{
    return forms::defaultInstance<SteelFittingsForm>();
}

using namespace Qt::StringLiterals;

namespace {

// A dimension row of an output frame, in twips: the name ("La="), the field
// and "mm", one row pitch under the row before.
constexpr double kRowTop = 300;
constexpr double kRowPitch = 345;

} // namespace

SteelFittingsForm::SteelFittingsForm()
    : CalculatorForm(u"钢制管件"_s, 8025, 5910, Calculator::SteelFittings)
{
    setObjectName(QStringLiteral("Form6"));
    const forms::ComboBox::Style editable = forms::ComboBox::Style::Editable;

    // Four frames in a two-by-two grid, each with its drawing, its size list
    // under it and its output frame (管件参数) on the right, as tall as the
    // fitting has dimension rows.
    forms::Frame* teeOutput = nullptr;
    forms::Frame* concentricOutput = nullptr;
    forms::Frame* eccentricOutput = nullptr;
    put(Frame3, nullptr, {"Frame3", 45, 30, 3950, 2915, u"弯头"_s});
    put(Picture1, Frame3, {"Picture1", 90, 270, 2250, 2130});
    put(Combo1, Frame3, {"Combo1", 90, 2490, 2250, 315, u"请选择弯头规格"_s}, editable);
    put(Frame1, Frame3, {"Frame1", 2430, 180, 1440, 1425, u"管件参数"_s});
    put(Frame4, nullptr, {"Frame4", 4035, 30, 3950, 2915, u"三通"_s});
    put(Picture2, Frame4, {"Picture2", 90, 270, 2250, 2130});
    put(Combo2, Frame4, {"Combo2", 90, 2490, 2250, 315, u"请选择三（四）通规格"_s}, editable);
    put(teeOutput, Frame4, {"Frame2", 2430, 180, 1440, 2460, u"管件参数"_s});
    put(Frame6, nullptr, {"Frame6", 45, 2975, 3950, 2915, u"同心异径管"_s});
    put(Picture3, Frame6, {"Picture3", 90, 270, 2250, 2130});
    put(Combo3, Frame6, {"Combo3", 90, 2490, 2250, 315, u"请选择同心异径管规格"_s}, editable);
    put(concentricOutput, Frame6, {"Frame2", 2430, 180, 1440, 1770, u"管件参数"_s});
    put(Frame5, nullptr, {"Frame5", 4035, 2975, 3950, 2915, u"偏心异径管"_s});
    put(Picture4, Frame5, {"Picture4", 90, 270, 2250, 2130});
    put(Combo4, Frame5, {"Combo4", 90, 2490, 2250, 315, u"请选择偏心异径管规格"_s}, editable);
    put(eccentricOutput, Frame5, {"Frame2", 2430, 180, 1440, 1770, u"管件参数"_s});

    // The dimension rows: 弯头, then 三通, then the two reducers alike.
    Text1 = putDimensionRow(Frame1, 0, u"La="_s, "Text1");
    Text2 = putDimensionRow(Frame1, 1, u"d="_s, "Text2");
    Text3 = putDimensionRow(Frame1, 2, u"D="_s, "Text3");
    Frame2.insert(0, teeOutput);
    Text4.insert(0, putDimensionRow(teeOutput, 0, u"L1="_s, "Text4"));
    Text5.insert(0, putDimensionRow(teeOutput, 1, u"L2="_s, "Text5"));
    Text6.insert(0, putDimensionRow(teeOutput, 2, u"d1="_s, "Text6"));
    Text9.insert(0, putDimensionRow(teeOutput, 3, u"d2="_s, "Text9"));
    Text8.insert(0, putDimensionRow(teeOutput, 4, u"D2="_s, "Text8"));
    Text7.insert(0, putDimensionRow(teeOutput, 5, u"D1="_s, "Text7"));
    Frame2.insert(1, concentricOutput);
    Frame2.insert(2, eccentricOutput);
    for (int element : {1, 2}) {
        forms::Frame* output = Frame2.at(element);
        Text4.insert(element, putDimensionRow(output, 0, u"L1="_s, "Text4"));
        Text6.insert(element, putDimensionRow(output, 1, u"d ="_s, "Text6"));
        Text7.insert(element, putDimensionRow(output, 2, u"D1="_s, "Text7"));
        Text8.insert(element, putDimensionRow(output, 3, u"D2="_s, "Text8"));
    }

    Picture1->setPicture(elbowDrawing(Picture1->size()));
    Picture2->setPicture(teeDrawing(Picture2->size()));
    Picture3->setPicture(concentricReducerDrawing(Picture3->size()));
    Picture4->setPicture(eccentricReducerDrawing(Picture4->size()));

    connectHandlers();
}

void SteelFittingsForm::connectHandlers()
{
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo2_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &SteelFittingsForm::Combo4_Click);
}

forms::TextBox* SteelFittingsForm::putDimensionRow(forms::Frame* output, int row, const QString& caption,
                                                   const char* fieldName)
{
    const double top = kRowTop + row * kRowPitch;
    const QByteArray nameLabel = "Label" + QByteArray::number(++m_labelCount);
    const QByteArray unitLabel = "Label" + QByteArray::number(++m_labelCount);
    forms::Label* label = nullptr;
    forms::TextBox* field = nullptr;
    forms::Label* unit = nullptr;
    put(label, output, {nameLabel.constData(), 60, top + 30, 360, 0, caption});
    put(field, output, {fieldName, 420, top, 540, 285});
    put(unit, output, {unitLabel.constData(), 1005, top + 30, 405, 0, u"mm"_s});
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
