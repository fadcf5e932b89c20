// The least a Qt program that shows text does: one fixed-size window with a caption and one
// label. The program's start-up is measured against this.

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "form/Controls.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QString::fromUtf8(korvel::kWindowCaption.data(),
                                            static_cast<qsizetype>(korvel::kWindowCaption.size())));
    // The program's window size, so both map a window of the same area.
    const korvel::Rect size = korvel::toPixels(korvel::controlDef(korvel::Ctl::frmKorvel).twips);
    window.setFixedSize(size.width, size.height);
    QLabel label(QStringLiteral("Resizing"), &window);
    label.move(16, 16);
    window.show();
    return QApplication::exec();
}
