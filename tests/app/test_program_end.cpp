// The end of the program from a calculator (退出, Esc, a close box): a text
// in the result window and segments typed into the segment list are offered
// for saving first, the result window's question first; Cancel, or a save
// dialog cancelled, keeps the program running with nothing lost; with
// nothing to lose the program ends at once.
#include "app/results_window_form.h"
#include "building_services/septic_tank_form.h"
#include "hydraulics/drainage_pipe_form.h"
#include "hydraulics/water_supply_pipe_form.h"
#include "shell_test_support.h"
#include "storm_network/storm_segment_list_form.h"
#include "textio/cp936.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>
#include <vector>

using forms::testing::FormsTest;
using namespace shell_test;

namespace {

const QString kResult = QStringLiteral("建筑面积为1000平方米，配置MF/ABC4灭火器2具。");
const QString kResultQuestion = QStringLiteral("是否保存计算结果？");
const QString kListQuestion = QStringLiteral("是否保存数据列表？");
const QByteArray kTwoRowsFile = QByteArrayLiteral("100\r\n2000\r\n0.9\r\n50\r\n1500\r\n0.6\r\n");

// The three ways the engineer ends the program from a calculator.
struct Ending {
    const char* name;
    std::function<CalculatorForm&()> window;
    std::function<void(CalculatorForm&)> end;
};

const std::vector<Ending>& endings()
{
    static const std::vector<Ending> all = {
        {"退出 of 给水", [] () -> CalculatorForm& { return form0(); },
         [](CalculatorForm& w) { w.cancelButton()->press(); }},
        {"Esc in 排水", [] () -> CalculatorForm& { return Form1(); },
         [](CalculatorForm& w) { w.pressKey(Qt::Key_Escape); }},
        {"close box of 化粪池选型", [] () -> CalculatorForm& { return form12(); },
         [](CalculatorForm& w) { w.close(); }},
    };
    return all;
}

class ProgramEndTest : public FormsTest {
protected:
    void SetUp() override
    {
        FormsTest::SetUp();
        ASSERT_TRUE(dir.isValid());
    }

    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

    static void showResult()
    {
        Form9().Show();
        Form9().Text1->setText(kResult);
    }

    static void typeTwoSegments()
    {
        StormSegmentListForm& list = Form14();
        list.Show();
        const char* const rows[][3] = {{"100", "2000", "0.9"}, {"50", "1500", "0.6"}};
        for (const auto& row : rows) {
            list.Text1->setText(QString::fromLatin1(row[0]));
            list.Text2->setText(QString::fromLatin1(row[1]));
            list.Text3->setText(QString::fromLatin1(row[2]));
            list.Command1->press();
        }
        ASSERT_EQ(list.rows().size(), 2u);
    }

    // A new run, with the calculator of `ending` on screen.
    CalculatorForm& newRunIn(const Ending& ending)
    {
        FormsTest::TearDown();
        FormsTest::SetUp();
        startRun();
        CalculatorForm& w = ending.window();
        w.Show();
        return w;
    }

    // The two segments of kTwoRowsFile, imported from `file`.
    void importTwoSegments(const QString& file)
    {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(kTwoRowsFile);
        out.close();
        Form14().Show();
        platform().answerFileDialog(file);
        Form14().导入_Click();
        ASSERT_EQ(Form14().rows().size(), 2u);
    }

    static QByteArray bytesOf(const QString& file)
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            return QByteArrayLiteral("<missing>");
        return f.readAll();
    }

    QTemporaryDir dir;
};

TEST_F(ProgramEndTest, UnsavedWorkIsOfferedForSavingAndCancelKeepsTheProgramRunning)
{
    struct Scenario {
        const char* name;
        bool result;                              // a result stands in the result window
        bool segments;                            // two segments typed into the list
        std::vector<int> answers;                 // the questions' answers, in order
        std::vector<std::optional<const char*>> saves;  // the save dialogs' answers
        QStringList asked;                        // the questions, in order
        bool ends;
        bool resultKept;                          // the result window still open
        const char* resultFile;                   // written with the result, or null
        const char* listFile;                     // written with the segments, or null
    };
    const Scenario scenarios[] = {
        {"result: Cancel", true, false, {forms::vbCancel}, {}, {kResultQuestion}, false, true,
         nullptr, nullptr},
        {"result: No", true, false, {forms::vbNo}, {}, {kResultQuestion}, true, false, nullptr,
         nullptr},
        {"result: Yes, saved", true, false, {forms::vbYes}, {"result.txt"}, {kResultQuestion}, true,
         false, "result.txt", nullptr},
        {"result: Yes, save dialog cancelled", true, false, {forms::vbYes}, {std::nullopt},
         {kResultQuestion}, false, true, nullptr, nullptr},
        {"segments: Cancel", false, true, {forms::vbCancel}, {}, {kListQuestion}, false, false,
         nullptr, nullptr},
        {"segments: No", false, true, {forms::vbNo}, {}, {kListQuestion}, true, false, nullptr,
         nullptr},
        {"segments: Yes, exported", false, true, {forms::vbYes}, {"storm_in.txt"}, {kListQuestion},
         true, false, nullptr, "storm_in.txt"},
        {"segments: Yes, export dialog cancelled", false, true, {forms::vbYes}, {std::nullopt},
         {kListQuestion}, false, false, nullptr, nullptr},
        {"both: the result's question first, then the list's", true, true,
         {forms::vbYes, forms::vbYes}, {"result.txt", "storm_in.txt"},
         {kResultQuestion, kListQuestion}, true, false, "result.txt", "storm_in.txt"},
        {"both: Cancel in the result's question asks nothing more", true, true, {forms::vbCancel},
         {}, {kResultQuestion}, false, true, nullptr, nullptr},
        {"both: result No, list Cancel", true, true, {forms::vbNo, forms::vbCancel}, {},
         {kResultQuestion, kListQuestion}, false, false, nullptr, nullptr},
    };
    for (const Ending& ending : endings()) {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(std::string(ending.name) + ": " + s.name);
            CalculatorForm& w = newRunIn(ending);
            if (s.result)
                showResult();
            if (s.segments)
                typeTwoSegments();
            for (int answer : s.answers)
                platform().answerMessageBox(answer);
            for (const std::optional<const char*>& save : s.saves)
                platform().answerFileDialog(save ? std::optional<QString>(path(*save)) : std::nullopt);

            EXPECT_EQ(endsProgram([&] { ending.end(w); }), s.ends);

            QStringList asked;
            for (const auto& box : boxes()) {
                asked << box.text;
                EXPECT_EQ(box.title, QStringLiteral("Vantor_Tools"));
                EXPECT_EQ(box.style, forms::vbYesNoCancel
                                         | (box.text == kResultQuestion ? forms::vbCritical : forms::vbQuestion));
            }
            EXPECT_EQ(asked, s.asked);
            EXPECT_EQ(platform().fileDialogs().size(), s.saves.size());
            if (!s.ends) {
                // Nothing is lost: the calculator, the result and the rows stay.
                EXPECT_FALSE(w.isUnloaded());
                EXPECT_TRUE(w.isVisible());
                if (s.segments) {
                    EXPECT_EQ(Form14().rows().size(), 2u);
                }
            }
            const ResultsWindowForm* results = forms::loadedInstance<ResultsWindowForm>();
            EXPECT_EQ(results != nullptr, s.resultKept);
            if (results) {
                EXPECT_EQ(results->Text1->Text(), kResult);
            }
            if (s.resultFile) {
                EXPECT_EQ(bytesOf(path(s.resultFile)),
                          textio::encodeCp936(kResult).bytes + QByteArrayLiteral("\r\n"));
            }
            if (s.listFile) {
                EXPECT_EQ(bytesOf(path(s.listFile)), kTwoRowsFile);
            }
            QFile::remove(path("result.txt"));
            QFile::remove(path("storm_in.txt"));
        }
    }
}

TEST_F(ProgramEndTest, WithNothingToLoseTheProgramEndsAtOnce)
{
    const QString file = path("storm_in.txt");
    struct Scenario {
        const char* name;
        std::function<void()> before;
    };
    const Scenario scenarios[] = {
        {"nothing done", [] {}},
        {"result window closed without saving",
         [&] {
             showResult();
             platform().answerMessageBox(forms::vbNo);
             ASSERT_TRUE(Form9().Unload());
         }},
        {"segments imported and not changed",
         [&] {
             importTwoSegments(file);
         }},
        {"segments imported, a row updated to the values it holds",
         [&] {
             importTwoSegments(file);
             Form14().List1(1).clickLine(1);
             ASSERT_EQ(Form14().Command1->Caption(), QStringLiteral("更  新"));
             Form14().Command1->press();
         }},
        {"segments typed, then exported",
         [&] {
             typeTwoSegments();
             platform().answerFileDialog(file);
             Form14().导出_Click();
             ASSERT_EQ(bytesOf(file), kTwoRowsFile);
         }},
        {"segments typed, then all deleted",
         [&] {
             typeTwoSegments();
             platform().answerMessageBox(forms::vbOK);
             Form14().Command4_Click();
             ASSERT_TRUE(Form14().rows().empty());
         }},
    };
    for (const Ending& ending : endings()) {
        for (const Scenario& s : scenarios) {
            SCOPED_TRACE(std::string(ending.name) + ": " + s.name);
            CalculatorForm& w = newRunIn(ending);
            s.before();
            const std::size_t asked = boxes().size();
            const std::size_t dialogs = platform().fileDialogs().size();
            EXPECT_TRUE(endsProgram([&] { ending.end(w); }));
            EXPECT_EQ(boxes().size(), asked);
            EXPECT_EQ(platform().fileDialogs().size(), dialogs);
            QFile::remove(file);
        }
    }
}

} // namespace
