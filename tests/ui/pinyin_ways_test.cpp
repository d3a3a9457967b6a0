// The reading ways of 汉字拼音: the menu, the appended line, the stored default, loading on first
// use, and a missing or damaged data file.

#include "window_fixture.h"
#include "platform/character_maps.h"
#include "platform/text_services.h"
#include "ui/form1.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <utility>

#include <fstream>
#include <memory>
#include <unistd.h>

namespace {

using ui::ButtonWays;

class PinyinWaysTest : public testsupport::WindowFixture {
protected:
    void SetUp() override { text = platform::loadTextServices(platform::openccDataDir()); }
    // The menu's entries as the user sees them when it opens.
    static std::vector<QAction *> openedEntries(ui::Form1 &form) {
        emit form.CmdGetPY->customContextMenuRequested(QPoint(2, 2));
        QMenu *menu = form.ways(form.CmdGetPY)->menu();
        std::vector<QAction *> entries;
        for (QAction *a : menu->actions())
            if (!a->menu() && !a->isSeparator())
                entries.push_back(a);
        menu->hide();
        return entries;
    }
    platform::TextServices text;
};

TEST_F(PinyinWaysTest, MenuOffersTheDesignWayFirstThenTheReadings) {
    auto form = newForm(text);
    QStringList labels;
    for (QAction *a : openedEntries(*form)) {
        labels << a->text();
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    }
    EXPECT_EQ(labels, (QStringList{"首字母大写", "带声调", "数字声调", "无声调", "首字母"}));
    EXPECT_EQ(form->ways(form->CmdGetPY)->defaultKey(), "capitalised");
}

TEST_F(PinyinWaysTest, EachWayAppendsItsLineOnceAsOneUndoStep) {
    const struct {
        const char *key;
        const char *line;
    } cases[] = {{"capitalised", "YinXing YiGe Lv 2008"}, // the design's way: one syllable per code range
                 {"marks", "yín háng yí gè lǜ 2008"},
                 {"numbers", "yin2 hang2 yi2 ge4 lü4 2008"},
                 {"none", "yin hang yi ge lü 2008"},
                 {"initials", "yh yg l 2008"}};
    auto form = newForm(text);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        form->Text1->setPlainText(QStringLiteral(" 银行 一个 绿 2008 "));
        form->ways(form->CmdGetPY)->run(QString::fromLatin1(c.key));
        EXPECT_EQ(form->workspaceText().toStdString(), std::string(" 银行 一个 绿 2008 \n") + c.line);
        form->Text1->undo();
        EXPECT_EQ(form->workspaceText().toStdString(), " 银行 一个 绿 2008 ");
    }
}

TEST_F(PinyinWaysTest, DefaultWayIsRememberedAndNamedInTheToolTip) {
    {
        auto form = newForm(text);
        form->ways(form->CmdGetPY)->setDefault(QStringLiteral("numbers"));
    }
    auto form = newForm(text);
    EXPECT_EQ(form->ways(form->CmdGetPY)->defaultKey(), "numbers");
    EXPECT_TRUE(form->CmdGetPY->toolTip().contains(QStringLiteral("数字声调")));
    form->Text1->setPlainText(QStringLiteral("汉字"));
    form->CmdGetPY->click();
    EXPECT_EQ(form->workspaceText(), QStringLiteral("汉字\nhan4 zi4"));
}

TEST_F(PinyinWaysTest, DataIsLoadedOnFirstUseNotAtStartUp) {
    auto form = newForm(text);
    EXPECT_FALSE(text.readings->tried());
    form->Text1->setPlainText(QStringLiteral("汉字"));
    form->CmdGetPY->click(); // the design's way needs no data
    EXPECT_FALSE(text.readings->tried());
    openedEntries(*form);
    EXPECT_TRUE(text.readings->tried());
}

TEST_F(PinyinWaysTest, MissingOrDamagedDataDisablesOnlyTheReadings) {
    char dir[] = "/tmp/lanternfin-ui-data-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string damaged = std::string(dir) + "/pinyin.dat";
    std::ofstream(damaged) << "LFPINYIN damaged";
    const std::pair<std::string, std::string> cases[] = {
        // The reason in Chinese too, as the window speaks (regression: it was English).
        {"/nonexistent/pinyin.dat", "没有那个文件或目录"},
        {damaged, "太短，不是拼音数据文件"},
    };
    for (const auto &[path, why] : cases) {
        SCOPED_TRACE(path);
        text.readings = std::make_unique<platform::PinyinDataSource>(path);
        auto form = newForm(text);
        const auto entries = openedEntries(*form);
        ASSERT_EQ(entries.size(), 5u);
        EXPECT_TRUE(entries[0]->isEnabled());
        for (std::size_t i = 1; i < entries.size(); ++i) {
            EXPECT_FALSE(entries[i]->isEnabled());
            EXPECT_EQ(entries[i]->toolTip(), QString::fromStdString("无法载入 " + path + "：" + why));
        }
        form->Text1->setPlainText(QStringLiteral("汉字"));
        form->ways(form->CmdGetPY)->run(QStringLiteral("marks"));
        EXPECT_EQ(form->workspaceText(), QStringLiteral("汉字"));
        form->CmdGetPY->click();
        EXPECT_EQ(form->workspaceText(), QStringLiteral("汉字\nHanZi"));
    }
    unlink(damaged.c_str());
    rmdir(dir);
}

} // namespace
