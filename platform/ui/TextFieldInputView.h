#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QFrame;
class QLineEdit;
class QWidget;

class QAbstractScrollArea;

namespace pelbrook {

/**
 * Gives a text field a panel that takes the place of a keyboard: the input view (a picker,
 * say) with an accessory bar above it. The field then takes no typed or pasted text; its text
 * is whatever the input view sets.
 *
 * The panel opens when the field gets the focus or is clicked or tapped, and closes when the
 * field loses the focus (which ending editing does) or is hidden. While it is open the field
 * passes the arrow keys to the input view, and Enter or Escape closes it; Down, Up or Space
 * opens it again. It lies in the field's window, above everything else: right under the
 * field, or above it when there is no room below.
 */
class TextFieldInputView : public QObject
{
    Q_OBJECT
public:
    /// The input view of @p field, made on first use.
    static TextFieldInputView *of(QLineEdit *field);
    /// Takes the panel with it: it lives in the window, which may outlast the field.
    ~TextFieldInputView() override;

    void setInputView(QWidget *view);
    void setInputAccessoryView(QWidget *view);

    bool isOpen() const;
    void open();
    void close();
    /// The panel holding the two views.
    QFrame *panel() const { return m_panel; }

    /// Keeps the panel inside @p bounds (the field's window when none is set) and off the
    /// widgets in @p keepClear that lie below or above the field: the panel grows shorter, and
    /// its list scrolls, rather than cover them.
    void setPlacementLimits(QWidget *bounds, const QList<QWidget *> &keepClear);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit TextFieldInputView(QLineEdit *field);
    void place();
    bool handleKey(int key);

    QLineEdit *m_field;
    // The panel lives in the field's window and may go with it before the field does.
    QPointer<QFrame> m_panel;
    QPointer<QWidget> m_inputView;
    QPointer<QWidget> m_accessory;
    QPointer<QWidget> m_window;
    QPointer<QWidget> m_bounds;
    QList<QPointer<QWidget>> m_keepClear;
    /// Kept while open: the scroll areas the field lies in move it, and the panel with it.
    QList<QMetaObject::Connection> m_scrolling;
    QList<QAbstractScrollArea *> scrollAreasAround() const;
};

} // namespace pelbrook
