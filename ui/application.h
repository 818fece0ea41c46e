#pragma once

#include <QApplication>

#include "error_reporter.h"

namespace marventa {

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
