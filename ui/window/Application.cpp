#include "ui/window/Application.h"

#include <QApplication>
#include <QStyleFactory>

// Resources of a static library are linked in only when named.
static void initIconResource() { Q_INIT_RESOURCE(icon); }

namespace korvel::window {

QFont captionFont() {
    QFont font(QString::fromLatin1(kFontFamily));
    font.setPixelSize(kFontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

QIcon programIcon() {
    initIconResource();
    QIcon icon;
    for (const char* size : {"16", "32", "64"}) {
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(QLatin1String(size)));
    }
    return icon;
}

NumberFormat numberFormatOf(const QLocale& locale) {
    // Any separator other than these two (one that is not ASCII, say) could clash with the
    // number grammar, so it falls back to the point.
    return NumberFormat{locale.decimalPoint() == QLatin1String(",") ? ',' : '.'};
}

void setUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("korvel-video-setup"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvel.VideoSetup"));
    // One style everywhere, so the measured fit of every caption holds on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(captionFont());
    app.setWindowIcon(programIcon());
}

}  // namespace korvel::window
