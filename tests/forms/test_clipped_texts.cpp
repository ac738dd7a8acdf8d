// The layout check that the windows' tests use: which texts it reports.
#include "forms/controls.h"
#include "forms/testing/clipped_texts.h"
#include "forms/testing/fixture.h"

#include <QWidget>

#include <memory>

using forms::testing::clippedTexts;
using forms::testing::FormsTest;

namespace {

class ClippedTextsTest : public FormsTest {};

TEST_F(ClippedTextsTest, ReportsVisibleTextsWiderThanTheirControl)
{
    auto host = std::make_unique<QWidget>();
    auto* fits = forms::makeControl<forms::Label>(host.get(), "Fits", 0, 0, 900, 240);
    fits->setCaption(QStringLiteral("mm"));
    auto* narrow = forms::makeControl<forms::Label>(host.get(), "Narrow", 0, 300, 150, 240);
    narrow->setCaption(QStringLiteral("mm"));
    auto* box = forms::makeControl<forms::TextBox>(host.get(), "Box", 0, 600, 300, 300);
    box->setText(QStringLiteral("1234567890"));
    auto* hidden = forms::makeControl<forms::TextBox>(host.get(), "Hidden", 0, 900, 300, 300);
    hidden->setText(QStringLiteral("1234567890"));
    hidden->hide();
    auto* list = forms::makeControl<forms::ComboBox>(host.get(), "List", 0, 1200, 1200, 300,
                                                     forms::ComboBox::Style::Editable);
    list->setText(QStringLiteral("请选择同心异径管规格"));

    const QStringList clipped = clippedTexts(*host);
    ASSERT_EQ(clipped.size(), 3) << clipped.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(clipped[0].startsWith(QStringLiteral("Narrow: mm")));
    EXPECT_EQ(clipped[1], QStringLiteral("Box: 1234567890"));
    EXPECT_EQ(clipped[2], QStringLiteral("List: 请选择同心异径管规格"));
}

} // namespace
