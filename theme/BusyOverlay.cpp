#include "theme/BusyOverlay.h"

#include "platform/ui/ActivityIndicatorView.h"
#include "theme/ViewLayer.h"

#include <QEvent>
#include <QKeyEvent>

namespace pelbrook {

namespace {

// The dimming view: takes the focus while shown and keeps it, so typing cannot reach a field
// underneath; clicks stop here because it is the topmost child.
class DimmingView : public QWidget
{
public:
    DimmingView()
    {
        setObjectName(QStringLiteral("containerView"));
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_NoMousePropagation);
    }

protected:
    bool focusNextPrevChild(bool) override { return true; }
    void keyPressEvent(QKeyEvent *event) override { event->accept(); }
    void keyReleaseEvent(QKeyEvent *event) override { event->accept(); }
    void mousePressEvent(QMouseEvent *event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent *event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent *event) override { event->accept(); }
    void wheelEvent(QWheelEvent *event) override { event->accept(); }
};

} // namespace

BusyOverlay::BusyOverlay(QObject *parent)
    : QObject(parent)
{
}

void BusyOverlay::makeViews()
{
    // Most screens are never busy: their overlay costs nothing until it is first shown.
    m_containerView = new DimmingView;
    m_progressView = new QWidget(m_containerView);
    m_activityIndicator = new ActivityIndicatorView(m_progressView);
    m_progressView->setObjectName(QStringLiteral("progressView"));
    m_activityIndicator->setObjectName(QStringLiteral("activityIndicator"));
    m_message = new QLabel(m_containerView);
    m_message->setObjectName(QStringLiteral("busyMessage"));
    m_message->setTextFormat(Qt::PlainText);
    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    m_message->setMargin(10);
    ViewLayer *messageLayer = ViewLayer::of(m_message);
    messageLayer->setBackgroundColor(Qt::white);
    messageLayer->setCornerRadius(10);
    messageLayer->setMasksToBounds(true);
    QPalette text = m_message->palette();
    text.setColor(QPalette::WindowText, Qt::black);
    m_message->setPalette(text);
    m_message->hide();
    m_containerView->hide();
}

BusyOverlay::~BusyOverlay()
{
    // The views live in the screen's view tree only while shown.
    delete m_containerView.data();
}

void BusyOverlay::waitLoading(QWidget *rootView, const Color &boxColour)
{
    if (rootView && !m_containerView)
        makeViews();
    if (!rootView || !m_containerView)
        return;
    applyGeometry(rootView);
    ViewLayer::of(m_containerView)->setBackgroundColor(Color(0xFFFFFFu, 0.3).toQColor());
    ViewLayer *boxLayer = ViewLayer::of(m_progressView);
    boxLayer->setBackgroundColor(boxColour.toQColor());
    boxLayer->setMasksToBounds(true);
    boxLayer->setCornerRadius(10);

    m_activityIndicator->resize(40, 40);
    m_activityIndicator->move(m_progressView->width() / 2 - 20, m_progressView->height() / 2 - 20);

    // Adding it again only brings it to the front: there is never a second overlay.
    if (m_containerView->parentWidget() != rootView)
        m_containerView->setParent(rootView);
    if (m_rootView != rootView) {
        if (m_rootView)
            m_rootView->removeEventFilter(this);
        m_rootView = rootView;
        rootView->installEventFilter(this);
    }
    m_containerView->show();
    m_containerView->raise();
    m_containerView->setFocus(Qt::OtherFocusReason);
    m_activityIndicator->startAnimating();
}

void BusyOverlay::applyGeometry(QWidget *rootView)
{
    // Frame, then centre, both as the root view reports them in its parent's coordinates; with
    // the root view at its parent's origin this covers it exactly.
    const QRect rootFrame = rootView->geometry();
    QRect container = rootFrame;
    container.moveCenter(rootFrame.center());
    m_containerView->setGeometry(container);
    QRect box(0, 0, 80, 80);
    box.moveCenter(rootFrame.center());
    m_progressView->setGeometry(box);
    placeMessage();
}

void BusyOverlay::placeMessage()
{
    if (!m_message || m_message->isHidden())
        return;
    const int width = qMax(0, qMin(320, m_containerView->width() - 32));
    const int height = m_message->heightForWidth(width);
    const QRect box = m_progressView->geometry();
    // Under the box, or above it where a short window leaves no room below.
    int top = box.bottom() + 17;
    if (top + height > m_containerView->height())
        top = qMax(0, box.top() - 16 - height);
    m_message->setGeometry((m_containerView->width() - width) / 2, top, width, height);
}

void BusyOverlay::setMessage(const QString &message)
{
    if (!m_message)
        return;
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    m_message->setAccessibleName(message);
    placeMessage();
}

QString BusyOverlay::message() const
{
    return m_message && !m_message->isHidden() ? m_message->text() : QString();
}

bool BusyOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && watched == m_rootView && isShown())
        applyGeometry(m_rootView);
    return false;
}

void BusyOverlay::hideWaitLoading()
{
    if (!m_containerView)
        return;
    if (m_rootView)
        m_rootView->removeEventFilter(this);
    m_rootView = nullptr;
    m_activityIndicator->stopAnimating();
    setMessage(QString());
    m_containerView->hide();
    m_containerView->setParent(nullptr);
}

bool BusyOverlay::isShown() const
{
    return m_containerView && m_containerView->parentWidget() && m_containerView->isVisibleTo(m_containerView->parentWidget());
}

} // namespace pelbrook
