#include <gtest/gtest.h>

#include "ui/placement.h"
#include "ui/type_ahead.h"

namespace marventa {
namespace {

TEST(TypeAhead, CollectsKeysUntilAPauseLongerThanTheInterval) {
    TypeAhead search(500);
    EXPECT_EQ(search.type(QStringLiteral("c"), 0), QStringLiteral("c"));
    EXPECT_EQ(search.type(QStringLiteral("a"), 300), QStringLiteral("ca"));
    EXPECT_EQ(search.type(QStringLiteral("v"), 800), QStringLiteral("cav"));  // 500 apart: kept
    EXPECT_EQ(search.type(QStringLiteral("m"), 1301), QStringLiteral("m"));   // 501: new text
}

TEST(TypeAhead, BackspaceDropsOneCharacterAndAfterAPauseLeavesNothing) {
    TypeAhead search(500);
    search.type(QStringLiteral("in"), 0);
    EXPECT_EQ(search.backspace(100), QStringLiteral("i"));
    EXPECT_EQ(search.backspace(200), QString());
    EXPECT_EQ(search.backspace(300), QString());

    search.type(QStringLiteral("mine"), 400);
    EXPECT_EQ(search.backspace(2000), QString());
}

TEST(TypeAhead, FindsTheFirstRowStartingWithTheTextIgnoringCase) {
    const QStringList rows{QStringLiteral("Amber Cave"), QStringLiteral("Ash Hollow"),
                           QStringLiteral("ashen gate"), QStringLiteral("Brook")};
    EXPECT_EQ(firstRowStartingWith(rows, QStringLiteral("as")), 1);
    EXPECT_EQ(firstRowStartingWith(rows, QStringLiteral("ASHE")), 2);
    EXPECT_EQ(firstRowStartingWith(rows, QStringLiteral("b")), 3);
    EXPECT_EQ(firstRowStartingWith(rows, QString()), 0);
    EXPECT_EQ(firstRowStartingWith(rows, QStringLiteral("Cave")), std::nullopt);
    EXPECT_EQ(firstRowStartingWith({}, QStringLiteral("a")), std::nullopt);
}

TEST(Placement, CentresOnTheVirtualDesktopButNeverBeforeItsCorner) {
    const QSize window(846, 648);
    EXPECT_EQ(centredTopLeft(QRect(0, 0, 1280, 1024), window), QPoint(217, 188));
    EXPECT_EQ(centredTopLeft(QRect(0, 0, 2560, 1024), window), QPoint(857, 188));  // two screens
    EXPECT_EQ(centredTopLeft(QRect(-1280, 0, 2560, 1024), window), QPoint(-423, 188));
    EXPECT_EQ(centredTopLeft(QRect(0, 0, 800, 600), window), QPoint(0, 0));
    EXPECT_EQ(centredTopLeft(QRect(0, 0, 847, 651), window), QPoint(0, 1));
}

}  // namespace
}  // namespace marventa
