#pragma once

#include <QApplication>
#include <exception>

#include "error_reporter.h"

namespace marventa {

// Shows an error once the event being handled is over, through the application's reporter.
void reportAfterEvent(const QString& message);

// Runs an operation that a widget event started. An error it raises abandons the operation
// where it stands and is shown after the event. It must not unwind through the toolkit: Qt's
// Gui and Widgets libraries are built without exceptions, so their frames would be skipped
// without running their destructors (leaks, and state such as a button's guard left behind).
template <class Operation>
void runOperation(Operation&& operation) noexcept {
    try {
        operation();
    } catch (const std::exception& error) {
        reportAfterEvent(QString::fromUtf8(error.what()));
    } catch (...) {
        reportAfterEvent(QStringLiteral("Unknown error"));
    }
}

// The application object: Fusion style, the window font, and one place that catches an error
// escaping any event handler, shows it through the reporter and lets the event loop go on.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    // Not owned; must outlive its use. The default shows a message box.
    void setErrorReporter(ErrorReporter* reporter);
    const QString& title() const { return title_; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows an error message through the reporter, titled with the application's title.
    void reportError(const QString& message);

  private:
    QString title_;
    MessageBoxReporter messageBox_;
    ErrorReporter* reporter_ = &messageBox_;
};

}  // namespace marventa
