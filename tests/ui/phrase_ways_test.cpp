// The phrase ways of 繁体 and 简体, headless: their menus, loading on first use, one undo step, and
// a configuration that cannot be loaded.

#include "window_fixture.h"
#include "platform/character_maps.h"
#include "platform/phrase_config.h"
#include "platform/text_services.h"
#include "ui/form1.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace {

class PhraseWaysTest : public testsupport::WindowFixture {
protected:
    void SetUp() override {
        text.phrases = std::make_shared<platform::PhraseConverters>(
            [this](const std::string &name) {
                loads.push_back(name);
                if (failing.count(name))
                    return platform::PhraseLoad{std::nullopt, "/x/" + name + ".json", core::Message::verbatim("no such file"), false, {}};
                return platform::loadPhraseConverter(name, "");
            },
            [this](const std::string &name) {
                ++probes;
                return failing.count(name) ? "/x/" + name + ".json" : std::string();
            });
        makeForm(text);
    }
    QStringList labels(QPushButton *button) const {
        QStringList out;
        // The ways, not 转换文件… or 转换文件夹….
        for (QAction *a : form->ways(button)->menu()->actions())
            if (!a->menu() && !a->isSeparator() && !a->data().isNull())
                out << a->text();
        return out;
    }
    QAction *entry(QPushButton *button, const QString &key) const {
        for (QAction *a : form->ways(button)->menu()->actions())
            if (a->data().toString() == key)
                return a;
        return nullptr;
    }
    // What the configuration itself makes of `in`.
    static QString byConfig(const char *config, const QString &in) {
        const auto load = platform::loadPhraseConverter(config, "");
        return QString::fromStdString(load.converter->convert(in.toStdString()));
    }

    platform::TextServices text = platform::loadTextServices(platform::openccDataDir());
    std::vector<std::string> loads;
    int probes = 0;
    std::set<std::string> failing;
};

TEST_F(PhraseWaysTest, MenusListTheWaysAndStartUpLoadsNothing) {
    EXPECT_EQ(labels(form->cmdft), QStringList({"逐字", "词组", "台湾正体", "台湾用词", "香港繁体", "香港繁体（惯用词）"}));
    EXPECT_EQ(labels(form->cmdjt), QStringList({"逐字", "词组", "台湾→简体", "台湾用词→简体", "香港→简体", "香港用词→简体"}));
    for (QPushButton *button : {form->cmdft, form->cmdjt}) {
        const QList<QAction *> actions = form->ways(button)->menu()->actions();
        ASSERT_GE(actions.size(), 2);
        EXPECT_EQ(actions[actions.size() - 2]->text(), "转换文件…");
        EXPECT_EQ(actions.last()->text(), "转换文件夹…");
    }
    EXPECT_TRUE(loads.empty());
    // A left click converts by phrases, loading s2t then.
    form->Text1->setPlainText(QStringLiteral("头发"));
    form->cmdft->click();
    EXPECT_EQ(form->workspaceText(), "頭髮");
    EXPECT_EQ(loads, std::vector<std::string>({"s2t"}));
}

TEST_F(PhraseWaysTest, EachWayConvertsByItsConfigurationAsOneUndoStep) {
    struct Case {
        QPushButton *button;
        const char *key;
        QString in;
    };
    const QString simplified = QStringLiteral("软件里的头发，U盘\n\n干杯𠮷");
    const QString traditional = QStringLiteral("軟體裡的頭髮，隨身碟\n\n乾杯𠮷");
    const Case cases[] = {
        {form->cmdft, "s2t", simplified},    {form->cmdft, "s2tw", simplified},
        {form->cmdft, "s2twp", simplified},  {form->cmdft, "s2hk", simplified},
        {form->cmdjt, "t2s", traditional},   {form->cmdjt, "tw2s", traditional},
        {form->cmdjt, "tw2sp", traditional}, {form->cmdjt, "hk2s", traditional},
        {form->cmdft, "s2hkp", simplified},  {form->cmdjt, "hk2sp", traditional},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        form->Text1->setPlainText(c.in);
        form->ways(c.button)->run(QString::fromLatin1(c.key));
        EXPECT_EQ(form->workspaceText(), byConfig(c.key, c.in));
        EXPECT_NE(form->workspaceText(), c.in);
        form->Text1->undo();
        EXPECT_EQ(form->workspaceText(), c.in);
        form->Text1->redo();
        EXPECT_EQ(form->workspaceText(), byConfig(c.key, c.in));
    }
    // s2twp's words differ from s2t's.
    EXPECT_NE(byConfig("s2t", simplified), byConfig("s2twp", simplified));
}

TEST_F(PhraseWaysTest, DefaultWayByPhrasesRunsOnLeftClick) {
    form->ways(form->cmdft)->setDefault(QStringLiteral("s2t"));
    form->Text1->setPlainText(QStringLiteral("头发") + QChar(0xD800) + QStringLiteral("头发"));
    form->cmdft->click();
    // A lone surrogate, which no dictionary can hold, stays between the converted words.
    EXPECT_EQ(form->workspaceText(), QStringLiteral("頭髮") + QChar(0xD800) + QStringLiteral("頭髮"));
    EXPECT_EQ(loads, std::vector<std::string>({"s2t"}));
    form->cmdft->click();
    EXPECT_EQ(loads.size(), 1u);
}

TEST_F(PhraseWaysTest, AConfigurationThatCannotLoadIsDisabledAndNamed) {
    failing = {"s2tw"};
    emit form->ways(form->cmdft)->menu()->aboutToShow();
    // Opening the menu asks about every phrase way but builds none.
    EXPECT_GT(probes, 0);
    EXPECT_TRUE(loads.empty());
    QAction *s2tw = entry(form->cmdft, QStringLiteral("s2tw"));
    ASSERT_TRUE(s2tw);
    EXPECT_FALSE(s2tw->isEnabled());
    EXPECT_EQ(s2tw->toolTip(), "无法载入 /x/s2tw.json");
    EXPECT_TRUE(entry(form->cmdft, QStringLiteral("s2t"))->isEnabled());
    form->Text1->setPlainText(QStringLiteral("头发"));
    form->ways(form->cmdft)->run(QStringLiteral("s2tw"));
    EXPECT_EQ(form->workspaceText(), "头发");
    form->ways(form->cmdft)->run(QStringLiteral("s2t"));
    EXPECT_EQ(form->workspaceText(), "頭髮");
    // Once its files are there, the same entry works.
    failing.clear();
    emit form->ways(form->cmdft)->menu()->aboutToShow();
    EXPECT_TRUE(s2tw->isEnabled());
    form->ways(form->cmdft)->run(QStringLiteral("s2tw"));
    EXPECT_EQ(form->workspaceText(), byConfig("s2tw", QStringLiteral("头发")));
}

} // namespace
