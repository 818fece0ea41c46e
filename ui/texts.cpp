#include "texts.h"

#include <QStringList>

namespace marventa {

namespace {

constexpr QLatin1String kContactAddress("maps@example.org");

}  // namespace

QString lorestonesGuide() {
    return QStringList{
        QStringLiteral("Lorestones are the old standing"),
        QStringLiteral("stones of Marventa."),
        QStringLiteral("A Heavenly Lorestone blesses"),
        QStringLiteral("only travellers whose Fame and"),
        QStringLiteral("Infame differ by at least the"),
        QStringLiteral("amount shown under Effects."),
        QStringLiteral("A Natalsign Lorestone answers"),
        QStringLiteral("those born under its sign and"),
        QStringLiteral("lends its gift until dawn."),
        QStringLiteral("Pick a kind on the Extras page,"),
        QStringLiteral("then a stone: its place shows"),
        QStringLiteral("on the map, its gifts below."),
    }
        .join(QLatin1Char('\n'));
}

QString mapInfo() {
    return QStringList{
        QStringLiteral("Interactive Map of Marventa"),
        QStringLiteral("[version 1.5]"),
        QStringLiteral("drawn by Maren Holloway"),
        QString(),
        QStringLiteral("Exclusive for"),
        QStringLiteral("The Wayfarers of Marventa"),
        QStringLiteral("[www.marventa.example]"),
        QString(),
        QStringLiteral("Contact, clues, opinions:"),
        QString(kContactAddress),
        QStringLiteral("tested by Pell Ashgrove"),
        QString(),
        QStringLiteral("Free to share, not to sell."),
    }
        .join(QLatin1Char('\n'));
}

QString startingMapCaption() {
    return QStringLiteral("Map of Marventa v1.5");
}

QString contactCaption() {
    return QStringLiteral("contact: ") + kContactAddress + QStringLiteral("        ");
}

}  // namespace marventa
