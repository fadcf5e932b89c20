#include "window/Application.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QStyle>
#include <QStyleFactory>
#include <string_view>

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
    // Built once: the application's icon, once set, is this one.
    if (!QGuiApplication::windowIcon().isNull()) return QGuiApplication::windowIcon();
    initIconResource();
    QIcon icon;
    for (int size : {16, 32, 64}) {
        // Plain pixels (scripts/make-icons.sh writes them beside the PNGs): reading a PNG would
        // first load and ask every image-format plugin, then page in the PNG decoder.
        const QResource pixels(QStringLiteral(":/icons/%1.rgba").arg(size));
        if (pixels.compressionAlgorithm() != QResource::NoCompression ||
            pixels.size() != qint64{size} * size * 4) {
            continue;  // a resource built wrongly: better no icon than a garbled one
        }
        // Packed here into the format the X icon property takes, and kept in it: Qt's own
        // conversions would start its thread pool and page in its converters for 5,376 pixels.
        QImage image(size, size, QImage::Format_ARGB32);
        const uchar* rgba = pixels.data();
        for (int y = 0; y < size; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < size; ++x, rgba += 4) line[x] = qRgba(rgba[0], rgba[1], rgba[2], rgba[3]);
        }
        icon.addPixmap(QPixmap::fromImage(std::move(image), Qt::NoFormatConversion));
    }
    return icon;
}

NumberFormat numberFormatOf(const QLocale& locale) {
    // Any separator other than these two (one that is not ASCII, say) could clash with the
    // number grammar, so it falls back to the point. The group separator only feeds a hint.
    const QString group = locale.groupSeparator();
    return NumberFormat{locale.decimalPoint() == QLatin1String(",") ? ',' : '.',
                        group.size() == 1 ? group.front().unicode() : U','};
}

Style styleToUse(std::string_view styleArgument) {
    const bool named = !styleArgument.empty() || !qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE");
    return named ? Style::UsersChoice : Style::Fusion;
}

void setUpApplication(QApplication& app, Style style) {
    QApplication::setApplicationName(QStringLiteral("korvel-video-setup"));
    // Desktops that know the installed entry by this name show its theme icon; the
    // window's own icon below is for the rest.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvel.VideoSetup"));
    // One style everywhere unless the user asks for another, so the measured fit of every
    // caption holds on every desktop. Where the platform's default already is that style,
    // building a second one would only repolish the application.
    if (style == Style::Fusion && QApplication::style()->name() != QLatin1String("fusion")) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    app.setWindowIcon(programIcon());
}

}  // namespace korvel::window
