#include "application.h"

#include <QFileInfo>
#include <exception>

#include "fonts.h"

namespace marventa {

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv),
      title_(applicationTitle(QFileInfo(applicationFilePath()).fileName())) {
    setApplicationName(title_);
    // The layout's pixel sizes assume Fusion's metrics (scroll bars 14 pixels thick).
    setStyle(QStringLiteral("Fusion"));
    installFonts();
    setFont(sansSerifFont(11));
}

void Application::setErrorReporter(ErrorReporter* reporter) {
    reporter_ = reporter != nullptr ? reporter : &messageBox_;
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        reportError(QString::fromUtf8(error.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown error"));
    }
    return false;
}

void Application::reportError(const QString& message) {
    reporter_->report(title_, errorBoxText(message));
}

void reportAfterEvent(const QString& message) {
    auto* app = dynamic_cast<Application*>(QCoreApplication::instance());
    if (app == nullptr) {
        qWarning("%s", qUtf8Printable(message));
        return;
    }
    QMetaObject::invokeMethod(
        app, [app, message] { app->reportError(message); }, Qt::QueuedConnection);
}

}  // namespace marventa
