#pragma once

#include <QPointer>
#include <QWidget>

class QEventLoop;
class QLineEdit;
class QPushButton;

namespace pelbrook {

/**
 * A web page's alert(), confirm() or prompt(), shown inside the checkout over the page that
 * asked, in the checkout's look: a box with the page's message, a field for prompt(), and OK
 * (and Cancel). The rest of the checkout, its close button above all, stays usable.
 *
 * exec() waits in a nested event loop, as the page's script waits for the answer; cancel()
 * ends that wait as if Cancel had been pressed. A dialog whose parent goes ends cancelled.
 */
class PageDialog : public QWidget
{
    Q_OBJECT
public:
    enum class Kind { Alert, Confirm, Prompt };

    /// A dialog covering @p parent; @p defaultText fills the prompt's field.
    PageDialog(Kind kind, const QString &message, const QString &defaultText, QWidget *parent);
    ~PageDialog() override;

    /// Shows the dialog and waits for the buyer; returns whether OK was pressed and, for a
    /// prompt, puts the field's text in @p text.
    bool exec(QString *text = nullptr);
    /// Ends exec() as cancelled; harmless when it is not running.
    void cancel();

    /// The longest message shown; a page's longer text is cut.
    static constexpr qsizetype MaximumMessageLength = 600;

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void finish(bool accepted);
    void placeBox();

    QWidget *m_box = nullptr;
    QLineEdit *m_field = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    QPointer<QEventLoop> m_loop;
    bool m_accepted = false;
};

} // namespace pelbrook
