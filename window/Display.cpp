#include "window/Display.h"

#include <QApplication>
#include <QDir>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace korvel::window {

namespace {

// A message held back while the display opens; the context's texts are copied, as the message's own
// may not outlive the call.
struct HeldMessage {
    QtMsgType type;
    std::string category, file, function;
    int line;
    QString text;
};

QtMessageHandler previousHandler = nullptr;
std::mutex heldMutex;  // Qt may start threads of its own before the display is open
std::vector<HeldMessage> heldMessages;
std::string chosenPlatform;  // by -platform or QT_QPA_PLATFORM; empty for Qt's own choice
int realStandardError = -1;  // while the display opens, file 2 writes into a memory file

// Libraries under Qt (libwayland, say) write to standard error themselves: that is held back too.
int holdStandardError() {
    const int held = memfd_create("korvel-held-stderr", MFD_CLOEXEC);
    const int real = held < 0 ? -1 : fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    if (real < 0 || dup2(held, STDERR_FILENO) < 0) {
        if (held >= 0) close(held);
        if (real >= 0) close(real);
        return -1;  // nothing held: they are seen at once, as without this
    }
    realStandardError = real;
    return held;
}

void restoreStandardError() {
    if (realStandardError < 0) return;
    dup2(realStandardError, STDERR_FILENO);
    close(std::exchange(realStandardError, -1));
}

// Whether a compositor answers at WAYLAND_DISPLAY (a name in XDG_RUNTIME_DIR, or a path).
bool waylandDisplayRuns() {
    const QByteArray name = qgetenv("WAYLAND_DISPLAY");
    if (name.isEmpty()) return false;
    const QByteArray path = name.startsWith('/') ? name : qgetenv("XDG_RUNTIME_DIR") + '/' + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::copy(path.begin(), path.end(), address.sun_path);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return false;
    const bool answers = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(socket);
    return answers;
}

// Whether a Wayland platform plugin lies where Qt looks for platform plugins (the platforms/ folder
// of every plugin folder, qt.conf's and QT_PLUGIN_PATH's included, and QT_QPA_PLATFORM_PLUGIN_PATH).
// Looked at on disk: how Qt words its own failure differs from one version to the next.
bool waylandPluginInstalled() {
    QStringList folders = QCoreApplication::libraryPaths();
    for (QString& folder : folders) folder += QStringLiteral("/platforms");
    folders +=
        qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    return std::ranges::any_of(folders, [](const QString& folder) {
        return !QDir(folder).entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
    });
}

void holdMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        // The only fatal message while the application is built: no platform plugin could start.
        // What was held would only repeat it, and Qt's advice to reinstall misleads.
        restoreStandardError();
        if (!waylandPluginInstalled() &&
            (waylandDisplayRuns() || std::string_view(chosenPlatform).starts_with("wayland"))) {
            std::fputs(
                "korvel-video-setup: Qt's Wayland platform plugin is not installed; install the package "
                "qt6-wayland, or set DISPLAY (X11) to a display that runs\n",
                stderr);
        } else if (chosenPlatform.empty()) {
            std::fputs(
                "korvel-video-setup: no display could be opened; set DISPLAY (X11) or "
                "WAYLAND_DISPLAY (Wayland) to one that runs\n",
                stderr);
        } else {
            // Where the user named a platform, it may be that name that is wrong, not the display.
            std::fprintf(stderr,
                         "korvel-video-setup: the platform \"%s\" could not be started; check its name, "
                         "and DISPLAY (X11) or WAYLAND_DISPLAY (Wayland)\n",
                         chosenPlatform.c_str());
        }
        std::_Exit(1);
    }
    const auto copy = [](const char* s) { return std::string(s != nullptr ? s : ""); };
    const std::scoped_lock lock(heldMutex);
    heldMessages.push_back(
        {type, copy(context.category), copy(context.file), copy(context.function), context.line, text});
}

}  // namespace

std::unique_ptr<QApplication> openApplication(int& argc, char** argv, std::string_view platformArgument) {
    chosenPlatform = platformArgument.empty() ? qEnvironmentVariable("QT_QPA_PLATFORM").toStdString()
                                              : std::string(platformArgument);
    // Qt's gtk3 platform theme starts GTK, whose own accessibility bridge would put a second, empty
    // application of this name on the accessibility bus: Qt's bridge alone speaks for the window.
    qputenv("NO_AT_BRIDGE", "1");
    const int held = holdStandardError();
    previousHandler = qInstallMessageHandler(holdMessages);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    // The display is open: what was said on the way is worth seeing after all.
    restoreStandardError();
    if (held >= 0) {
        char buffer[4096];
        lseek(held, 0, SEEK_SET);
        for (ssize_t n; (n = read(held, buffer, sizeof buffer)) > 0;) {
            if (write(STDERR_FILENO, buffer, static_cast<std::size_t>(n)) != n) break;
        }
        close(held);
    }
    const std::scoped_lock lock(heldMutex);
    for (const HeldMessage& m : heldMessages) {
        const QMessageLogContext context(m.file.c_str(), m.line, m.function.c_str(), m.category.c_str());
        previousHandler(m.type, context, m.text);
    }
    heldMessages.clear();
    return app;
}

}  // namespace korvel::window
