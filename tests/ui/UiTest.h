#pragma once

// Shared by the window tests: a main that runs one Qt Test class on the offscreen platform
// (unless QT_QPA_PLATFORM says otherwise) with the program's own style and font, a catcher
// that records and dismisses every modal dialog so that none can hang a test, and an
// opened window over a loaded form model.

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <memory>
#include <utility>

#include "app/Startup.h"
#include "ui/window/Application.h"
#include "ui/window/FormWindow.h"

namespace korvel::test {

struct SeenDialog {
    QString title;
    QString text;
    bool warning = false;
};

// Dismisses each dialog as soon as it is shown and keeps what it said. A test that
// expects a dialog takes it; any other left over fails the test in cleanup().
class DialogCatcher : public QObject {
public:
    DialogCatcher() {
        qApp->installEventFilter(this);
        current() = this;
    }
    ~DialogCatcher() override { current() = nullptr; }
    DialogCatcher(const DialogCatcher&) = delete;
    DialogCatcher& operator=(const DialogCatcher&) = delete;
    static DialogCatcher& instance() { return *current(); }

    QList<SeenDialog> take() { return std::exchange(seen_, {}); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* dialog = qobject_cast<QDialog*>(watched);
        if (event->type() == QEvent::Show && dialog && dialog->isModal()) {
            SeenDialog seen{dialog->windowTitle(), {}, false};
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                seen.text = box->text();
                seen.warning = box->icon() == QMessageBox::Warning;
            }
            seen_.append(seen);
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static DialogCatcher*& current() {
        static DialogCatcher* catcher = nullptr;
        return catcher;
    }
    QList<SeenDialog> seen_;
};

// The form model, loaded, behind a shown and active window.
struct OpenWindow {
    explicit OpenWindow(NumberFormat format = {}) : form(format) {
        bindHandlers(form);
        window = std::make_unique<window::FormWindow>(form);
        form.load();
        window->show();
        window->activateWindow();
    }
    bool active() { return QTest::qWaitForWindowActive(window.get()); }

    template <class W = QWidget>
    W* find(const char* name) const {
        return window->findChild<W*>(QString::fromLatin1(name));
    }
    std::string text(Ctl c) const { return form.GetText(c); }

    FormModel form;
    std::unique_ptr<window::FormWindow> window;
};

// Base of the window test classes: each test function gets a fresh, active window, and no
// dialog may be left over when it ends. The derived class's init() and cleanup() slots call
// open() and close().
class WindowTest : public QObject {
protected:
    void open() {
        w_ = std::make_unique<OpenWindow>();
        QVERIFY(w_->active());
    }
    void close() {
        w_.reset();
        QVERIFY(DialogCatcher::instance().take().isEmpty());
    }

    std::unique_ptr<OpenWindow> w_;
};

// The control that has the focus, by name, also where the focus sits in a part of it
// (the line edit of an editable list).
inline QString focusedControl() {
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        if (controlByName(w->objectName().toStdString())) return w->objectName();
    }
    return {};
}

template <class TestClass>
int runUiTest(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    window::setUpApplication(app);
    DialogCatcher catcher;
    TestClass test;
    return QTest::qExec(&test, argc, argv);
}

}  // namespace korvel::test

#define KORVEL_UI_TEST_MAIN(TestClass) \
    int main(int argc, char* argv[]) { return korvel::test::runUiTest<TestClass>(argc, argv); }
