#include "platform/ui/NavigationController.h"

#include "platform/ui/Palette.h"
#include "platform/Resources.h"
#include "platform/ui/Style.h"
#include "platform/ui/ViewController_p.h"

#include <QLabel>
#include <QPainter>
#include <QShowEvent>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace pelbrook {

namespace {

// The bar above a screen: its tint, a hairline where it meets the screen, and its title.
class NavigationBar : public QWidget
{
public:
    using QWidget::QWidget;

    QLabel *title = nullptr;

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

    // The title takes the bar's width between the button's room on either side, centred on the
    // bar whatever its own width: a long title is cut, never holds the window wider. Placed
    // here rather than by a layout, which would measure the title's text at every opening.
    void resizeEvent(QResizeEvent *) override
    {
        if (title)
            title->setGeometry(56, 0, qMax(0, width() - 112), height());
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
    auto *bar = new NavigationBar(this);
    m_bar = bar;
    m_content = new QWidget(this);
    m_titleLabel = bar->title = new QLabel(m_bar);
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
    m_bar->setFixedHeight(BarHeight);
    // The bar above, the screen's root view filling the rest.
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_bar);
    column->addWidget(m_content, 1);
    // Laid out at once, so the content has its size before the root view joins it: a screen
    // lays itself out again for every size its root view passes through. A layout leaves out
    // a widget not shown yet.
    m_bar->show();
    m_content->show();
    column->activate();
    auto *fill = new QVBoxLayout(m_content);
    fill->setContentsMargins(0, 0, 0, 0);
    updateLeftButton();
    updateBarStyle();
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

void NavigationController::placeRootView()
{
    if (!m_bar)
        build();
    QWidget *view = m_root->view();
    if (view->parentWidget() == m_content)
        return;
    // Shown first, or the layout would leave it out until a later turn of the event loop.
    m_content->layout()->addWidget(view);
    view->show();
    m_content->layout()->activate();
}

void NavigationController::showEvent(QShowEvent *event)
{
    if (event->spontaneous())
        return;
    if (!m_root->isViewLoaded())
        m_root->setInitialViewSize(contentRect().size());
    placeRootView();
    m_root->beginAppearance();
    QTimer::singleShot(0, m_root, &ViewController::endAppearance);
}

void NavigationController::hideEvent(QHideEvent *event)
{
    if (!event->spontaneous())
        m_root->beginDisappearance();
}

} // namespace pelbrook
