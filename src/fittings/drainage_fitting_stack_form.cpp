#include "fittings/drainage_fitting_stack_form.h"

#include "app/windows.h"
#include "fittings/drainage_fitting_drawings_view.h"
#include "fittings/fitting_stack.h"
#include "forms/application.h"
#include "forms/platform.h"
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

DrainageFittingStackForm& Form8()
{
    return forms::defaultInstance<DrainageFittingStackForm>();
}

namespace {

const QString kCaption = QStringLiteral("排水管件连接计算");
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

void showStackMessage(QStringView text)
{
    forms::MsgBox(text.toString(), forms::vbOKOnly, drainage::kStackMessageTitle.toString());
}

// A field's text as a length; a text that is no number counts as none.
double lengthOf(const QString& text)
{
    return textio::readNumber(text).value_or(0);
}

} // namespace

DrainageFittingStackForm::FittingColumn DrainageFittingStackForm::makeColumn(
    FittingType type, double left, double top, double width, forms::Label* caption,
    const char* picture, const char* combo, const char* l1, const char* l2)
{
    const int n = static_cast<int>(type);
    const QByteArray suffix = QByteArray::number(n);
    FittingColumn c;
    c.caption = caption;
    caption->setCaption(drainage::fittingTypeName(type));
    caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.picture = add<forms::PictureBox>(picture, left, top + 240, width, kPictureHeight);
    c.picture->setAlignment(Qt::AlignCenter);
    c.picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    c.picture->setBackColor(forms::vbWhite);
    c.size = add<forms::ComboBox>(combo, left, top + 1620, width, 300,
                                  forms::ComboBox::Style::Editable);
    c.size->setText(kSizePrompt);
    const auto row = [&](const char* field, const QString& mark, double y, forms::Label*& label,
                         forms::TextBox*& box, forms::Label*& unit) {
        label = addWithCaption<forms::Label>(("LabelL" + mark.right(1).toLatin1() + "_" + suffix).constData(),
                                  left, y + 30, kLengthLabelWidth, 240, mark + QStringLiteral("："));
        const double fieldWidth = width - kLengthLabelWidth - kUnitGap - kUnitWidth;
        box = add<forms::TextBox>(field, left + kLengthLabelWidth, y, fieldWidth, 270);
        box->setLocked(true);
        box->setText(kZero);
        unit = addWithCaption<forms::Label>(("LabelMm" + mark.right(1).toLatin1() + "_" + suffix).constData(),
                                 left + width - kUnitWidth, y + 30, kUnitWidth, 240,
                                 QStringLiteral("mm"));
    };
    row(l1, QStringLiteral("L1"), top + 1980, c.l1Label, c.l1, c.l1Unit);
    row(l2, QStringLiteral("L2"), top + 2310, c.l2Label, c.l2, c.l2Unit);
    return c;
}

DrainageFittingStackForm::DrainageFittingStackForm()
    : CalculatorForm(kCaption, kWindowWidth, kWindowHeight, Calculator::DrainageFittings)
{
    setObjectName(QStringLiteral("Form8"));

    // Fitting columns: 管件1 to 管件4 along the top, 管件5 and 管件6 below.
    constexpr double row1 = 60;
    constexpr double row2 = 2760;
    const double* x = kColumnLefts;
    Label21 = add<forms::Label>("Label21", x[0], row1, kColumnWidth, 240);
    Label5 = add<forms::Label>("Label5", x[1], row1, kColumnWidth, 240);
    Label12 = add<forms::Label>("Label12", x[2], row1, kColumnWidth, 240);
    Label9 = add<forms::Label>("Label9", x[3], row1, kWideColumnWidth, 240);
    Label37 = add<forms::Label>("Label37", x[0], row2, kColumnWidth, 240);
    Label16 = add<forms::Label>("Label16", x[1], row2, kColumnWidth, 240);
    const double w = kColumnWidth;
    m_columns = {
        makeColumn(FittingType::Tee, x[0], row1, w, Label21, "Picture1", "Combo1", "Text1", "Text2"),
        makeColumn(FittingType::Cross, x[1], row1, w, Label5, "Picture2", "Combo2", "Text3", "Text4"),
        makeColumn(FittingType::QuarterBend, x[2], row1, w, Label12, "Picture3", "Combo3", "Text5", "Text6"),
        makeColumn(FittingType::OffsetBend, x[3], row1, kWideColumnWidth, Label9, "Picture4", "Combo4",
                   "Text7", "Text8"),
        makeColumn(FittingType::SweptInlet, x[0], row2, w, Label37, "Picture5", "Combo5", "Text9", "Text10"),
        makeColumn(FittingType::Reducer, x[1], row2, w, Label16, "Picture6", "Combo6", "Text13", "Text14"),
    };
    Picture1 = m_columns[0].picture;
    Picture2 = m_columns[1].picture;
    Picture3 = m_columns[2].picture;
    Picture4 = m_columns[3].picture;
    Picture5 = m_columns[4].picture;
    Picture6 = m_columns[5].picture;
    Combo1 = m_columns[0].size;
    Combo2 = m_columns[1].size;
    Combo3 = m_columns[2].size;
    Combo4 = m_columns[3].size;
    Combo5 = m_columns[4].size;
    Combo6 = m_columns[5].size;
    Text1 = m_columns[0].l1;
    Text2 = m_columns[0].l2;
    Text3 = m_columns[1].l1;
    Text4 = m_columns[1].l2;
    Text5 = m_columns[2].l1;
    Text6 = m_columns[2].l2;
    Text7 = m_columns[3].l1;
    Text8 = m_columns[3].l2;
    Text9 = m_columns[4].l1;
    Text10 = m_columns[4].l2;
    Text13 = m_columns[5].l1;
    Text14 = m_columns[5].l2;
    Picture1->setPicture(drainage::fittingDrawing(FittingDrawing::Tee));
    Picture2->setPicture(drainage::fittingDrawing(FittingDrawing::Cross));
    Picture3->setPicture(drainage::fittingDrawing(FittingDrawing::QuarterBend));
    Picture4->setPicture(drainage::fittingDrawing(FittingDrawing::OffsetBend));
    Picture5->setPicture(drainage::fittingDrawing(FittingDrawing::SweptInlet));
    Picture7 = add<forms::PictureBox>("Picture7", kHiddenLeft, 0, kColumnWidth, kPictureHeight);
    Picture8 = add<forms::PictureBox>("Picture8", kHiddenLeft, kPictureHeight, kColumnWidth,
                                      kPictureHeight);
    Picture7->setPicture(drainage::fittingDrawing(FittingDrawing::PvcuReducer));
    Picture8->setPicture(drainage::fittingDrawing(FittingDrawing::CastIronReducer));
    Picture7->hide();
    Picture8->hide();

    // Material, with the results below it.
    Frame1 = addWithCaption<forms::Frame>("Frame1", x[2], row2 - 60, kColumnWidth, 870,
                                          QStringLiteral("管材选择"));
    Option1 = addInWithCaption<forms::OptionButton>(Frame1, "Option1", 150, 270, 1500, 255,
                                                    QStringLiteral("PVC-U排水管"));
    Option2 = addInWithCaption<forms::OptionButton>(Frame1, "Option2", 150, 555, 1500, 255,
                                                    QStringLiteral("排水铸铁管"));
    Option1->setChecked(true);

    Frame2 = addWithCaption<forms::Frame>("Frame2", x[2], row2 + 900, kColumnWidth, 1680,
                                          QStringLiteral("计算结果"));
    Label30 = addInWithCaption<forms::Label>(Frame2, "Label30", 120, 300, 1200, 240,
                                             QStringLiteral("连接尺寸："));
    Text11 = addIn<forms::TextBox>(Frame2, "Text11", 120, 570, 1140, 300);
    Label29 = addInWithCaption<forms::Label>(Frame2, "Label29", 1320, 600, 390, 240,
                                             QStringLiteral("mm"));
    Label17 = addInWithCaption<forms::Label>(Frame2, "Label17", 120, 990, 900, 240,
                                             QStringLiteral("管件数量："));
    Text15 = addIn<forms::TextBox>(Frame2, "Text15", 1020, 960, 600, 300);
    Label31 = addInWithCaption<forms::Label>(Frame2, "Label31", 90, 1350, 1620, 240,
                                             QStringLiteral("注:以管中心标高计"));

    // The stack and its buttons.
    Label26 = addWithCaption<forms::Label>("Label26", x[3], row2, kWideColumnWidth, 240,
                                           QStringLiteral("管件列表"));
    List1 = add<forms::ListBox>("List1", x[3], row2 + 240, kWideColumnWidth, 1620);
    List2 = add<forms::ListBox>("List2", kHiddenLeft, row2, 1200, 1620);
    // Two buttons a row, sharing the stack's width.
    constexpr double buttonGap = 60;
    constexpr double buttonWidth = (kWideColumnWidth - buttonGap) / 2;
    const double right = x[3] + buttonWidth + buttonGap;
    Command1 = addWithCaption<forms::CommandButton>("Command1", x[3], row2 + 1920, buttonWidth, 330,
                                                    QStringLiteral("清除列表"));
    Command2 = addWithCaption<forms::CommandButton>("Command2", right, row2 + 1920, buttonWidth, 330,
                                                    QStringLiteral("清除全部"));
    Command3 = addWithCaption<forms::CommandButton>("Command3", x[3], row2 + 2280, buttonWidth, 330,
                                                    QStringLiteral("计 算"));
    Command3->setFont(forms::fontFor(QStringLiteral("宋体"), 9, true));
    Command4 = addWithCaption<forms::CommandButton>("Command4", right, row2 + 2280, buttonWidth, 330,
                                                    QStringLiteral("退 出"));
    Command4->setFont(forms::fontFor(QStringLiteral("宋体"), 9, true));

    // The notice along the foot of the window.
    Label32 = addWithCaption<forms::Label>("Label32", x[0], 5385, kWindowWidth - 2 * x[0], 255, kNotice);
    Label32->setFont(forms::fontFor(QStringLiteral("宋体"), 9, true));
    Label32->setWordWrap(false);
    Label32->setForeColor(forms::vbBlue);
    Text12 = add<forms::TextBox>("Text12", kHiddenLeft, 4500, 600, 300);
    Text12->setText(kZero);
    Text12->hide();
    Timer1 = new forms::Timer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kBlinkIntervalMs);

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
    forms::connectHandler(Command4, &forms::CommandButton::Click, this, &DrainageFittingStackForm::Command4_Click);
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
    appendVersionToCaption(kCaption);
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
    const drainage::FittingAddition addition =
        drainage::fittingAddition(material(), type, c.size->Text(), above);
    if (addition.lengths)
        showLengths(type, addition.lengths);
    if (addition.refusal)
        return showStackMessage(drainage::stackMessageText(*addition.refusal));

    // The real lengths are kept; which of them count is decided at each
    // calculation.
    List2->AddItem(c.l1->Text());
    List2->AddItem(c.l2->Text());
    List1->AddItem(addition.line.text);
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
    std::vector<drainage::StackLine> lines;
    for (int k = 0; k < List1->ListCount(); ++k) {
        const int l1 = drainage::kLengthsPerLine * k;
        lines.push_back({List1->List(k), lengthOf(List2->List(l1)), lengthOf(List2->List(l1 + 1))});
    }
    const drainage::StackHeight result = drainage::stackHeight(lines);
    for (drainage::StackMessage message : result.messages) {
        showStackMessage(drainage::stackMessageText(message));
        Text11->setText(kZero);
    }
    Text11->setText(drainage::stackHeightText(result));
    Text15->setText(QString::number(result.fittingCount));
}

void DrainageFittingStackForm::Command4_Click()
{
    forms::endProgram();
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
