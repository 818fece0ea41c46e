#include "error_reporter.h"

#include <QMessageBox>

namespace marventa {

void MessageBoxReporter::report(const QString& title, const QString& text) {
    QMessageBox::critical(nullptr, title, text);
}

QString applicationTitle(const QString& programFileName) {
    const QString stem = programFileName.section(QLatin1Char('.'), 0, 0);
    if (stem.isEmpty()) {
        return stem;
    }
    return stem.left(1).toUpper() + stem.mid(1).toLower();
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

}  // namespace marventa
