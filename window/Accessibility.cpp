#include "window/Accessibility.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QLineEdit>
#include <QPointer>
#include <QTextBoundaryFinder>
#include <QWindow>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// The piece at `offset` (`step` 0), or the one before (-1) or after (1) it; nothing, at -1,
// outside the text.
QString pieceOf(const QString& all, int offset, QAccessible::TextBoundaryType boundary, int step,
                int* startOffset, int* endOffset) {
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
    // The outline drawn over a box is part of the box, not an unnamed object of its own for the
    // pointer to land on.
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (t == QAccessible::EditableTextInterface && !box().isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = shownText();
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
        return pieceOf(shownText(), offset, boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return pieceOf(shownText(), offset, boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return pieceOf(shownText(), offset, boundary, 1, startOffset, endOffset);
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
    // A NUL would end the text on its way over the bus: it goes as a visible stand-in, one for one,
    // so that offsets still match.
    QString shownText() const { return box().text().replace(QChar(0), QChar(0x2400)); }
};

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// A list to pick from, as Qt's own but for what a screen reader reads: the entry shown is its text,
// so the entry is said with the caption (and again, as new text, after each move). Its one child is
// the open list, as in Qt's own. Qt 6.8's own list is read with its entry, and a move is said with it
// by the screen readers of its time, which do not say a list's new text.
class AccessibleList : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleList(QComboBox* list) : QAccessibleWidget(list, QAccessible::ComboBox) {}
    using QAccessibleWidget::text;

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list().view()) : nullptr;
    }
    // As in Qt's own, a tool can open the list, or close it, for the user to pick from.
    QStringList actionNames() const override {
        return QAccessibleWidget::actionNames() << showMenuAction() << pressAction();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return QAccessibleWidget::doAction(action);
        if (list().view()->isVisible()) return list().hidePopup();
        list().showPopup();
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && child->object() == list().view() ? 0 : -1;
    }

    QString text(int startOffset, int endOffset) const override {
        const QString all = list().currentText();
        const int start = clampTo(startOffset, all.size());
        return all.mid(start, std::max(clampTo(endOffset, all.size()) - start, 0));
    }
    int characterCount() const override { return static_cast<int>(list().currentText().size()); }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return pieceOf(list().currentText(), offset, boundary, -1, startOffset, endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return pieceOf(list().currentText(), offset, boundary, 0, startOffset, endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return pieceOf(list().currentText(), offset, boundary, 1, startOffset, endOffset);
    }
    QString attributes(int /*offset*/, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
    // The entry is read, not edited: the entry shown is the one selected, and it has no cursor nor
    // places on the screen of its own.
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int /*position*/) override {}
    int selectionCount() const override { return characterCount() > 0 ? 1 : 0; }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = selectionIndex == 0 ? characterCount() : 0;
    }
    void setSelection(int /*selectionIndex*/, int /*startOffset*/, int /*endOffset*/) override {}
    void addSelection(int /*startOffset*/, int /*endOffset*/) override {}
    void removeSelection(int /*selectionIndex*/) override {}
    QRect characterRect(int /*offset*/) const override { return {}; }
    int offsetAtPoint(const QPoint& /*point*/) const override { return -1; }
    void scrollToSubstring(int /*startIndex*/, int /*endIndex*/) override {}

private:
    QComboBox& list() const { return *static_cast<QComboBox*>(widget()); }
};
#endif

// An object as AT-SPI names one: the application's name on the accessibility bus and the object's path.
QDBusArgument reference(const QString& path) {
    QDBusArgument object;
    object.beginStructure();
    object << QDBusConnection(QStringLiteral("a11y")).baseService() << QDBusObjectPath(path);
    object.endStructure();
    return object;
}

QAccessibleInterface* accessibleFor(const QString& className, QObject* object) {
    // The window is a window (a frame) announced with its caption; a plain top-level widget
    // would be a mere filler.
    if (className == QLatin1String("korvel::window::FormWindow"))
        return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::Window);
    if (auto* box = qobject_cast<QLineEdit*>(object)) return new AccessibleBox(box);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    if (auto* list = qobject_cast<QComboBox*>(object); list && !list->isEditable())
        return new AccessibleList(list);
#endif
    return nullptr;
}

// In front of Qt's AT-SPI bridge, which takes for granted that a call fits its target: it reads
// the arguments it expects without counting them, and uses an object's text, value or table without
// asking whether the object has one (a list's row asked for its rows, also through Properties.Get),
// which crashes. So every call is held against what the bridge itself declares for the target
// object: the interface the call names (for Properties, its first argument), the method or property,
// and the arguments' types; what does not fit is refused. Beyond that, in Qt 6.4, the bridge loops
// over a text range with a counter that wraps at 2147483647 and never ends (GetRangeExtents); it
// sizes a text to insert by the caller's length, allocating until memory runs out (InsertText); it
// uses a table's cell without asking whether the row exists (GetRowExtentAt, GetColumnExtentAt,
// IsSelected, GetRowHeader, GetRowColumnExtentsAtIndex; Qt 6.8 asks); it reads a second argument of
// Properties.GetAll, which has one; it never answers GetBoundedRanges. Those it answers itself, the
// rest still so in Qt 6.8, as is the application's Id set, which the bridge takes but never answers.
class BridgeGuard : public QDBusVirtualObject {
public:
    explicit BridgeGuard(QDBusVirtualObject* bridge) : QDBusVirtualObject(bridge), bridge_(bridge) {}

    QString introspect(const QString& path) const override {
        return bridge_ ? bridge_->introspect(path) : QString();
    }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (const std::optional<QDBusMessage> refusal = misfit(message)) return connection.send(*refusal);
        const std::optional<QDBusMessage> answer = answerOf(message);
        if (answer) return connection.send(*answer);
        if (!bridge_ || !bridge_->handleMessage(message, connection)) return false;
        // The bridge takes the application's Id without a word: the caller would wait for nothing.
        const QList<QVariant> in = message.arguments();
        if (message.member() == u"Set" && in.value(0).toString() == u"org.a11y.atspi.Application" &&
            in.value(1).toString() == u"Id")
            return connection.send(message.createReply());
        return true;
    }

private:
    // What the bridge declares for one object, as its introspection says.
    struct Declared {
        QSet<QString> interfaces;
        QHash<QString, QString> methods;     // "interface.Method": the types of its arguments
        QHash<QString, QString> properties;  // "interface.Property": its type
        QSet<QString> writable;
    };

    // The refusal of a call that does not fit what its target declares; nothing for one that fits.
    std::optional<QDBusMessage> misfit(const QDBusMessage& message) {
        const auto refuse = [&](QDBusError::ErrorType error) {
            return message.createErrorReply(error, QStringLiteral("Not offered here"));
        };
        const QString interface = message.interface();
        const QString types = message.signature();
        // Qt answers an introspection itself, from the bridge's declarations.
        if (message.member() == u"Introspect" && types.isEmpty() &&
            (interface.isEmpty() || interface == u"org.freedesktop.DBus.Introspectable"))
            return std::nullopt;
        const Declared& declared = declaredAt(message.path());
        if (interface != u"org.freedesktop.DBus.Properties") {
            const QString method = interface + QLatin1Char('.') + message.member();
            if (!declared.interfaces.contains(interface)) return refuse(QDBusError::UnknownInterface);
            if (!declared.methods.contains(method)) return refuse(QDBusError::UnknownMethod);
            if (declared.methods.value(method) != types) return refuse(QDBusError::InvalidArgs);
            return std::nullopt;
        }
        const QList<QVariant> in = message.arguments();
        static const QHash<QString, QString> kTypes{{QStringLiteral("Get"), QStringLiteral("ss")},
                                                    {QStringLiteral("GetAll"), QStringLiteral("s")},
                                                    {QStringLiteral("Set"), QStringLiteral("ssv")}};
        if (!kTypes.contains(message.member())) return refuse(QDBusError::UnknownMethod);
        if (kTypes.value(message.member()) != types) return refuse(QDBusError::InvalidArgs);
        if (!declared.interfaces.contains(in.at(0).toString())) return refuse(QDBusError::UnknownInterface);
        // Read as Get plus a second argument, which GetAll does not carry.
        if (message.member() == u"GetAll") return refuse(QDBusError::NotSupported);
        const QString property = in.at(0).toString() + QLatin1Char('.') + in.at(1).toString();
        if (!declared.properties.contains(property)) return refuse(QDBusError::UnknownProperty);
        if (message.member() == u"Get") return std::nullopt;
        if (!declared.writable.contains(property)) return refuse(QDBusError::PropertyReadOnly);
        const QVariant value = in.at(2).value<QDBusVariant>().variant();
        if (QLatin1String(QDBusMetaType::typeToSignature(value.metaType())) !=
            declared.properties.value(property))
            return refuse(QDBusError::InvalidArgs);
        return std::nullopt;
    }

    // Learnt once for each kind of object: the bridge declares alike what offers alike.
    const Declared& declaredAt(const QString& path) {
        const QString xml = bridge_ ? bridge_->introspect(path) : QString();
        if (const auto known = declared_.constFind(xml); known != declared_.cend()) return *known;
        Declared declared;
        read(xml, declared, false);
        // The bridge's declarations leave out most properties and a method it answers: those of the
        // interfaces the object declares are added.
        read(QLatin1String(kUnlisted), declared, true);
        return *declared_.insert(xml, declared);
    }

    // Adds what `xml` declares; only for the interfaces known already when `known` is set.
    static void read(const QString& xml, Declared& declared, bool known) {
        QXmlStreamReader reader(QLatin1String("<node>") + xml + QLatin1String("</node>"));
        QString interface, method;
        while (!reader.atEnd()) {
            if (reader.readNext() != QXmlStreamReader::StartElement) continue;
            const auto attribute = [&](const char* name) {
                return reader.attributes().value(QLatin1String(name)).toString();
            };
            if (reader.name() == u"interface") {
                interface = attribute("name");
                if (!known) declared.interfaces.insert(interface);
            }
            if (!declared.interfaces.contains(interface)) continue;
            const QString name = interface + QLatin1Char('.') + attribute("name");
            if (reader.name() != u"arg" && reader.name() != u"annotation") method.clear();
            if (reader.name() == u"method") declared.methods[method = name];
            if (reader.name() == u"property") declared.properties[name] = attribute("type");
            if (reader.name() == u"property" && attribute("access").contains(QLatin1String("write")))
                declared.writable.insert(name);
            if (reader.name() == u"arg" && !method.isEmpty() && attribute("direction") != u"out")
                declared.methods[method] += attribute("type");
        }
    }

    // What the bridge answers but leaves out of its declarations.
    static constexpr const char* kUnlisted = R"xml(
<interface name="org.a11y.atspi.Accessible"><method name="GetInterfaces"/>
 <property name="Name" type="s" access="read"/><property name="Description" type="s" access="read"/>
 <property name="Parent" type="(so)" access="read"/><property name="ChildCount" type="i" access="read"/>
 <property name="Locale" type="s" access="read"/><property name="AccessibleId" type="s" access="read"/>
 <property name="HelpText" type="s" access="read"/></interface>
<interface name="org.a11y.atspi.Application"><property name="ToolkitName" type="s" access="read"/>
 <property name="Version" type="s" access="read"/><property name="AtspiVersion" type="s" access="read"/>
 <property name="Id" type="i" access="readwrite"/></interface>
<interface name="org.a11y.atspi.Action"><property name="NActions" type="i" access="read"/></interface>
<interface name="org.a11y.atspi.Text"><property name="CharacterCount" type="i" access="read"/>
 <property name="CaretOffset" type="i" access="read"/></interface>
<interface name="org.a11y.atspi.Value"><property name="MinimumValue" type="d" access="read"/>
 <property name="MaximumValue" type="d" access="read"/>
 <property name="MinimumIncrement" type="d" access="read"/>
 <property name="CurrentValue" type="d" access="readwrite"/></interface>
<interface name="org.a11y.atspi.Table"><property name="NRows" type="i" access="read"/>
 <property name="NColumns" type="i" access="read"/><property name="Caption" type="(so)" access="read"/>
 <property name="Summary" type="(so)" access="read"/><property name="NSelectedRows" type="i" access="read"/>
 <property name="NSelectedColumns" type="i" access="read"/></interface>)xml";

    static std::optional<QDBusMessage> answerOf(const QDBusMessage& message) {
        // The bridge names an object by the number Qt gives its interface.
        bool isNumber = false;
        const auto id = message.path().section(QLatin1Char('/'), -1).toUInt(&isNumber);
        QAccessibleInterface* target = isNumber ? QAccessible::accessibleInterface(id) : nullptr;
        if (!target) return std::nullopt;
        const QList<QVariant> in = message.arguments();
        const auto number = [&](int i) { return i < in.size() ? in.at(i).toInt() : 0; };
        const QString call = message.interface() + QLatin1Char('.') + message.member();
        if (call == QLatin1String("org.a11y.atspi.Text.GetRangeExtents") && target->textInterface()) {
            const QRect range =
                placed(*target, rangeExtents(*target, number(0), number(1)), in.value(2).toUInt());
            return message.createReply({range.x(), range.y(), range.width(), range.height()});
        }
        // The bridge gives places in the window's units, where the screen may have more pixels to each.
        const QWindow* window = target->window();
        if (window && window->devicePixelRatio() != 1) {
            const bool text =
                call == QLatin1String("org.a11y.atspi.Text.GetCharacterExtents") && target->textInterface();
            const QRect at =
                placed(*target, text ? target->textInterface()->characterRect(number(0)) : target->rect(),
                       in.value(text ? 1 : 0).toUInt());
            if (text) return message.createReply({at.x(), at.y(), at.width(), at.height()});
            if (call == QLatin1String("org.a11y.atspi.Component.GetPosition"))
                return message.createReply({at.x(), at.y()});
            if (call == QLatin1String("org.a11y.atspi.Component.GetSize"))
                return message.createReply({at.width(), at.height()});
            // A point comes in the screen's pixels too.
            const QPoint point = unplaced(*target, number(0), number(1), in.value(2).toUInt());
            if (call == QLatin1String("org.a11y.atspi.Component.Contains"))
                return message.createReply(target->rect().contains(point));
            if (call == QLatin1String("org.a11y.atspi.Text.GetOffsetAtPoint") && target->textInterface())
                return message.createReply(target->textInterface()->offsetAtPoint(point));
            if (call == QLatin1String("org.a11y.atspi.Component.GetAccessibleAtPoint")) {
                QAccessibleInterface* found = nullptr;  // the innermost object there
                for (auto* inner = target->childAt(point.x(), point.y()); inner;
                     inner = inner->childAt(point.x(), point.y()))
                    found = inner;
                const QString path =
                    found ? QStringLiteral("/org/a11y/atspi/accessible/%1").arg(QAccessible::uniqueId(found))
                          : QStringLiteral("/org/a11y/atspi/null");
                return message.createReply(QVariant::fromValue(reference(path)));
            }
            if (call == QLatin1String("org.a11y.atspi.Component.GetExtents")) {
                QDBusArgument extents;
                extents.beginStructure();
                extents << at.x() << at.y() << at.width() << at.height();
                extents.endStructure();
                return message.createReply(QVariant::fromValue(extents));
            }
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
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)  // Qt 6.8's bridge asks for the cell itself
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
#else
        return std::nullopt;
#endif
    }

    // The box's text is one line: its range reaches from its first character to its last.
    static QRect rangeExtents(QAccessibleInterface& target, int startOffset, int endOffset) {
        QAccessibleTextInterface& text = *target.textInterface();
        const int count = text.characterCount();
        const int start = clampTo(startOffset, count);
        const int end = clampTo(endOffset == -1 ? count : endOffset, count);
        if (end <= start) return {};
        return text.characterRect(start) | text.characterRect(end - 1);
    }

    // A place on the screen in Qt's units as the caller asked for it: on the screen, in the window
    // or in the parent, in the screen's own pixels.
    enum : std::uint8_t { Screen, Window, Parent };
    static QRect placed(QAccessibleInterface& target, QRect at, uint coordinates) {
        if (!at.isValid()) return {};
        const QWindow* window = target.window();
        if (coordinates == Window && window) at.translate(-window->geometry().topLeft());
        if (coordinates == Parent && target.parent()) at.translate(-target.parent()->rect().topLeft());
        const qreal ratio = window ? window->devicePixelRatio() : 1;
        return {qRound(at.x() * ratio), qRound(at.y() * ratio), qRound(at.width() * ratio),
                qRound(at.height() * ratio)};
    }

    // The other way: a point the caller gives in the screen's own pixels, as a place on the screen in
    // Qt's units. Any int may come, so it is held within reach of the screen first.
    static QPoint unplaced(QAccessibleInterface& target, int x, int y, uint coordinates) {
        const QWindow* window = target.window();
        const qreal ratio = window ? window->devicePixelRatio() : 1;
        constexpr qreal kFar = 1 << 24;
        // A unit holds the pixels from its start on: the last pixel of a box is still in it.
        const auto unit = [&](int pixel) {
            return static_cast<int>(std::floor(std::clamp(pixel / ratio, -kFar, kFar)));
        };
        QPoint at(unit(x), unit(y));
        if (coordinates == Window && window) at += window->geometry().topLeft();
        if (coordinates == Parent && target.parent()) at += target.parent()->rect().topLeft();
        return at;
    }

    QPointer<QDBusVirtualObject> bridge_;
    QHash<QString, Declared> declared_;  // by the introspection of the kinds of object met
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

// What the screen reader hears of a change, passed on to whoever took it before, but for two kinds.
// A selection that comes with a move of the focus is not the user's: the box left loses its
// selection, the box reached selects its text, and a screen reader would say "unselected" and the
// value once more; the box reached is announced by its focus, with its text selected. A description
// (a marked box's reason) is sent as its text, once for each new text, where Qt 6.4's bridge sends
// the object in place of the text, which a screen reader cannot say, and sends it again for every
// keystroke that keeps the reason. A list's new entry is also sent as its new text, as a screen
// reader says a list's value only on arrival.
class Announcements : public QObject {
public:
    explicit Announcements(QObject* parent) : QObject(parent) {
        self_ = this;
        qApp->installEventFilter(this);
        previous_ = QAccessible::installUpdateHandler(&Announcements::update);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) entering_ = qobject_cast<QWidget*>(watched);
        return false;
    }

private:
    static void update(QAccessibleEvent* event) {
        auto* widget = qobject_cast<QWidget*>(event->object());
        const QWidget* entering = self_->entering_;
        if (event->type() == QAccessible::Focus) self_->entering_ = nullptr;
        if (event->type() == QAccessible::TextSelectionChanged && widget &&
            (!widget->hasFocus() || (entering && (widget == entering || entering->isAncestorOf(widget)))))
            return;
        if (event->type() == QAccessible::DescriptionChanged) return describe(*event);
        pass(event);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
        auto* list = qobject_cast<QComboBox*>(widget);
        if (event->type() == QAccessible::ValueChanged && list && !list->isEditable()) {
            QAccessibleTextInsertEvent entry(list, 0, list->currentText());
            pass(&entry);
        }
#endif
    }
    static void pass(QAccessibleEvent* event) {
        const QAccessible::UpdateHandler ours = QAccessible::installUpdateHandler(self_->previous_);
        QAccessible::updateAccessibility(event);
        QAccessible::installUpdateHandler(ours);
    }
    static void describe(QAccessibleEvent& event) {
        QAccessibleInterface* target = event.accessibleInterface();
        const QString text = target ? target->text(QAccessible::Description) : QString();
        const auto said = self_->described_.constFind(event.object());
        if (!target || (said != self_->described_.cend() && *said == text)) return;
        self_->described_.insert(event.object(), text);
        const QString objects = QStringLiteral("/org/a11y/atspi/accessible/");
        QDBusMessage signal = QDBusMessage::createSignal(
            objects + QString::number(QAccessible::uniqueId(target)),
            QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
        signal << QStringLiteral("accessible-description") << 0 << 0
               << QVariant::fromValue(QDBusVariant(text))
               << QVariant::fromValue(reference(objects + QStringLiteral("root")));
        QDBusConnection(QStringLiteral("a11y")).send(signal);
    }

    static inline Announcements* self_ = nullptr;  // one for the application, which owns it
    QPointer<QWidget> entering_;
    QHash<const QObject*, QString> described_;  // the last description sent of each object
    QAccessible::UpdateHandler previous_ = nullptr;
};

}  // namespace

void installAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(accessibleFor);
        new BridgeWatch(qApp);
        new Announcements(qApp);
        return true;
    }();
    Q_UNUSED(installed)
}

}  // namespace korvel::window

#include "Accessibility.moc"
