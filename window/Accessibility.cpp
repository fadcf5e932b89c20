#include "window/Accessibility.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QLineEdit>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QWindow>
#include <QXmlStreamReader>

#include <algorithm>
#include <optional>

namespace korvel::window {
namespace {

// Offsets come from another process: any int at all.
int clampTo(int offset, qsizetype count) { return static_cast<int>(std::clamp<qsizetype>(offset, 0, count)); }

struct Span {
    int start;
    int end;
};

// The piece of `text` of the given kind that holds `offset` (0 to the size): a character as the
// user sees it, a word or what lies between two words, a sentence; a box holds one line, so a line
// or paragraph is the whole text. One pass over the text, where Qt 6.4's own search never returns
// from a text that starts with no word ("-24", " 12").
Span pieceAt(const QString& text, int offset, QAccessible::TextBoundaryType boundary) {
    const auto size = static_cast<int>(text.size());
    QTextBoundaryFinder::BoundaryType type = QTextBoundaryFinder::Grapheme;
    if (boundary == QAccessible::WordBoundary) type = QTextBoundaryFinder::Word;
    if (boundary == QAccessible::SentenceBoundary) type = QTextBoundaryFinder::Sentence;
    if (boundary != QAccessible::CharBoundary && type == QTextBoundaryFinder::Grapheme) return {0, size};
    QTextBoundaryFinder finder(type, text);
    Span piece{0, size};
    for (auto at = finder.toNextBoundary(); at != -1; at = finder.toNextBoundary()) {
        // Words end only where a word starts or ends: "a, b" is "a", ", " and "b".
        const auto edges = QTextBoundaryFinder::StartOfItem | QTextBoundaryFinder::EndOfItem;
        if (type == QTextBoundaryFinder::Word && at != size && !(finder.boundaryReasons() & edges)) continue;
        if (at > offset) {
            piece.end = static_cast<int>(at);
            break;
        }
        piece.start = static_cast<int>(at);
    }
    return piece;
}

// Every line edit of the window: the boxes to type in, the result boxes and the audio list's text
// part. Every offset is clamped and every answer takes one pass over the text at most, where Qt
// 6.4's QAccessibleLineEdit loops for good in its word search. A write goes through the line edit's
// own editing, as a paste does, where Qt's setText() bypasses it: so it keeps to the maximum length,
// can be undone, and is announced as textEdited, which the binding forwards to the model as the
// user's edit. Read-only boxes offer no editing.
class AccessibleBox : public QAccessibleWidget,
                      public QAccessibleTextInterface,
                      public QAccessibleEditableTextInterface {
public:
    explicit AccessibleBox(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}
    using QAccessibleWidget::text;  // the name and the description, beside the text's parts

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = box().isReadOnly();
        state.editable = !box().isReadOnly();
        state.selectableText = true;
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface && !box().isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = box().text();
        const int start = clampTo(startOffset, all.size());
        const int end = clampTo(endOffset, all.size());
        return start < end ? all.mid(start, end - start) : QString();
    }
    int characterCount() const override { return static_cast<int>(box().text().size()); }
    int cursorPosition() const override { return box().cursorPosition(); }
    void setCursorPosition(int position) override {
        box().setCursorPosition(clampTo(position, characterCount()));
    }
    int selectionCount() const override { return box().hasSelectedText() ? 1 : 0; }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        const bool selected = selectionIndex == 0 && box().hasSelectedText();
        *startOffset = selected ? box().selectionStart() : 0;
        *endOffset = selected ? box().selectionEnd() : 0;
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex != 0) return;
        const int start = clampTo(startOffset, characterCount());
        // Backwards when the end comes first: the cursor goes to the end, as the user's selection does.
        box().setSelection(start, clampTo(endOffset, characterCount()) - start);
    }
    void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0) box().deselect();
    }

    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return piece(offset, boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return piece(offset, boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return piece(offset, boundary, 1, startOffset, endOffset);
    }

    QRect characterRect(int offset) const override {
        const QString all = box().text();
        if (offset < 0 || offset >= all.size()) return {};
        // Measured from the cursor, which sits in the middle of the rectangle Qt gives input methods,
        // scrolled and inside the frame: so none of Qt's own margins is repeated here.
        const QRect cursor = box().inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const int at = box().cursorPosition();
        const QFontMetricsF metrics(box().font());
        const qreal left = offset >= at ? metrics.horizontalAdvance(all.mid(at, offset - at))
                                        : -metrics.horizontalAdvance(all.mid(offset, at - offset));
        const QRectF character(cursor.center().x() + left, cursor.top(),
                               metrics.horizontalAdvance(all.mid(offset, 1)), cursor.height());
        return character.toAlignedRect().translated(box().mapToGlobal(QPoint(0, 0)));
    }
    int offsetAtPoint(const QPoint& point) const override {
        // Tested before mapping: a far-off point would overflow on the way into the box's coordinates.
        if (!QRect(box().mapToGlobal(QPoint(0, 0)), box().size()).contains(point)) return -1;
        return box().cursorPositionAt(box().mapFromGlobal(point));
    }
    // A box is one line that scrolls to its cursor; moving the cursor for a tool is not asked for.
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;  // one run of the box's own font and colours
        *endOffset = characterCount();
        return {};
    }

    void deleteText(int startOffset, int endOffset) override { replaceText(startOffset, endOffset, {}); }
    void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
    void replaceText(int startOffset, int endOffset, const QString& text) override {
        QLineEdit& edit = box();
        if (edit.isReadOnly()) return;
        const auto [start, end] =
            std::minmax({clampTo(startOffset, characterCount()), clampTo(endOffset, characterCount())});
        edit.setSelection(start, end - start);
        edit.insert(text);
    }

private:
    QLineEdit& box() const { return *static_cast<QLineEdit*>(widget()); }

    // The piece at `offset` (`step` 0), or the one before (-1) or after (1) it; nothing, at -1,
    // outside the text.
    QString piece(int offset, QAccessible::TextBoundaryType boundary, int step, int* startOffset,
                  int* endOffset) const {
        const QString all = box().text();
        *startOffset = *endOffset = -1;
        if (offset < 0 || offset > all.size()) return {};
        Span span = pieceAt(all, offset, boundary);
        if (step < 0 && span.start == 0) return {};
        if (step > 0 && span.end == all.size()) return {};
        if (step != 0) span = pieceAt(all, step < 0 ? span.start - 1 : span.end, boundary);
        *startOffset = span.start;
        *endOffset = span.end;
        return all.mid(span.start, span.end - span.start);
    }
};

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    // The window is a window (a frame) announced with its caption; a plain top-level widget
    // would be a mere filler.
    if (className == QLatin1String("korvel::window::FormWindow"))
        return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Window);
    if (auto* box = qobject_cast<QLineEdit*>(object)) return new AccessibleBox(box);
    return nullptr;
}

// In front of Qt 6.4's AT-SPI bridge, for the calls it cannot survive whatever the interfaces
// answer. It loops over a text range itself, with a counter that wraps at 2147483647 and never
// ends (GetRangeExtents); it sizes a text to insert by the caller's length, allocating until memory
// runs out (InsertText); it uses a table's cell without asking whether the row exists
// (GetRowExtentAt, GetColumnExtentAt, IsSelected, GetRowHeader, GetRowColumnExtentsAtIndex), and an
// object's table or value without asking whether it has one (a list's row asked for its rows): both
// crash. It never answers GetBoundedRanges. Those it answers itself; every other call goes on to the
// bridge.
class BridgeGuard : public QDBusVirtualObject {
public:
    explicit BridgeGuard(QDBusVirtualObject* bridge) : QDBusVirtualObject(bridge), bridge_(bridge) {}

    QString introspect(const QString& path) const override {
        return bridge_ ? bridge_->introspect(path) : QString();
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        // The bridge reads the arguments it expects without counting them.
        if (message.arguments().size() < argumentCount(message)) {
            return connection.send(
                message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("Too few")));
        }
        const std::optional<QDBusMessage> answer = answerOf(message);
        if (answer) return connection.send(*answer);
        return bridge_ && bridge_->handleMessage(message, connection);
    }

private:
    static std::optional<QDBusMessage> answerOf(const QDBusMessage& message) {
        // The bridge names an object by the number Qt gives its interface.
        bool isNumber = false;
        const auto id = message.path().section(QLatin1Char('/'), -1).toUInt(&isNumber);
        QAccessibleInterface* target = isNumber ? QAccessible::accessibleInterface(id) : nullptr;
        if (!target) return std::nullopt;
        const QList<QVariant> in = message.arguments();
        const auto number = [&](int i) { return i < in.size() ? in.at(i).toInt() : 0; };
        const QString call = message.interface() + QLatin1Char('.') + message.member();
        // The bridge takes for granted that these parts are there.
        const std::pair<const char*, QAccessible::InterfaceType> parts[] = {
            {"org.a11y.atspi.Text", QAccessible::TextInterface},
            {"org.a11y.atspi.EditableText", QAccessible::EditableTextInterface},
            {"org.a11y.atspi.Value", QAccessible::ValueInterface},
            {"org.a11y.atspi.Table", QAccessible::TableInterface}};
        for (const auto& [name, part] : parts) {
            if (message.interface() == QLatin1String(name) && !target->interface_cast(part))
                return message.createErrorReply(QDBusError::UnknownInterface,
                                                QStringLiteral("Not offered here"));
        }

        if (call == QLatin1String("org.a11y.atspi.Text.GetRangeExtents") && target->textInterface()) {
            const QRect range = rangeExtents(*target, number(0), number(1), in.value(2).toUInt());
            return message.createReply({range.x(), range.y(), range.width(), range.height()});
        }
        if (call == QLatin1String("org.a11y.atspi.Text.GetBoundedRanges")) {
            // The bridge's answer is of a type it cannot send: the caller would wait for nothing.
            return message.createErrorReply(QDBusError::NotSupported, QStringLiteral("Not offered here"));
        }
        if (call == QLatin1String("org.a11y.atspi.EditableText.InsertText")) {
            const QString text = in.value(1).toString();
            if (QAccessibleEditableTextInterface* editable = target->editableTextInterface())
                editable->insertText(number(0), text.left(std::max(number(2), 0)));
            return message.createReply(QVariant(true));
        }
        QAccessibleTableInterface* table = target->tableInterface();
        if (message.interface() != QLatin1String("org.a11y.atspi.Table")) return std::nullopt;
        const auto exists = [table](int row, int column) {
            if (row < 0 || column < 0 || row >= table->rowCount() || column >= table->columnCount())
                return false;
            QAccessibleInterface* cell = table->cellAt(row, column);
            return cell && cell->tableCellInterface();
        };
        const QString member = message.member();
        bool missing = false;
        if (member == QLatin1String("GetRowExtentAt") || member == QLatin1String("GetColumnExtentAt") ||
            member == QLatin1String("IsSelected")) {
            missing = !exists(number(0), number(1));
        } else if (member == QLatin1String("GetRowHeader")) {
            missing = !exists(number(0), 0);
        } else if (member == QLatin1String("GetRowColumnExtentsAtIndex") && table->columnCount() > 0) {
            missing = !exists(number(0) / table->columnCount(), number(0) % table->columnCount());
        }
        if (!missing) return std::nullopt;
        return message.createErrorReply(QDBusError::InvalidArgs, QStringLiteral("No such cell"));
    }

    // How many arguments a call takes, as the bridge declares its methods; learnt once a method.
    // A method no object has declared yet counts none.
    int argumentCount(const QDBusMessage& message) {
        const QString call = message.interface() + QLatin1Char('.') + message.member();
        if (!bridge_ || arguments_.contains(call)) return arguments_.value(call);
        QHash<QString, int> declaredHere;  // by this object, which may lack interfaces others have
        QXmlStreamReader declared(QLatin1String("<node>") + bridge_->introspect(message.path()) +
                                  QLatin1String("</node>"));
        QString interface, method;
        while (!declared.atEnd()) {
            if (declared.readNext() != QXmlStreamReader::StartElement) continue;
            const auto attribute = [&](const char* name) {
                return declared.attributes().value(QLatin1String(name));
            };
            if (declared.name() == u"interface") interface = attribute("name").toString();
            if (declared.name() == u"method")
                method = interface + QLatin1Char('.') + attribute("name").toString();
            if (declared.name() == u"signal" || declared.name() == u"property") method.clear();
            if (declared.name() == u"method") declaredHere[method] = 0;
            if (declared.name() == u"arg" && !method.isEmpty() && attribute("direction") != u"out")
                ++declaredHere[method];
        }
        arguments_.insert(declaredHere);
        return arguments_.value(call);
    }

    // The box's text is one line: its range reaches from its first character to its last.
    static QRect rangeExtents(QAccessibleInterface& target, int startOffset, int endOffset,
                              uint coordinates) {
        QAccessibleTextInterface& text = *target.textInterface();
        const int count = text.characterCount();
        const int start = clampTo(startOffset, count);
        const int end = clampTo(endOffset == -1 ? count : endOffset, count);
        if (end <= start) return {};
        const QRect range = text.characterRect(start) | text.characterRect(end - 1);
        enum : uint { Screen, Window, Parent };
        const QWindow* window = target.window();
        if (coordinates == Window && window) return range.translated(-window->geometry().topLeft());
        if (coordinates == Parent && target.parent())
            return range.translated(-target.parent()->rect().topLeft());
        return range;
    }

    QPointer<QDBusVirtualObject> bridge_;
    QHash<QString, int> arguments_{{QStringLiteral("org.freedesktop.DBus.Properties.Get"), 2},
                                   {QStringLiteral("org.freedesktop.DBus.Properties.GetAll"), 1},
                                   {QStringLiteral("org.freedesktop.DBus.Properties.Set"), 3}};
};

// Puts the guard in front of Qt's bridge. The bridge opens a connection of its own to the
// accessibility bus, in the background, when assistive technology is turned on, and takes its place
// there just after it turns accessibility on.
class BridgeWatch : public QObject, public QAccessible::ActivationObserver {
    Q_OBJECT

public:
    explicit BridgeWatch(QObject* parent) : QObject(parent) {
        connect(this, &BridgeWatch::turnedOn, this, &BridgeWatch::guardBridge, Qt::QueuedConnection);
        QAccessible::installActivationObserver(this);
    }
    ~BridgeWatch() override { QAccessible::removeActivationObserver(this); }

    void accessibilityActiveChanged(bool active) override {
        if (active) emit turnedOn();
    }

signals:
    void turnedOn();

private:
    void guardBridge() {
        QDBusConnection bus(QStringLiteral("a11y"));
        const QString path = QStringLiteral("/org/a11y/atspi/accessible");
        auto* bridge = qobject_cast<QDBusVirtualObject*>(bus.objectRegisteredAt(path));
        if (!bridge || dynamic_cast<BridgeGuard*>(bridge)) return;
        bus.unregisterObject(path);
        bus.registerVirtualObject(path, new BridgeGuard(bridge), QDBusConnection::SubPath);
    }
};

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        new BridgeWatch(qApp);
        return true;
    }();
    Q_UNUSED(installed)
}

}  // namespace korvel::window

#include "Accessibility.moc"
