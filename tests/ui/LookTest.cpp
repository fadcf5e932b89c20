// The colour and placement rules the window applies, as tables: no window needed.

#include <QTest>

#include "window/Colours.h"
#include "window/Placement.h"

using namespace korvel::window;

// A look as "base outline framed edge", the colours to the 8 bits a screen shows.
static QString shown(const BoxLook& look) {
    const auto name = [](const QColor& c) { return c.isValid() ? c.name() : QStringLiteral("-"); };
    return name(look.base) + ' ' + name(look.outline) + (look.framed ? " framed " : " flat ") +
           name(look.edge);
}

class LookTest : public QObject {
    Q_OBJECT

private slots:
    // Marks and results stay readable and apart from the boxes to type in, in every palette: by
    // their fill where a fill keeps the text at 4.5 : 1, else by an outline or by having no frame.
    // The boxes to type in, marked or not, stand 3 : 1 from the window at their edge.
    void boxesInEveryPalette() {
        const QColor white("#ffffff"), none;
        // clang-format off
        const struct { const char* name; BoxPalette p; QColor edge, marked, result, outline; bool framed; }
        rows[] = {
            {"light", {white, "#000000", "#efefef"}, "#787878", "#ffd7a6", "#efefef", none, true},
            {"dark", {"#2d2d2d", "#eeeeec", "#353535"}, "#7f7f7e", "#774e1d", "#353535", none, true},
            {"high contrast", {"#000000", "#ffffff", "#000000"}, "#666666", "#593100", "#1f1f1f", none, true},
            {"grey", {"#808080", "#000000", "#808080"}, "#333333", "#ac8453", "#939393", none, true},
            {"tint stops early", {white, "#6e6e6e", "#efefef"}, "#7b7b7b", "#fff4e6", white, none, false},
            {"no tint reads", {white, "#767676", "#efefef"}, "#828282", white, white, "#995400", false},
            {"text box as window", {white, "#000000", white}, "#808080", "#ffd7a6", "#e0e0e0", none, true},
            {"qt6ct airy", {"#c8c8c8", "#0a0a0a", white}, "#858585", "#dbb382", white, none, true},
            {"qt6ct darker", {"#3d3d3d", white, "#222020"}, "#7a7979", "#815928", "#222020", none, true},
            {"qt6ct dusk", {"#7f7f7f", "#000000", "#7f7f7f"}, "#262626", "#ac8453", "#929292", none, true},
            {"qt6ct ia_ora", {"#eff3f7", "#000000", "#eff3f7"}, "#787a7c", "#f5cfa1", "#d2d6d9", none, true},
            {"qt6ct sand", {"#ffffdc", "#000000", "#ffffdc"}, "#80806e", "#ffd78f", "#e0e0c2", none, true},
            {"qt6ct simple", {white, "#000000", "#efebe7"}, "#787674", "#ffd7a6", "#efebe7", none, true},
            {"qt6ct waves", {"#010b2c", "#b0b0b0", "#010b2c"}, "#6a6e7b", "#5a381d", "#161f3c", none, true},
            {"dim", {"#232323", "#8c8c8c", "#3c3c3c"}, "#8c8c8c", "#232323", "#232323", "#ff981a", false},
        };
        // clang-format on
        for (const auto& row : rows) {
            const BoxPalette& p = row.p;
            const BoxLook input = boxLook(p, BoxRole::Input, Marking::Plain);
            const BoxLook marked = boxLook(p, BoxRole::Input, Marking::Marked);
            const BoxLook result = boxLook(p, BoxRole::Result, Marking::Plain);
            QCOMPARE(shown(input), shown({p.base, none, true, row.edge}));
            QCOMPARE(shown(marked), shown({row.marked, row.outline, true, row.edge}));
            QCOMPARE(shown(boxLook(p, BoxRole::Result, Marking::Marked)), shown(marked));
            QCOMPARE(shown(result), shown({row.result, none, row.framed, none}));
            QVERIFY2(contrast(marked.base, p.text) >= 4.5 && contrast(result.base, p.text) >= 4.5, row.name);
            const QColor outline = row.outline.isValid() ? row.outline : row.edge;  // also from the base
            QVERIFY2(contrast(row.edge, p.window) >= 3 && contrast(outline, p.window) >= 3, row.name);
            QVERIFY2(!row.outline.isValid() || contrast(outline, p.base) >= 3, row.name);
        }
    }

    // The reason's colours: the first of the palette's pairs that reads at 4.5 : 1.
    void reasonReadsInEveryPalette() {
        const TextColours hardly{"#5e5e5e", "#b0b0b0"}, grey{"#767676", "#efefef"};  // 2.9 and 4.0 : 1
        const TextColours dark{"#ffffff", "#353535"}, light{"#000000", "#fffffe"};
        QCOMPARE(reasonColours(dark, hardly, light).background, dark.background);
        QCOMPARE(reasonColours(hardly, dark, light).background, dark.background);
        QCOMPARE(reasonColours(hardly, grey, light).background, light.background);
        QCOMPARE(reasonColours(hardly, grey, hardly).background, QColor(Qt::white));
    }

    // Level with the box, inside the window's width where it fits, on the screen always; below the window
    // or above it where the screen has room, else below the box or, where only there it fits, above it.
    void reasonPlaces() {
        const QRect window(0, 0, 537, 250), screen(0, 0, 1920, 1080);
        // clang-format off
        const struct { const char* name; QRect box; QSize size; QRect window, screen; QPoint at; } rows[] = {
            {"below the window", {100, 100, 50, 20}, {200, 30}, window, screen, {100, 250}},
            {"moved left into the window", {400, 100, 50, 20}, {300, 30}, window, screen, {237, 250}},
            {"large font, wider than the window", {400, 100, 50, 20}, {600, 100}, window, screen, {0, 250}},
            {"no room below", {100, 1050, 50, 20}, {200, 30}, {0, 900, 537, 250}, screen, {100, 870}},
            {"window off the screen", {-150, 100, 50, 20}, {200, 30}, {-200, 0, 537, 250}, screen, {0, 250}},
            {"off the right edge", {1850, 100, 50, 20}, {200, 30}, {1800, 0, 537, 250}, screen, {1720, 250}},
            {"just fits below the window", {0, 40, 50, 20}, {200, 30}, window, {0, 0, 800, 280}, {0, 250}},
            {"fits above the window", {0, 70, 50, 20}, {200, 30}, {0, 30, 537, 250}, {0, 0, 800, 280}, {}},
            {"room nowhere, alike: below", {0, 40, 50, 20}, {200, 90}, window, {0, 0, 800, 100}, {0, 10}},
            {"just fits below", {0, 50, 50, 20}, {200, 29}, window, {0, 0, 800, 100}, {0, 71}},
            {"room nowhere, more above", {0, 41, 50, 19}, {200, 90}, window, {0, 0, 800, 100}, {0, 0}},
            {"fits only above the box", {0, 220, 50, 20}, {200, 30}, window, {0, 0, 800, 260}, {0, 189}},
        };
        // clang-format on
        for (const auto& row : rows)
            QVERIFY2(reasonPlace(row.box, row.size, row.window, row.screen) == row.at, row.name);
    }
};

QTEST_APPLESS_MAIN(LookTest)
#include "LookTest.moc"
