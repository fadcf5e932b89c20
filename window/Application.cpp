#include "window/Application.h"

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QResource>
#include <QStyle>
#include <QStyleFactory>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

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

bool styleChosenByUser(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_STYLE_OVERRIDE")) return true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-style" || argument == "--style" || argument.startsWith("-style=") ||
            argument.startsWith("--style=")) {
            return true;
        }
    }
    return false;
}

void setUpApplication(QApplication& app, bool styleChosen) {
    QApplication::setApplicationName(QStringLiteral("korvel-video-setup"));
    // Desktops that know the installed entry by this name show its theme icon; the
    // window's own icon below is for the rest.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvel.VideoSetup"));
    // One style everywhere unless the user asks for another, so the measured fit of every
    // caption holds on every desktop. Where the platform's default already is that style,
    // building a second one would only repolish the application.
    if (!styleChosen && QApplication::style()->name() != QLatin1String("fusion")) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }
    app.setWindowIcon(programIcon());
}

namespace {

// A message held back while the display opens; the context's texts are copied, as the
// message's own may not outlive the call.
struct HeldMessage {
    QtMsgType type;
    std::string category, file, function;
    int line;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::vector<HeldMessage> heldMessages;
std::string chosenPlatform;  // by -platform or QT_QPA_PLATFORM; empty for Qt's own choice

void holdPlatformMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The only fatal message while the application is built: no platform plugin could start.
        // Where the user named one, it may be that name that is wrong, not the display.
        if (chosenPlatform.empty()) {
            std::fputs(
                "korvel-video-setup: no display could be opened; set DISPLAY (X11) or "
                "WAYLAND_DISPLAY (Wayland) to one that runs\n",
                stderr);
        } else {
            std::fprintf(stderr,
                         "korvel-video-setup: the platform \"%s\" could not be started; check its name, "
                         "and DISPLAY (X11) or WAYLAND_DISPLAY (Wayland)\n",
                         chosenPlatform.c_str());
        }
        std::_Exit(1);
    }
    // The platform's complaints on the way to that end would only repeat it.
    if (context.category != nullptr && std::string_view(context.category).substr(0, 7) == "qt.qpa.") {
        const auto copy = [](const char* s) { return std::string(s != nullptr ? s : ""); };
        heldMessages.push_back(
            {type, copy(context.category), copy(context.file), copy(context.function), context.line, text});
        return;
    }
    previousHandler(type, context, text);
}

}  // namespace

std::unique_ptr<QApplication> openApplication(int& argc, char** argv) {
    chosenPlatform = qEnvironmentVariable("QT_QPA_PLATFORM").toStdString();
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) == "-platform") chosenPlatform = argv[i + 1];
    }
    previousHandler = qInstallMessageHandler(holdPlatformMessages);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    // The display is open: what the platform said on the way is worth seeing after all.
    for (const HeldMessage& m : heldMessages) {
        const QMessageLogContext context(m.file.c_str(), m.line, m.function.c_str(), m.category.c_str());
        previousHandler(m.type, context, m.text);
    }
    heldMessages.clear();
    return app;
}

}  // namespace korvel::window
