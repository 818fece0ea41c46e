#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyleOptionButton>
#include <algorithm>
#include <cmath>
#include <optional>

#include "tests/support/window/window_fixture.h"

namespace marventa {
namespace {

// Where the text in part of a picture has ink, in logical pixels, and the widest run of blank
// columns between its first and last ink (the gap between words, or between glyphs drawn too
// far apart).
struct Ink {
    qreal left = 0;
    qreal width = 0;
    qreal top = 0;
    qreal height = 0;
    qreal widestGap = 0;
};

std::optional<Ink> inkIn(const QImage& picture, const QRect& logical) {
    const qreal ratio = picture.devicePixelRatio();
    const QRect area(QPoint(static_cast<int>(std::ceil(logical.left() * ratio)),
                            static_cast<int>(std::ceil(logical.top() * ratio))),
                     QPoint(static_cast<int>(std::floor((logical.right() + 1) * ratio)) - 1,
                            static_cast<int>(std::floor((logical.bottom() + 1) * ratio)) - 1));
    std::vector<bool> inkColumns(static_cast<std::size_t>(area.width()), false);
    int top = area.bottom() + 1;
    int bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(picture.pixel(x, y)) < 128) {  // dark text on a light face
                inkColumns[static_cast<std::size_t>(x - area.left())] = true;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    const auto first = std::find(inkColumns.begin(), inkColumns.end(), true);
    if (first == inkColumns.end()) {
        return std::nullopt;
    }
    const auto last = std::find(inkColumns.rbegin(), inkColumns.rend(), true).base();
    int widestGap = 0;
    for (auto column = first; column != last;) {
        const auto gapEnd = std::find(column, last, true);
        widestGap = std::max(widestGap, static_cast<int>(gapEnd - column));
        column = std::find(gapEnd, last, false);
    }
    return Ink{(area.left() + (first - inkColumns.begin())) / ratio,
               static_cast<qreal>(last - first) / ratio, top / ratio, (bottom - top + 1) / ratio,
               widestGap / ratio};
}

// The widget as it is drawn on a device of the given pixel ratio, on the window's face colour.
QImage drawnAt(QWidget& widget, qreal ratio) {
    const QSize size = widget.size() * ratio;
    QImage picture(size, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(widget.palette().color(QPalette::Window));
    widget.render(&picture, {}, {}, QWidget::DrawChildren);
    return picture;
}

QRect captionArea(const RadioButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_RadioButtonContents, &option, &button);
}

// A text drawn at `scaled` keeps the extent, the glyph height and the spacing it has at 1.
void expectSameInk(const QImage& designed, const QImage& scaled, const QRect& area,
                   const QString& what) {
    const std::optional<Ink> reference = inkIn(designed, area);
    const std::optional<Ink> drawn = inkIn(scaled, area);
    ASSERT_TRUE(reference.has_value()) << what.toStdString();
    ASSERT_TRUE(drawn.has_value())
        << what.toStdString() << " has no ink at " << scaled.devicePixelRatio();
    const qreal ratio = scaled.devicePixelRatio();
    const std::string at = what.toStdString() + " at " + std::to_string(ratio);
    EXPECT_NEAR(drawn->width, reference->width, 1.0) << at;
    // Where an edge falls may differ by one more device pixel, to which it is rounded.
    const qreal edge = 1.0 + 1.0 / ratio;
    EXPECT_NEAR(drawn->left, reference->left, edge) << at;
    EXPECT_NEAR(drawn->height, reference->height, 1.0) << at;
    EXPECT_NEAR(drawn->top, reference->top, edge) << at;
    EXPECT_LE(drawn->widestGap, reference->widestGap + edge) << at;
}

using TextScaleTest = WindowTest;

// On the screen the test runs on (QT_SCALE_FACTOR), each category button's caption spans the
// width it has in the designed face at 1, with its glyphs as tall and as close.
TEST_F(TextScaleTest, RadioCaptionsKeepTheirDesignedWidthHeightAndSpacing) {
    for (int n = 1; n <= 10; ++n) {
        RadioButton& button = ui().radioButton(n);
        expectSameInk(drawnAt(button, 1), button.grab().toImage(), captionArea(button),
                      button.text());
    }
}

// The tab captions, a group caption, a list row and a status panel: all the kinds of text the
// panel draws, on the screen and on a device of every other ratio the desktop may change to
// while the window is open (nothing tells the window; the paint decides).
TEST_F(TextScaleTest, EveryKindOfTextFollowsTheDeviceItIsDrawnOn) {
    clickRadio(9);  // Caves: the list gets its rows
    ListBox& list = *ui().ListBox1;
    QWidget& tabs = ui().TabbedNotebook1->tabStrip();
    QWidget& status = ui().StatusBar1->panel(1);
    QWidget& group = *ui().GroupBox3;
    const QRect row = list.visualItemRect(list.item(0));

    const QImage designedRow = drawnAt(*list.viewport(), 1);
    const QImage designedTabs = drawnAt(tabs, 1);
    const QImage designedStatus = drawnAt(status, 1);
    const QImage designedGroup = drawnAt(group, 1);
    for (const qreal ratio : {list.devicePixelRatio(), 1.25, 1.5, 2.0}) {
        expectSameInk(designedRow, drawnAt(*list.viewport(), ratio), row, list.item(0)->text());
        for (int tab = 0; tab < 4; ++tab) {
            const QRect caption =
                ui().TabbedNotebook1->tabStrip().tabRect(tab).adjusted(2, 3, -2, -2);
            expectSameInk(designedTabs, drawnAt(tabs, ratio), caption,
                          QStringLiteral("tab %1").arg(tab));
        }
        expectSameInk(designedStatus, drawnAt(status, ratio),
                      static_cast<QLabel&>(status).contentsRect(),
                      QStringLiteral("status panel 1"));
        expectSameInk(designedGroup, drawnAt(group, ratio), QRect(0, 0, 190, 14),
                      QStringLiteral("Choose Type"));
    }
}

// The number of lines of text in a picture: bands of rows with ink, apart by blank rows.
int linesOfInk(const QImage& picture) {
    int lines = 0;
    bool inLine = false;
    for (int y = 0; y < picture.height(); ++y) {
        bool ink = false;
        for (int x = 0; x < picture.width() && !ink; ++x) {
            ink = qGray(picture.pixel(x, y)) < 128;
        }
        lines += ink && !inLine;
        inLine = ink;
    }
    return lines;
}

// The read-only texts are laid out by a text document: at every ratio, however often it changes
// back and forth, their lines keep their height and every line the designed face shows is shown.
TEST_F(TextScaleTest, MemoLinesKeepTheirHeightAndAllFitWhenTheRatioChanges) {
    clickTab(3);
    for (QPlainTextEdit* memo : {ui().Memo1, ui().Memo2}) {
        QWidget& text = *memo->viewport();
        const QImage designed = drawnAt(text, 1);
        const QRect firstLine(0, 0, text.width(), 14);
        const std::optional<Ink> reference = inkIn(designed, firstLine);
        ASSERT_TRUE(reference.has_value());
        for (const qreal ratio : {2.0, 1.0, 1.5, 1.0, 1.25}) {
            const QImage drawn = drawnAt(text, ratio);
            const std::optional<Ink> line = inkIn(drawn, firstLine);
            ASSERT_TRUE(line.has_value()) << ratio;
            EXPECT_NEAR(line->height, reference->height, 1.0) << ratio;
            EXPECT_NEAR(line->top, reference->top, 1.0 + 1.0 / ratio) << ratio;
            EXPECT_LE(line->widestGap, reference->widestGap + 1.0 + 1.0 / ratio) << ratio;
            EXPECT_EQ(linesOfInk(drawn), linesOfInk(designed))
                << memo->objectName().toStdString() << " at " << ratio;
        }
    }
}

}  // namespace
}  // namespace marventa
