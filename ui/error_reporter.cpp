#include "error_reporter.h"

#include <QMessageBox>

namespace marventa {

void MessageBoxReporter::report(const QString& title, const QString& text) {
    QMessageBox::critical(nullptr, title, text);
}

QString applicationTitle(const QString& programFileName) {
    // The first character stays as it is; only the rest is lowered.
    const QString stem = programFileName.section(QLatin1Char('.'), 0, 0);
    return stem.left(1) + stem.mid(1).toLower();
}

QString errorBoxText(const QString& message) {
    if (!message.isEmpty() && message.back() > QLatin1Char('.')) {
        return message + QLatin1Char('.');
    }
    return message;
}

}  // namespace marventa
