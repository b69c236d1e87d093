#include "platform/NavigationController.h"

#include "platform/Palette.h"
#include "platform/Resources.h"
#include "platform/Style.h"
#include "platform/ViewController_p.h"

#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>

namespace pelbrook {

namespace {

// The bar above a screen: its tint, and a hairline where it meets the screen.
class NavigationBar : public QWidget
{
public:
    using QWidget::QWidget;

    void setBarStyle(const QColor &tint, bool translucent)
    {
        m_tint = tint;
        m_translucent = translucent;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintBar(painter, rect(), m_tint, m_translucent, Qt::BottomEdge);
    }

private:
    QColor m_tint;
    bool m_translucent = true;
};

} // namespace

NavigationController::NavigationController(ViewController *rootViewController, QWidget *parent)
    : QWidget(parent)
    , m_root(rootViewController)
{
    setObjectName(QStringLiteral("navigationController"));
    setPalette(screenPalette());
    m_root->setParent(this);
    connect(m_root, &ViewController::titleChanged, this, [this](const QString &title) {
        if (m_titleLabel)
            m_titleLabel->setText(title);
    });
    connect(m_root, &ViewController::leftBarButtonItemChanged, this, &NavigationController::updateLeftButton);
}

// A checkout opens with one tab shown: the others' bars are made when the buyer first goes
// there (or a host's call makes the tab's views), so opening costs what the buyer sees.
void NavigationController::build()
{
    m_bar = new NavigationBar(this);
    m_content = new QWidget(this);
    m_titleLabel = new QLabel(m_bar);
    m_bar->setObjectName(QStringLiteral("navigationBar"));
    m_content->setObjectName(QStringLiteral("navigationContent"));
    // Screens draw their own backgrounds; whatever they leave uncovered (the strip a hidden tab
    // bar frees, say) is white rather than the window's grey. Filled from the palette, not by a
    // style sheet: a style sheet would hand every screen below it the host's palette again.
    m_content->setAutoFillBackground(true);
    m_titleLabel->setObjectName(QStringLiteral("navigationTitle"));
    m_titleLabel->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_titleLabel->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(17);
    m_titleLabel->setFont(titleFont);
    // Black like the screens' text, whatever a host's style sheet says of labels.
    setTextColour(m_titleLabel, Qt::black);
    m_titleLabel->setText(m_root->title());
    updateLeftButton();
    updateBarStyle();
    placeChildren();
    m_bar->show();
    m_content->show();
}

void NavigationController::updateLeftButton()
{
    if (!m_bar)
        return;
    const BarButtonItem &item = m_root->leftBarButtonItem();
    delete m_leftButton;
    m_leftButton = nullptr;
    if (!item.action && item.image.isNull() && item.title.isEmpty())
        return;
    const LanguageScope language(screenLanguage(m_root));
    m_leftButton = new QToolButton(m_bar);
    CheckoutStyle::apply(m_leftButton);
    m_leftButton->setAutoRaise(true);
    m_leftButton->setObjectName(item.objectName);
    m_leftButton->setCursor(Qt::PointingHandCursor);
    if (!item.image.isNull()) {
        m_leftButton->setIcon(iconFor(item.image));
        m_leftButton->setIconSize(item.image.deviceIndependentSize().toSize().boundedTo(QSize(28, 28)));
    } else {
        m_leftButton->setText(item.title);
    }
    m_leftButton->setAccessibleName(item.title.isEmpty() ? tr("Close") : item.title);
    m_leftButton->setToolTip(m_leftButton->accessibleName());
    auto action = item.action;
    QToolButton *button = m_leftButton;
    connect(m_leftButton, &QToolButton::clicked, this, [action, button]() {
        if (action)
            action(button);
    });
    m_leftButton->setGeometry(8, (BarHeight - 36) / 2, 36, 36);
    m_leftButton->show();
}

void NavigationController::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    updateBarStyle();
}

void NavigationController::setBarTintColor(const QColor &color)
{
    m_barTintColor = color;
    updateBarStyle();
}

void NavigationController::updateBarStyle()
{
    if (m_bar)
        static_cast<NavigationBar *>(m_bar)->setBarStyle(m_barTintColor, m_translucent);
}

QRect NavigationController::contentRect() const
{
    return QRect(0, BarHeight, width(), qMax(0, height() - BarHeight));
}

void NavigationController::resizeEvent(QResizeEvent *)
{
    placeChildren();
}

void NavigationController::placeChildren()
{
    if (!m_bar)
        return;
    m_bar->setGeometry(0, 0, width(), BarHeight);
    m_titleLabel->setGeometry(56, 0, qMax(0, width() - 112), BarHeight);
    m_content->setGeometry(contentRect());
    if (m_root->isViewLoaded() && m_root->view()->parentWidget() == m_content)
        m_root->view()->setGeometry(QRect(QPoint(0, 0), contentRect().size()));
}

void NavigationController::placeRootView()
{
    if (!m_bar)
        build();
    QWidget *view = m_root->view();
    if (view->parentWidget() == m_content)
        return;
    // At its parent's origin, so the root view's frame and its bounds agree. Made before the
    // wrapper was first shown, it keeps the size it was made with until the wrapper is laid out.
    view->setParent(m_content);
    view->move(0, 0);
    view->show();
}

void NavigationController::showEvent(QShowEvent *event)
{
    if (event->spontaneous())
        return;
    if (!m_root->isViewLoaded())
        m_root->setInitialViewSize(contentRect().size());
    placeRootView();
    placeChildren();
    m_root->beginAppearance();
    QTimer::singleShot(0, m_root, &ViewController::endAppearance);
}

void NavigationController::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_root->beginDisappearance();
}

} // namespace pelbrook
