#include "storm_network/storm_segment_list_form.h"
#include "app/run_state.h"

#include "app/windows.h"
#include "storm_network/storm_sewer_network_form.h"

StormSegmentListForm& Form14()
{
    return forms::defaultInstance<StormSegmentListForm>();
}

namespace {
const QString kDesignCaption = QStringLiteral("雨水管道水力计算");
}

StormSegmentListForm::StormSegmentListForm()
    : forms::Form(kDesignCaption, 4200, 7335, forms::BorderStyle::FixedSingle)
{
    setObjectName(QStringLiteral("Form14"));

    导入 = addMenuItem(QStringLiteral("导入"), QStringLiteral("导入数据"));
    导出 = addMenuItem(QStringLiteral("导出"), QStringLiteral("导出数据"));
    清除 = addMenuItem(QStringLiteral("清除"), QStringLiteral("清除数据"));
    返回 = addMenuItem(QStringLiteral("返回"), QStringLiteral("返回程序"));

    Frame1 = add<forms::Frame>("Frame1", 0, 1845, 4200, 5460);
    Frame1->setCaption(QStringLiteral("数据列表"));
    const double lefts[] = {135, 1475, 2805};
    for (int i = 0; i < 3; ++i) {
        auto* list = addIn<forms::ListBox>(Frame1, "List1", lefts[i], 600, 1200, 4200);
        list->setProperty("Index", i);
        List1.insert(i, list);
    }

    connect(返回, &forms::MenuItem::Click, this, &StormSegmentListForm::返回_Click);
}

void StormSegmentListForm::Form_Load()
{
    setCaption(versionedCaption(kDesignCaption));
}

void StormSegmentListForm::返回_Click()
{
    form13().Show();
    Hide();
}
