// The colour and placement rules the window applies, as tables: no window needed.

#include <QTest>

#include "window/Colours.h"
#include "window/Placement.h"

using namespace korvel::window;

// A look as "base outline framed", the colours to the 8 bits a screen shows.
static QString shown(const BoxLook& look) {
    const auto name = [](const QColor& c) { return c.isValid() ? c.name() : QStringLiteral("-"); };
    return name(look.base) + ' ' + name(look.outline) + (look.framed ? " framed" : " flat");
}

class LookTest : public QObject {
    Q_OBJECT

private slots:
    // Marks and results stay readable and apart from the boxes to type in, in every palette: by
    // their fill where a fill keeps the text at 4.5 : 1, else by an outline or by having no frame.
    void boxesInEveryPalette() {
        const QColor white("#ffffff");
        const QColor none;
        // clang-format off
        const struct { const char* name; BoxPalette p; QColor marked, result, edge; bool framed; } rows[] = {
            {"light", {white, "#000000", "#efefef"}, "#ffd7a6", "#efefef", none, true},
            {"dark", {"#2d2d2d", "#eeeeec", "#353535"}, "#774e1d", "#353535", none, true},
            {"high contrast", {"#000000", "#ffffff", "#000000"}, "#593100", "#1f1f1f", none, true},
            {"grey", {"#808080", "#000000", "#808080"}, "#ac8453", "#939393", none, true},
            {"tint stops early", {white, "#6e6e6e", "#efefef"}, "#fff4e6", white, none, false},
            {"no tint reads", {white, "#767676", "#efefef"}, white, white, "#c8832f", false},
        };
        // clang-format on
        for (const auto& row : rows) {
            const BoxPalette& p = row.p;
            const BoxLook input = boxLook(p, BoxRole::Input, Marking::Plain);
            const BoxLook marked = boxLook(p, BoxRole::Input, Marking::Marked);
            const BoxLook result = boxLook(p, BoxRole::Result, Marking::Plain);
            QCOMPARE(shown(input), shown({p.base, none, true}));
            QCOMPARE(shown(marked), shown({row.marked, row.edge, true}));
            QCOMPARE(shown(boxLook(p, BoxRole::Result, Marking::Marked)), shown(marked));
            QCOMPARE(shown(result), shown({row.result, none, row.framed}));
            for (const BoxLook& look : {marked, result})
                QVERIFY2(contrast(look.base, p.text) >= 4.5, row.name);
            QVERIFY2(!row.edge.isValid() || contrast(row.edge, p.base) >= 3, row.name);
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

    // Below the box, inside the window's width where it fits, on the screen always, above the box
    // where only there it fits.
    void reasonPlaces() {
        const QRect window(0, 0, 537, 250);
        const QRect screen(0, 0, 1920, 1080);
        // clang-format off
        const struct { const char* name; QRect box; QSize size; QRect window, screen; QPoint at; } rows[] = {
            {"below", {100, 100, 50, 20}, {200, 30}, window, screen, {100, 121}},
            {"moved left into the window", {400, 100, 50, 20}, {300, 30}, window, screen, {237, 121}},
            {"large font, wider than the window", {400, 100, 50, 20}, {600, 100}, window, screen, {0, 121}},
            {"no room below", {100, 1050, 50, 20}, {200, 30}, {0, 900, 537, 250}, screen, {100, 1019}},
            {"window off the screen", {-150, 100, 50, 20}, {200, 30}, {-200, 0, 537, 250}, screen, {0, 121}},
            {"off the right edge", {1850, 100, 50, 20}, {200, 30}, {1800, 0, 537, 250}, screen, {1720, 121}},
            {"room nowhere, alike: below", {0, 40, 50, 20}, {200, 90}, window, {0, 0, 800, 100}, {0, 10}},
            {"just fits below", {0, 50, 50, 20}, {200, 29}, window, {0, 0, 800, 100}, {0, 71}},
            {"room nowhere, more above", {0, 60, 50, 20}, {200, 90}, window, {0, 0, 800, 100}, {0, 0}},
        };
        // clang-format on
        for (const auto& row : rows)
            QVERIFY2(reasonPlace(row.box, row.size, row.window, row.screen) == row.at, row.name);
    }
};

QTEST_APPLESS_MAIN(LookTest)
#include "LookTest.moc"
