#include "window/Accessibility.h"

#include <QAccessibleWidget>

#include "window/FormWindow.h"

namespace korvel::window {
namespace {

// A result box as text that can be read, selected and copied, but not edited.
class AccessibleResult : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleResult(ResultBox* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Value ? box().text() : QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const bool selected = selectionIndex == 0 && box().hasSelectedText();
        *startOffset = selected ? box().selectionStart() : 0;
        *endOffset = selected ? box().selectionEnd() : 0;
    }
    int selectionCount() const override { return box().hasSelectedText() ? 1 : 0; }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int /*selectionIndex*/) override { box().deselect(); }
    void setSelection(int /*selectionIndex*/, int startOffset, int endOffset) override {
        box().setSelection(startOffset, endOffset - startOffset);
    }
    int cursorPosition() const override { return box().cursorPosition(); }
    void setCursorPosition(int position) override { box().setCursorPosition(position); }
    QString text(int startOffset, int endOffset) const override {
        return box().text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(box().text().size()); }
    QRect characterRect(int offset) const override {
        // Results are short and never scrolled: measured from the start of the text.
        const QString text = box().text();
        if (offset < 0 || offset >= text.size()) return {};
        const QFontMetrics metrics = box().fontMetrics();
        const QRect area = box().contentsRect();
        const QRect character(area.left() + 2 + metrics.horizontalAdvance(text.left(offset)), area.top(),
                              metrics.horizontalAdvance(text.at(offset)), area.height());
        return character.translated(box().mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        return box().cursorPositionAt(box().mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int /*endIndex*/) override { box().setCursorPosition(startIndex); }
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    ResultBox& box() const { return *static_cast<ResultBox*>(widget()); }
};

QAccessibleInterface* accessibleFor(const QString& /*className*/, QObject* object) {
    // The window is a window (a frame) announced with its caption; a plain top-level widget
    // would be a mere filler.
    if (auto* window = dynamic_cast<FormWindow*>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    if (auto* box = qobject_cast<ResultBox*>(object)) return new AccessibleResult(box);
    return nullptr;
}

}  // namespace

void installAccessibility() {
    static const bool installed = (QAccessible::installFactory(accessibleFor), true);
    Q_UNUSED(installed)
}

}  // namespace korvel::window
