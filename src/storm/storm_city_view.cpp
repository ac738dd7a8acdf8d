#include "storm/storm_city_view.h"

#include "catalogues/storm_intensity_catalogue.h"
#include "forms/application.h"

#include <algorithm>
#include <optional>

using catalogues::StormIntensityCatalogue;

namespace {

// The city, and the province of the same name, the lists open with.
const QString kOpeningCity = QStringLiteral("天津市");

QFont formulaFont()
{
    return forms::fontFor(QStringLiteral("宋体"), 10.5);
}

}  // namespace

StormCityView::StormCityView(forms::Form& window, double denominatorHeight, Mode mode,
                               double width)
{
    // The fraction is centred in what the lists leave of the frame.
    const double extra = std::max(0.0, width - kWidth);
    // The frames keep clear of the menu bar above them and of each other.
    Frame3 = window.add<forms::Frame>("Frame3", 0, 90, width, 990);
    Frame3->setCaption(QStringLiteral("选择城市"));
    Combo6 = window.addIn<forms::ComboBox>(Frame3, "Combo6", 90, 225, 1275, 330,
                                           forms::ComboBox::Style::PickOnly);
    Combo3 = window.addIn<forms::ComboBox>(Frame3, "Combo3", 90, 585, 1275, 330,
                                           forms::ComboBox::Style::PickOnly);
    Label5 = window.addIn<forms::Label>(Frame3, "Label5", 1420, 405, 300, 330);
    Label6 = window.addIn<forms::Label>(Frame3, "Label6", 1700, 270, 2780 + extra, 240);
    Line1 = new forms::Line(Frame3);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setPoints(1750, 540, 4400 + extra, 540);
    Line1->show();
    Label29 = window.addIn<forms::Label>(Frame3, "Label29", 1700, 630, 2780 + extra,
                                         denominatorHeight);
    showFormulaOf(kOpeningCity);
    for (QWidget* control : {static_cast<QWidget*>(Combo6), static_cast<QWidget*>(Combo3),
                             static_cast<QWidget*>(Label5), static_cast<QWidget*>(Label6),
                             static_cast<QWidget*>(Label29)})
        control->setFont(formulaFont());
    Label6->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label29->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Frame6 = window.addWithCaption<forms::Frame>("Frame6", 0, 1110, width, 660,
                                                 QStringLiteral("计算方式"));
    Option3 = window.addInWithCaption<forms::OptionButton>(Frame6, "Option3", 90, 300, 1320, 240,
                                                           QStringLiteral("自动计算"));
    Option4 = window.addInWithCaption<forms::OptionButton>(Frame6, "Option4", 1440, 300, 1920,
                                                           240, QStringLiteral("手工逐段计算"));
    (mode == Mode::Automatic ? Option3 : Option4)->setValue(true);
}

void StormCityView::loadCities()
{
    Combo3->AddItem(kOpeningCity);
    for (const QString& province : StormIntensityCatalogue::Provinces())
        Combo6->AddItem(province);
    // Selecting the province fills the city list and shows the formula.
    Combo6->setText(kOpeningCity);
}

void StormCityView::provinceChosen()
{
    const QStringList cities = StormIntensityCatalogue::CitiesOf(Combo6->Text());
    if (cities.isEmpty())
        return;
    Combo3->Clear();
    for (const QString& city : cities)
        Combo3->AddItem(city);
    // Selecting the first city shows its formula.
    Combo3->setListIndex(0);
}

void StormCityView::cityChosen()
{
    showFormulaOf(Combo3->Text());
}

void StormCityView::showFormulaOf(const QString& city)
{
    Label5->setCaption(StormIntensityCatalogue::PrefixOf(city));
    const std::optional<catalogues::StormFormulaCaption> caption =
        StormIntensityCatalogue::CaptionOf(city);
    Label6->setCaption(caption ? caption->numerator : QString());
    Label29->setCaption(caption ? caption->denominator : QString());
}
