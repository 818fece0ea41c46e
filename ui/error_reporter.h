#pragma once

#include <QString>

namespace marventa {

// Shows an error that escaped an event. The application owns one; tests inject a recorder.
class ErrorReporter {
  public:
    virtual ~ErrorReporter() = default;
    virtual void report(const QString& title, const QString& text) = 0;
};

// The real one: a modal message box with a stop icon.
class MessageBoxReporter : public ErrorReporter {
  public:
    void report(const QString& title, const QString& text) override;
};

// The application's title: the program file's name up to its first full stop, every character
// after the first in lower case ("marventa.bin" -> "marventa", "MAP.EXE" -> "Map").
QString applicationTitle(const QString& programFileName);

// The box's text: the message with a full stop appended when its last character sorts after
// "." (so one ending in ".", "!" or a space gets none).
QString errorBoxText(const QString& message);

}  // namespace marventa
