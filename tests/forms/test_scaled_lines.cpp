// Lines and borders at the scales of a desktop (100 % to 200 % in quarter
// steps): each shows at least one device pixel wide, wherever its edge falls
// between two device pixels.
#include "forms/controls.h"
#include "forms/testing/drawn_lines.h"
#include "forms/testing/fixture.h"

#include <QWidget>

#include <functional>
#include <memory>

using forms::testing::FormsTest;
using forms::testing::linesLostAt;

namespace {

class ScaledLinesTest : public FormsTest {};

// Places one control at `top` (twips) in `host`.
using Placement = std::function<void(QWidget& host, double top)>;

struct DrawnControl {
    const char* name;
    Placement place;
};

TEST_F(ScaledLinesTest, EveryLineAndBorderShowsAtEveryScale)
{
    const DrawnControl controls[] = {
        {"level line",
         [](QWidget& host, double top) {
             auto* line = new forms::Line(&host);
             line->setObjectName(QStringLiteral("Line"));
             line->setPoints(150, top, 2400, top);
             line->show();
         }},
        {"upright line",
         [](QWidget& host, double top) {
             auto* line = new forms::Line(&host);
             line->setObjectName(QStringLiteral("Line"));
             line->setPoints(top, 150, top, 2400);
             line->show();
         }},
        {"frame with a caption",
         [](QWidget& host, double top) {
             forms::makeControl<forms::Frame>(&host, "Frame", top, top, 2400, 1200)
                 ->setCaption(QStringLiteral("数据列表"));
         }},
        {"frame without a caption",
         [](QWidget& host, double top) {
             forms::makeControl<forms::Frame>(&host, "Frame", top, top, 2400, 1200);
         }},
        {"list box",
         [](QWidget& host, double top) {
             forms::makeControl<forms::ListBox>(&host, "List", top, top, 1200, 2400);
         }},
        {"multi-line text box",
         [](QWidget& host, double top) {
             forms::makeControl<forms::MultiLineTextBox>(&host, "Text", top, top, 2400, 1200);
         }},
        {"text box",
         [](QWidget& host, double top) {
             forms::makeControl<forms::TextBox>(&host, "Text", top, top, 1200, 300);
         }},
        {"list",
         [](QWidget& host, double top) {
             forms::makeControl<forms::ComboBox>(&host, "Combo", top, top, 1200, 315,
                                                 forms::ComboBox::Style::Editable);
         }},
    };
    for (const DrawnControl& control : controls) {
        SCOPED_TRACE(control.name);
        // Four pixels in a row: the edges fall on every quarter of a device
        // pixel at 125 % and 175 %, on both halves at 150 %.
        for (int pixel = 160; pixel < 164; ++pixel) {
            SCOPED_TRACE(pixel);
            auto host = std::make_unique<QWidget>();
            host->resize(400, 400);
            control.place(*host, forms::twipsOf(pixel));
            host->show();
            for (double scale : {1.25, 1.5, 1.75, 2.0}) {
                SCOPED_TRACE(scale);
                const QStringList lost = linesLostAt(*host, scale);
                EXPECT_TRUE(lost.isEmpty()) << lost.join(QStringLiteral("; ")).toStdString();
            }
        }
    }
}

} // namespace
