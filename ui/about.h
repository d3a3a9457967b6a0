#pragma once

// The About box that Vesk's Web opens: the program's version and licence, every data source built
// into it or read by it with its licence and attribution, and the homepage as a link.

#include "platform/desktop.h"

#include <QDialog>
#include <QString>

#include <array>

class QLabel;

namespace ui {

// One data source the program carries or reads.
struct DataSource {
    const char *name;        // as its makers name it
    const char *use;         // what the program takes from it
    const char *licence;     // SPDX identifier
    const char *attribution; // its makers, and what it credits
};

inline constexpr std::array<DataSource, 6> kDataSources{{
    {"OpenCC", "简繁转换的字典与配置（OpenCC 1.4.1 的数据，内置）", "Apache-2.0",
     "© Carbo Kuo (BYVoid) 与 OpenCC 贡献者"},
    {"Terra Pinyin", "字与词的读音及其频率（rime-data-terra-pinyin）", "LGPL-3.0",
     "© GONG Chen, Kunki Chiu；收录 CC-CEDICT（MDBG）、Chewing、OpenCC、Android Pinyin IME、moedict.tw 的数据"},
    {"pinyin_simp", "简体词的读音与权重，定多音字之音（rime-data-pinyin-simp）", "Apache-2.0",
     "© GONG Chen，源自 Android Pinyin IME"},
    {"Unihan", "汉字的标准读音与读音频率（unicode-data），已改写", "Unicode-DFS-2016", "© 1991-2022 Unicode, Inc."},
    {"jieba", "词频，用于切分词语（python3-jieba）", "MIT", "© 2012-2017 Sun Junyi"},
    {"CPP 多音字标注语料", "人工标注读音的多音字例句，用于训练多音字的读音", "Apache-2.0",
     "Kyubyong Park, Seanie Lee: A Neural Grapheme-to-Phoneme Conversion Package for Mandarin Chinese "
     "Based on a New Open Benchmark Dataset, Interspeech 2020"},
}};

// The box's text, rich text: `version`, the licence, the data sources, the homepage link.
QString aboutText(const QString &version);

class AboutBox : public QDialog {
    Q_OBJECT
public:
    // The homepage link opens through `pages`.
    AboutBox(platform::PageOpener &pages, QWidget *parent);
    QLabel *text() const { return m_text; }

private:
    QLabel *m_text = nullptr;
};

} // namespace ui
