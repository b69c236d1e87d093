#include "platform/web/PageDialog.h"

#include "platform/ui/Font.h"
#include "platform/ui/Palette.h"
#include "platform/ui/Style.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace pelbrook {

namespace {

const QString HelveticaNeue = QStringLiteral("Helvetica Neue");

// The box keeps a margin from the page's edges and a width a message reads well in.
constexpr int BoxMargin = 16;
constexpr int BoxMaximumWidth = 360;

class DialogBox : public QWidget
{
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath path;
        path.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
        painter.fillPath(path, Qt::white);
        painter.setPen(QColor(0xd3, 0xd3, 0xd3));
        painter.drawPath(path);
    }
};

} // namespace

PageDialog::PageDialog(Kind kind, const QString &message, const QString &defaultText, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("pageDialog"));
    // The page's text is its own: never markup, never longer than a box can show.
    QString shown = message.left(MaximumMessageLength);
    if (message.size() > MaximumMessageLength)
        shown += QChar(0x2026);
    setPalette(screenPalette());
    setAttribute(Qt::WA_NoMousePropagation);
    setFocusPolicy(Qt::NoFocus);

    m_box = new DialogBox(this);
    m_box->setObjectName(QStringLiteral("pageDialogBox"));
    auto *column = new QVBoxLayout(m_box);
    column->setContentsMargins(20, 20, 20, 16);
    column->setSpacing(14);
    auto *messageLabel = new QLabel(shown, m_box);
    messageLabel->setObjectName(QStringLiteral("pageDialogMessage"));
    messageLabel->setTextFormat(Qt::PlainText);
    messageLabel->setWordWrap(true);
    messageLabel->setFont(fontNamed(HelveticaNeue, 16));
    column->addWidget(messageLabel);
    if (kind == Kind::Prompt) {
        auto *field = new QLineEdit(m_box);
        CheckoutStyle::apply(field);
        field->setObjectName(QStringLiteral("pageDialogText"));
        field->setFont(fontNamed(HelveticaNeue, 16));
        field->setMinimumHeight(34);
        field->setText(defaultText.left(MaximumMessageLength));
        field->setAccessibleName(shown);
        m_field = field;
        column->addWidget(m_field);
    }
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    if (kind != Kind::Alert) {
        m_cancel = new QPushButton(tr("Cancel"), m_box);
        m_cancel->setObjectName(QStringLiteral("pageDialogCancel"));
        connect(m_cancel, &QPushButton::clicked, this, [this] { finish(false); });
        buttons->addWidget(m_cancel);
    }
    m_ok = new QPushButton(tr("OK"), m_box);
    m_ok->setObjectName(QStringLiteral("pageDialogOk"));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { finish(true); });
    buttons->addWidget(m_ok);
    column->addLayout(buttons);
    for (QPushButton *button : {m_cancel, m_ok}) {
        if (button) {
            button->setFont(fontNamed(HelveticaNeue, 16));
            button->setMinimumSize(88, 36);
        }
    }
    m_box->setAccessibleName(shown);
    placeBox();
}

PageDialog::~PageDialog()
{
    cancel();
}

bool PageDialog::exec(QString *text)
{
    QEventLoop loop;
    m_loop = &loop;
    m_accepted = false;
    show();
    raise();
    if (m_field)
        m_field->setFocus(Qt::OtherFocusReason);
    else
        m_ok->setFocus(Qt::OtherFocusReason);
    // The dialog may go while it waits (its page closed with the checkout): the answer then is
    // Cancel, and nothing of the dialog is touched again.
    const QPointer<PageDialog> self(this);
    loop.exec();
    if (!self)
        return false;
    m_loop = nullptr;
    hide();
    if (text && m_field && m_accepted)
        *text = m_field->text();
    return m_accepted;
}

void PageDialog::cancel()
{
    finish(false);
}

void PageDialog::finish(bool accepted)
{
    if (!m_loop)
        return;
    m_accepted = accepted;
    m_loop->exit();
    m_loop = nullptr;
}

bool PageDialog::event(QEvent *event)
{
    // Enter and Escape answer the dialog before the checkout's own shortcuts see them.
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void PageDialog::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        finish(m_cancel == nullptr);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter on Cancel cancels; anywhere else it answers OK.
        finish(!(m_cancel && m_cancel->hasFocus()));
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PageDialog::paintEvent(QPaintEvent *)
{
    // The page beneath dimmed, as the checkout's busy overlay dims its screen.
    QPainter(this).fillRect(rect(), QColor(0, 0, 0, 0x60));
}

void PageDialog::resizeEvent(QResizeEvent *)
{
    placeBox();
}

void PageDialog::placeBox()
{
    const int width = qMax(0, qMin(BoxMaximumWidth, this->width() - 2 * BoxMargin));
    const int height = qMin(m_box->heightForWidth(width) > 0 ? m_box->heightForWidth(width) : m_box->sizeHint().height(),
                            qMax(0, this->height() - 2 * BoxMargin));
    m_box->setGeometry((this->width() - width) / 2, (this->height() - height) / 2, width, height);
}

} // namespace pelbrook
