#pragma once

// The window tests' set-up: the offscreen platform unless QT_QPA_PLATFORM is set, the
// program's style and font, warnings recorded and dismissed, a fresh window for each test.

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/Startup.h"
#include "ui/window/Application.h"
#include "ui/window/FormWindow.h"

namespace korvel::test {

// A label's text as a screen reader gets it: markup read as such is gone from it.
inline QString shown(QObject* l) { return QAccessible::queryAccessibleInterface(l)->text(QAccessible::Name); }

// The text of each warning shown; each is dismissed at once, so none can hang a test.
inline struct Warnings : QObject {
    QStringList seen;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (event->type() != QEvent::Show || !box) return false;
        seen << shown(box->findChild<QLabel*>("qt_msgbox_label"));
        QTimer::singleShot(0, box, &QDialog::reject);
        return false;
    }
} warnings;

struct Fixture : QObject {
    std::unique_ptr<FormModel> form_;
    std::unique_ptr<window::FormWindow> window_;

    // Before the application is made (QTEST_MAIN calls it), then once it is there.
    static void initMain() {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    static void setUp() {
        window::setUpApplication(*qApp);
        qApp->installEventFilter(&warnings);
    }
    void open() {
        form_ = std::make_unique<FormModel>();
        bindHandlers(*form_);
        window_ = std::make_unique<window::FormWindow>(*form_);
        form_->load();
        window_->show();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }
    void close() {
        window_.reset();
        QCOMPARE(std::exchange(warnings.seen, {}), QStringList());
    }
    template <class W = QLineEdit>
    W* find(Ctl c) const {
        return window_->findChild<W*>(controlName(c).data());
    }
};

}  // namespace korvel::test
