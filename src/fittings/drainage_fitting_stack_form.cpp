#include "fittings/drainage_fitting_stack_form.h"

#include "app/windows.h"
#include "fittings/drainage_fitting_drawings_view.h"
#include "fittings/fitting_stack.h"
#include "forms/application.h"
#include "forms/platform.h"
#include "forms/refusal_view.h"
#include "textio/numtext.h"
#include "forms/handler.h"

#include <cmath>
#include <initializer_list>
#include <vector>

using fittings::drainage::FittingDrawing;
using fittings::drainage::FittingType;
using fittings::drainage::PipeMaterial;
namespace Tables = fittings::drainage::DrainageFittingTables;
namespace drainage = fittings::drainage;

using namespace Qt::StringLiterals;

DrainageFittingStackForm& Form8()
{
    return forms::defaultInstance<DrainageFittingStackForm>();
}

namespace {

const QString kSizePrompt = QStringLiteral("请选择管件规格");
const QString kZero = QStringLiteral("0");
const QString kNotice =
    QStringLiteral("重要说明：使用本管件连接程序前请务必查看菜单中使用提示！依次选择管件及规格！");

// Width of a fitting column, and of its drawing.
constexpr double kColumnWidth = 1740;
constexpr double kPictureHeight = 1335;
// A length row of a column: "L1：", the field, "mm".
constexpr double kLengthLabelWidth = 420;
constexpr double kUnitWidth = 360;
constexpr double kUnitGap = 30;
// 管件4's L1 is computed and shown to 15 significant digits
// ("274.454364826301"): its column, and the stack's below it, are as wide as
// that field needs.
constexpr double kComputedFieldWidth = 1680;
constexpr double kWideColumnWidth = kLengthLabelWidth + kComputedFieldWidth + kUnitGap + kUnitWidth;
// Left edges of the columns; the fourth holds 管件4 above and the stack below.
constexpr double kColumnLefts[] = {60, 1920, 3780, 5640};
constexpr double kWindowWidth = kColumnLefts[3] + kWideColumnWidth + 45;
constexpr double kWindowHeight = 5655;
// Hidden controls stand beyond the window's right edge.
constexpr double kHiddenLeft = kWindowWidth + 75;
// The notice changes colour every half second.
constexpr int kBlinkIntervalMs = 500;

// A list box's entries in order.
QStringList entries(const forms::ListBox& list)
{
    QStringList texts;
    for (int k = 0; k < list.ListCount(); ++k)
        texts.push_back(list.List(k));
    return texts;
}

} // namespace

DrainageFittingStackForm::FittingColumn DrainageFittingStackForm::putColumn(
    const ColumnPlace& place, forms::Label* caption, Named<forms::PictureBox> picture,
    Named<forms::ComboBox> size, Named<forms::TextBox> l1, Named<forms::TextBox> l2)
{
    const auto [type, left, top, width] = place;
    const QByteArray n = QByteArray::number(static_cast<int>(type));
    caption->setCaption(drainage::fittingTypeName(type));
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    put(picture.control, nullptr, {picture.name, left, top + 240, width, kPictureHeight});
    put(size.control, nullptr, {size.name, left, top + 1620, width}, forms::ComboBox::Style::Editable);
    FittingColumn c{caption, picture.control, size.control};
    // "L1：" or "L2：", the field as wide as the column leaves it, "mm".
    const double fieldWidth = width - kLengthLabelWidth - kUnitGap - kUnitWidth;
    const auto lengthRow = [&](char digit, double y, Named<forms::TextBox> field, forms::Label*& label,
                               forms::Label*& unit) {
        const QByteArray labelName = "LabelL" + QByteArray(1, digit) + "_" + n;
        const QByteArray unitName = "LabelMm" + QByteArray(1, digit) + "_" + n;
        put(label, nullptr, {labelName.constData(), left, y + 30, kLengthLabelWidth, 0,
                             u"L"_s + QLatin1Char(digit) + u"："_s});
        put(field.control, nullptr, {field.name, left + kLengthLabelWidth, y, fieldWidth, 270});
        put(unit, nullptr, {unitName.constData(), left + width - kUnitWidth, y + 30, kUnitWidth, 0, u"mm"_s});
    };
    lengthRow('1', top + 1980, l1, c.l1Label, c.l1Unit);
    lengthRow('2', top + 2310, l2, c.l2Label, c.l2Unit);
    c.l1 = l1.control;
    c.l2 = l2.control;
    c.picture->setAlignment(Qt::AlignCenter);
    c.picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.picture->setBackColor(forms::vbWhite);
    c.size->setText(kSizePrompt);
    for (forms::TextBox* length : {c.l1, c.l2}) {
        length->setLocked(true);
        length->setText(kZero);
    }
    return c;
}

DrainageFittingStackForm::DrainageFittingStackForm()
    : CalculatorForm(u"排水管件连接计算"_s, kWindowWidth, kWindowHeight, Calculator::DrainageFittings)
{
    setObjectName(QStringLiteral("Form8"));

    // Fitting columns: 管件1 to 管件4 along the top, 管件5 and 管件6 below;
    // the fourth column, wider, holds 管件4 above and the stack below.
    const double* x = kColumnLefts;
    constexpr double row1 = 60;
    constexpr double row2 = 2760;
    constexpr double w = kColumnWidth;
    constexpr double wide = kWideColumnWidth;
    put(Label21, nullptr, {"Label21", x[0], row1, w});
    put(Label5, nullptr, {"Label5", x[1], row1, w});
    put(Label12, nullptr, {"Label12", x[2], row1, w});
    put(Label9, nullptr, {"Label9", x[3], row1, wide});
    put(Label37, nullptr, {"Label37", x[0], row2, w});
    put(Label16, nullptr, {"Label16", x[1], row2, w});
    m_columns = {
        putColumn({FittingType::Tee, x[0], row1, w}, Label21, {Picture1, "Picture1"}, {Combo1, "Combo1"},
                  {Text1, "Text1"}, {Text2, "Text2"}),
        putColumn({FittingType::Cross, x[1], row1, w}, Label5, {Picture2, "Picture2"}, {Combo2, "Combo2"},
                  {Text3, "Text3"}, {Text4, "Text4"}),
        putColumn({FittingType::QuarterBend, x[2], row1, w}, Label12, {Picture3, "Picture3"},
                  {Combo3, "Combo3"}, {Text5, "Text5"}, {Text6, "Text6"}),
        putColumn({FittingType::OffsetBend, x[3], row1, wide}, Label9, {Picture4, "Picture4"},
                  {Combo4, "Combo4"}, {Text7, "Text7"}, {Text8, "Text8"}),
        putColumn({FittingType::SweptInlet, x[0], row2, w}, Label37, {Picture5, "Picture5"},
                  {Combo5, "Combo5"}, {Text9, "Text9"}, {Text10, "Text10"}),
        putColumn({FittingType::Reducer, x[1], row2, w}, Label16, {Picture6, "Picture6"},
                  {Combo6, "Combo6"}, {Text13, "Text13"}, {Text14, "Text14"}),
    };
    // 管件6's two drawings, PVC-U and cast iron, beyond the right edge.
    put(Picture7, nullptr, {"Picture7", kHiddenLeft, 0, w, kPictureHeight});
    put(Picture8, nullptr, {"Picture8", kHiddenLeft, kPictureHeight, w, kPictureHeight});

    // Material, with the results below it.
    put(Frame1, nullptr, {"Frame1", x[2], row2 - 60, w, 870, u"管材选择"_s});
    put(Option1, Frame1, {"Option1", 150, 270, 1500, 255, u"PVC-U排水管"_s});
    put(Option2, Frame1, {"Option2", 150, 555, 1500, 255, u"排水铸铁管"_s});
    put(Frame2, nullptr, {"Frame2", x[2], row2 + 900, w, 1680, u"计算结果"_s});
    put(Label30, Frame2, {"Label30", 120, 300, 1200, 0, u"连接尺寸："_s});
    put(Text11, Frame2, {"Text11", 120, 570, 1140});
    put(Label29, Frame2, {"Label29", 1320, 600, 390, 0, u"mm"_s});
    put(Label17, Frame2, {"Label17", 120, 990, 900, 0, u"管件数量："_s});
    put(Text15, Frame2, {"Text15", 1020, 960, 600});
    put(Label31, Frame2, {"Label31", 90, 1350, 1620, 0, u"注:以管中心标高计"_s});

    // The stack, its hidden lengths, and its buttons two a row sharing the
    // stack's width.
    constexpr double buttonGap = 60;
    constexpr double buttonWidth = (wide - buttonGap) / 2;
    const double right = x[3] + buttonWidth + buttonGap;
    put(Label26, nullptr, {"Label26", x[3], row2, wide, 0, u"管件列表"_s});
    put(List1, nullptr, {"List1", x[3], row2 + 240, wide, 1620});
    put(List2, nullptr, {"List2", kHiddenLeft, row2, 1200, 1620});
    put(Command1, nullptr, {"Command1", x[3], row2 + 1920, buttonWidth, 330, u"清除列表"_s});
    put(Command2, nullptr, {"Command2", right, row2 + 1920, buttonWidth, 330, u"清除全部"_s});
    put(Command3, nullptr, {"Command3", x[3], row2 + 2280, buttonWidth, 330, u"计 算"_s});
    put(Command4, nullptr, {"Command4", right, row2 + 2280, buttonWidth, 330, u"退 出"_s});

    // The notice along the foot of the window, and its hidden tick counter.
    put(Label32, nullptr, {"Label32", x[0], 5385, kWindowWidth - 2 * x[0], 255, kNotice});
    put(Text12, nullptr, {"Text12", kHiddenLeft, 4500, 600, 0, kZero});
    putTimer(Timer1, "Timer1", kBlinkIntervalMs);

    Picture1->setPicture(drainage::fittingDrawing(FittingDrawing::Tee));
    Picture2->setPicture(drainage::fittingDrawing(FittingDrawing::Cross));
    Picture3->setPicture(drainage::fittingDrawing(FittingDrawing::QuarterBend));
    Picture4->setPicture(drainage::fittingDrawing(FittingDrawing::OffsetBend));
    Picture5->setPicture(drainage::fittingDrawing(FittingDrawing::SweptInlet));
    Picture7->setPicture(drainage::fittingDrawing(FittingDrawing::PvcuReducer));
    Picture8->setPicture(drainage::fittingDrawing(FittingDrawing::CastIronReducer));
    Option1->setChecked(true);
    const QFont bold = forms::fontFor(QStringLiteral("宋体"), 9, true);
    Command3->setFont(bold);
    Command4->setFont(bold);
    Label32->setFont(bold);
    Label32->setWordWrap(false);
    Label32->setForeColor(forms::vbBlue);
    for (QWidget* hidden : std::initializer_list<QWidget*>{Picture7, Picture8, Text12})
        hidden->hide();

    connectHandlers();
}

void DrainageFittingStackForm::connectHandlers()
{
    forms::connectHandler(Option1, &forms::OptionButton::Click, this, &DrainageFittingStackForm::Option1_Click);
    forms::connectHandler(Option2, &forms::OptionButton::Click, this, &DrainageFittingStackForm::Option2_Click);
    forms::connectHandler(Combo1, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo1_Click);
    forms::connectHandler(Combo2, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo2_Click);
    forms::connectHandler(Combo3, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo3_Click);
    forms::connectHandler(Combo4, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo4_Click);
    forms::connectHandler(Combo5, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo5_Click);
    forms::connectHandler(Combo6, &forms::ComboBox::Click, this, &DrainageFittingStackForm::Combo6_Click);
    forms::connectHandler(Picture1, &forms::PictureBox::DblClick, this, &DrainageFittingStackForm::Picture1_DblClick);
    forms::connectHandler(Picture2, &forms::PictureBox::DblClick, this, &DrainageFittingStackForm::Picture2_DblClick);
    forms::connectHandler(Picture3, &forms::PictureBox::DblClick, this, &DrainageFittingStackForm::Picture3_DblClick);
    forms::connectHandler(Picture4, &forms::PictureBox::DblClick, this, &DrainageFittingStackForm::Picture4_DblClick);
    forms::connectHandler(Picture5, &forms::PictureBox::DblClick, this, &DrainageFittingStackForm::Picture5_DblClick);
    forms::connectHandler(Picture6, &forms::PictureBox::Click, this, &DrainageFittingStackForm::Picture6_Click);
    forms::connectHandler(List1, &forms::ListBox::DblClick, this, &DrainageFittingStackForm::List1_DblClick);
    forms::connectHandler(Command1, &forms::CommandButton::Click, this, &DrainageFittingStackForm::Command1_Click);
    forms::connectHandler(Command2, &forms::CommandButton::Click, this, &DrainageFittingStackForm::Command2_Click);
    forms::connectHandler(Command3, &forms::CommandButton::Click, this, &DrainageFittingStackForm::Command3_Click);
    forms::connectHandler(Command4, &forms::CommandButton::Click, this, &CalculatorForm::Exit_Click);
    forms::connectHandler(Timer1, &forms::Timer::Tick, this, &DrainageFittingStackForm::Timer1_Timer);
}

const DrainageFittingStackForm::FittingColumn& DrainageFittingStackForm::column(FittingType type) const
{
    return m_columns[static_cast<std::size_t>(type) - 1];
}

PipeMaterial DrainageFittingStackForm::material() const
{
    return Option1->Value() ? PipeMaterial::Pvcu : PipeMaterial::CastIron;
}

void DrainageFittingStackForm::Form_Load()
{
    appendVersionToCaption();
    Picture6->setPicture(Picture7->pixmap());
    for (FittingType type : drainage::kFittingTypes) {
        for (const QString& size : Tables::sizeList(PipeMaterial::Pvcu, type))
            column(type).size->AddItem(size);
    }
}

// --- Material ---------------------------------------------------------------

void DrainageFittingStackForm::switchMaterial(PipeMaterial chosen)
{
    Picture6->setPicture((chosen == PipeMaterial::Pvcu ? Picture7 : Picture8)->pixmap());
    for (forms::TextBox* field : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
                                  Text10, Text13})
        field->setText(kZero);
    for (const FittingColumn& c : m_columns)
        c.size->Clear();
    for (const FittingColumn& c : m_columns)
        c.size->setText(kSizePrompt);
    for (FittingType type : drainage::kFittingTypes) {
        for (const QString& size : Tables::sizeList(chosen, type))
            column(type).size->AddItem(size);
    }
}

void DrainageFittingStackForm::Option1_Click()
{
    switchMaterial(PipeMaterial::Pvcu);
}

void DrainageFittingStackForm::Option2_Click()
{
    switchMaterial(PipeMaterial::CastIron);
}

// --- Sizes ------------------------------------------------------------------

void DrainageFittingStackForm::lookUpSize(FittingType type)
{
    showLengths(type, Tables::lengths(material(), type, column(type).size->Text()));
}

void DrainageFittingStackForm::showLengths(FittingType type,
                                           const std::optional<Tables::FittingLengths>& found)
{
    const FittingColumn& c = column(type);
    if (Tables::setsL1(type))
        c.l1->setText(found ? textio::generalNumberText(found->l1Mm) : kZero);
    if (Tables::setsL2(type))
        c.l2->setText(found ? textio::generalNumberText(found->l2Mm) : kZero);
}

void DrainageFittingStackForm::Combo1_Click()
{
    lookUpSize(FittingType::Tee);
}

void DrainageFittingStackForm::Combo2_Click()
{
    lookUpSize(FittingType::Cross);
}

void DrainageFittingStackForm::Combo3_Click()
{
    lookUpSize(FittingType::QuarterBend);
}

void DrainageFittingStackForm::Combo4_Click()
{
    lookUpSize(FittingType::OffsetBend);
}

void DrainageFittingStackForm::Combo5_Click()
{
    lookUpSize(FittingType::SweptInlet);
}

void DrainageFittingStackForm::Combo6_Click()
{
    lookUpSize(FittingType::Reducer);
}

// --- The stack --------------------------------------------------------------

void DrainageFittingStackForm::addFitting(FittingType type)
{
    // Only a size of the list is added, and always with its own lengths: an
    // entry typed rather than picked shows its lengths as a pick would.
    const FittingColumn& c = column(type);
    const int lines = List1->ListCount();
    const std::optional<FittingType> above =
        lines > 0 ? drainage::stackLineType(List1->List(lines - 1)) : std::nullopt;
    if (const auto lengths = Tables::lengths(material(), type, c.size->Text()))
        showLengths(type, lengths);
    const drainage::FittingAdditionOutcome addition =
        drainage::fittingAddition(material(), type, c.size->Text(), above);
    // The stack's messages leave the focus where it is.
    if (addition.refusal)
        return forms::refuseInput(addition.refusal->message, addition.refusal->title, nullptr);

    // The real lengths are kept; which of them count is decided at each
    // calculation.
    List2->AddItem(c.l1->Text());
    List2->AddItem(c.l2->Text());
    List1->AddItem(addition.values.text);
}

void DrainageFittingStackForm::Picture1_DblClick()
{
    addFitting(FittingType::Tee);
}

void DrainageFittingStackForm::Picture2_DblClick()
{
    addFitting(FittingType::Cross);
}

void DrainageFittingStackForm::Picture3_DblClick()
{
    addFitting(FittingType::QuarterBend);
}

void DrainageFittingStackForm::Picture4_DblClick()
{
    addFitting(FittingType::OffsetBend);
}

void DrainageFittingStackForm::Picture5_DblClick()
{
    addFitting(FittingType::SweptInlet);
}

void DrainageFittingStackForm::Picture6_Click()
{
    addFitting(FittingType::Reducer);
}

void DrainageFittingStackForm::List1_DblClick()
{
    const int k = List1->ListIndex();
    if (k < 0 || k >= List1->ListCount())
        return;
    for (int entry = 0; entry < drainage::kLengthsPerLine; ++entry)
        List2->RemoveItem(drainage::kLengthsPerLine * k);
    List1->RemoveItem(k);
}

void DrainageFittingStackForm::Command1_Click()
{
    Text11->setText(kZero);
    List1->Clear();
    List2->Clear();
}

void DrainageFittingStackForm::Command2_Click()
{
    List1->Clear();
    List2->Clear();
    for (forms::TextBox* field : {Text1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9,
                                  Text10, Text11, Text13, Text14})
        field->setText(kZero);
    for (const FittingColumn& c : m_columns)
        c.size->setText(kSizePrompt);
}

void DrainageFittingStackForm::Command3_Click()
{
    const drainage::StackHeight result = drainage::stackHeight(entries(*List1), entries(*List2));
    for (const textio::Notice& notice : result.notices) {
        forms::showNotice(notice);
        Text11->setText(kZero);
    }
    Text11->setText(drainage::stackHeightText(result));
    Text15->setText(QString::number(result.fittingCount));
}

// --- The notice -------------------------------------------------------------

void DrainageFittingStackForm::Timer1_Timer()
{
    const double ticks = textio::readNumber(Text12->Text()).value_or(0) + 1;
    Text12->setText(textio::generalNumberText(ticks));
    const double counted = textio::readNumber(Text12->Text()).value_or(0);
    const bool even = std::fmod(counted, 2) == 0;
    Label32->setForeColor(even ? forms::vbBlue : forms::vbRed);
}
