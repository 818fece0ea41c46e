#include "application.h"

#include <QFileInfo>
#include <exception>

#include "accessibility.h"
#include "fonts.h"
#include "scaled_text.h"

namespace marventa {

namespace {

// A desktop scaled by a fraction (125 %, 150 %) is treated as the nearest whole factor, so each
// map pixel covers a whole square of screen pixels. Must be set before the application exists.
int& withWholeScaleFactors(int& argc) {
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Round);
    return argc;
}

}  // namespace

Application::Application(int& argc, char** argv)
    : QApplication(withWholeScaleFactors(argc), argv),
      title_(applicationTitle(QFileInfo(applicationFilePath()).fileName())) {
    setApplicationName(title_);
    // The layout's pixel sizes assume Fusion's metrics (scroll bars 14 pixels thick); its texts
    // stay sharp at every scale.
    setStyle(new TextStyle);
    installFonts();
    installAccessibility();
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
