#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace marventa {

// The search text a list box collects from typed characters. A pause longer than the interval
// starts a new search text.
class TypeAhead {
  public:
    explicit TypeAhead(int intervalMs) : intervalMs_(intervalMs) {}

    // Adds typed text at a time in milliseconds; returns the whole search text.
    const QString& type(const QString& text, qint64 nowMs);
    // Drops the last character (after a pause, the text is already empty); returns what is left.
    const QString& backspace(qint64 nowMs);

    const QString& text() const { return text_; }

  private:
    void expire(qint64 nowMs);

    int intervalMs_;
    QString text_;
    std::optional<qint64> lastKeyMs_;
};

// The first row that starts with the search text, ignoring case.
std::optional<int> firstRowStartingWith(const QStringList& rows, const QString& text);

}  // namespace marventa
