#include "type_ahead.h"

namespace marventa {

void TypeAhead::expire(qint64 nowMs) {
    if (lastKeyMs_ && nowMs - *lastKeyMs_ > intervalMs_) {
        text_.clear();
    }
    lastKeyMs_ = nowMs;
}

const QString& TypeAhead::type(const QString& text, qint64 nowMs) {
    expire(nowMs);
    text_ += text;
    return text_;
}

const QString& TypeAhead::backspace(qint64 nowMs) {
    expire(nowMs);
    text_.chop(1);
    return text_;
}

std::optional<int> firstRowStartingWith(const QStringList& rows, const QString& text) {
    for (qsizetype row = 0; row < rows.size(); ++row) {
        if (rows[row].startsWith(text, Qt::CaseInsensitive)) {
            return static_cast<int>(row);
        }
    }
    return std::nullopt;
}

}  // namespace marventa
