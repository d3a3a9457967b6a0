#include "ui/layout.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using P = ui::LayoutMove::Property;

std::map<std::pair<std::string, P>, float> finalValues(const ui::LayoutPass &pass) {
    std::map<std::pair<std::string, P>, float> values;
    for (const auto &m : pass.moves)
        values[{std::string(m.control), m.property}] = m.twips;
    return values;
}

TEST(Layout, FiguresForA6300By7500Window) {
    const auto v = finalValues(ui::layoutPass(6300, 7500, 15));
    struct Expect {
        const char *control;
        P property;
        float twips;
    };
    const Expect expected[] = {
        {"Frame1", P::Left, 100},
        {"Frame1", P::Top, 5500},
        {"Text1", P::Left, 50},
        {"Text1", P::Top, 50},
        {"Text1", P::Width, 4800},
        {"Text1", P::Height, 5300},
        {"cmdtol", P::Left, 4920},
        {"cmdtos", P::Left, 5520},
        {"cmdft", P::Left, 5520},
        {"cmdend", P::Left, 4920},
        {"CmdGetPY", P::Left, 4920},
        {"Check1", P::Left, 4920},
        // Text1's height is held as 353 pixels, read back as 5295 twips.
        {"cmdabout", P::Top, 4095},
        {"Check1", P::Top, 4495},
        {"cmdend", P::Top, 4935},
        {"cmdtos", P::Top, 600},
        {"cmdmoney", P::Top, 1100},
        {"cmdclear", P::Top, 2100},
        {"cmdcopy", P::Top, 2500},
        {"cmdpaste", P::Top, 3000},
        {"cmdjt", P::Top, 100},
        {"cmdft", P::Top, 100},
    };
    for (const auto &e : expected) {
        SCOPED_TRACE(e.control);
        EXPECT_EQ((v.at({e.control, e.property})), e.twips);
    }
    EXPECT_EQ(v.count({"cmdtol", P::Top}), 0u);
    EXPECT_EQ(v.count({"CmdGetPY", P::Top}), 0u);
    EXPECT_EQ(ui::layoutPass(6300, 7500, 15).moves.size(), 28u);
}

TEST(Layout, MinimumSizeStep) {
    struct Case {
        float width, height;
        std::optional<float> newHeight, newWidth;
    };
    const Case cases[] = {
        {6300, 7500, {}, {}},   {6260, 7125, {}, {}}, // exactly the minimum: strict comparisons
        {6000, 8000, {}, 6260},                       // widened, keeps its height
        {5000, 5000, 7125, {}},                       // height first; the nested pass widens
        {6255, 7125, {}, 6260}, // 417 pixels read back as 6255: asked again, same pixels
        {1000, 1000, 7125, {}}, // below 1500 x 2200: no negative workspace
        {0, 0, 7125, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const auto pass = ui::layoutPass(c.width, c.height, 15);
        EXPECT_EQ(pass.newHeight, c.newHeight);
        EXPECT_EQ(pass.newWidth, c.newWidth);
        const auto v = finalValues(pass);
        EXPECT_GE((v.at({"Text1", P::Width})), 0);
        EXPECT_GE((v.at({"Text1", P::Height})), 0);
    }
    EXPECT_EQ(ui::heldInPixels(6260, 15), 6255);
    EXPECT_EQ(ui::heldInPixels(5300, 15), 5295);
}

} // namespace
