#include <pelbrook/TabBarController.h>

#include <QCloseEvent>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabBar>

namespace pelbrook {

namespace {

const QColor UnselectedTint(146, 146, 146);
const QColor SelectedTint(0, 122, 255);

// Template images are drawn in the bar's tint colour, keeping only their shape.
QPixmap tinted(const QImage &image, const QColor &tint)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), tint);
    painter.end();
    return QPixmap::fromImage(result);
}

QIcon tabIcon(const TabBarItem &item)
{
    QIcon icon;
    if (!item.image.isNull()) {
        icon.addPixmap(item.imageAlwaysOriginal ? QPixmap::fromImage(item.image) : tinted(item.image, UnselectedTint),
                       QIcon::Normal, QIcon::Off);
    }
    if (!item.selectedImage.isNull())
        icon.addPixmap(tinted(item.selectedImage, SelectedTint), QIcon::Normal, QIcon::On);
    return icon;
}

// A tab bar with each tab's icon above its title, tinted grey, or blue when selected.
class IconOverTitleTabBar : public QTabBar
{
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int) const override
    {
        return QSize(qMax(64, width() / qMax(1, count())), TabBarController::TabBarHeight);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QFont font = this->font();
        font.setPixelSize(11);
        painter.setFont(font);
        for (int i = 0; i < count(); ++i) {
            const QRect r = tabRect(i);
            const bool selected = i == currentIndex();
            const QPixmap icon = tabIcon(i).pixmap(iconSize(), devicePixelRatioF(), QIcon::Normal, selected ? QIcon::On : QIcon::Off);
            const QSize logical = icon.deviceIndependentSize().toSize();
            painter.drawPixmap(QPoint(r.center().x() - logical.width() / 2, r.top() + 6), icon);
            painter.setPen(selected ? SelectedTint : UnselectedTint);
            painter.drawText(QRect(r.left(), r.top() + 8 + iconSize().height(), r.width(), 16), Qt::AlignCenter, tabText(i));
        }
    }
};

} // namespace

TabBarController::TabBarController(QWidget *parent)
    : QWidget(parent)
    , m_stack(new QStackedWidget(this))
    , m_tabBar(new IconOverTitleTabBar(this))
{
    m_stack->setObjectName(QStringLiteral("tabContent"));
    m_tabBar->setObjectName(QStringLiteral("tabBar"));
    m_tabBar->setShape(QTabBar::RoundedSouth);
    m_tabBar->setExpanding(true);
    m_tabBar->setDrawBase(false);
    m_tabBar->setIconSize(QSize(24, 24));
    m_tabBar->setAttribute(Qt::WA_StyledBackground);
    connect(m_tabBar, &QTabBar::currentChanged, m_stack, &QStackedWidget::setCurrentIndex);
    updateBarStyle();
    resize(390, 844);
}

TabBarController::~TabBarController() = default;

void TabBarController::setViewControllers(const QList<NavigationController *> &controllers)
{
    for (NavigationController *old : std::as_const(m_controllers)) {
        m_stack->removeWidget(old);
        old->deleteLater();
    }
    m_controllers = controllers;
    for (NavigationController *controller : controllers) {
        m_stack->addWidget(controller);
        connect(controller->rootViewController(), &ViewController::titleChanged, this, &TabBarController::refreshTabs);
    }
    refreshTabs();
    viewControllersChanged();
}

void TabBarController::refreshTabs()
{
    const QSignalBlocker blocker(m_tabBar);
    while (m_tabBar->count() > m_controllers.size())
        m_tabBar->removeTab(m_tabBar->count() - 1);
    for (int i = 0; i < m_controllers.size(); ++i) {
        ViewController *screen = m_controllers[i]->rootViewController();
        if (i >= m_tabBar->count())
            m_tabBar->addTab(QString());
        m_tabBar->setTabText(i, screen->title());
        m_tabBar->setTabIcon(i, tabIcon(screen->tabBarItem()));
        m_tabBar->setTabToolTip(i, screen->title());
    }
    m_tabBar->setCurrentIndex(m_stack->currentIndex());
}

int TabBarController::selectedIndex() const
{
    return m_stack->currentIndex();
}

void TabBarController::setSelectedIndex(int index)
{
    if (index >= 0 && index < m_controllers.size())
        m_tabBar->setCurrentIndex(index);
}

void TabBarController::setTabBarHidden(bool hidden)
{
    m_tabBar->setHidden(hidden);
    layoutChildren();
}

bool TabBarController::isTabBarHidden() const
{
    return m_tabBar->isHidden();
}

void TabBarController::setBarTintColor(const QColor &color)
{
    m_barTintColor = color;
    updateBarStyle();
}

void TabBarController::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    updateBarStyle();
}

void TabBarController::updateBarStyle()
{
    m_tabBar->setStyleSheet(QStringLiteral("QTabBar#tabBar { background: %1; border-top: 1px solid #d0d0d0; }")
                                .arg(barBackground(m_barTintColor, m_translucent)));
}

void TabBarController::loadViewIfNeeded()
{
    if (m_viewLoaded)
        return;
    m_viewLoaded = true;
    viewDidLoad();
}

void TabBarController::present()
{
    loadViewIfNeeded();
    show();
    raise();
    activateWindow();
}

void TabBarController::dismiss()
{
    close();
}

void TabBarController::setVisible(bool visible)
{
    // However the container is shown (present(), show(), a parent showing it), its tabs are
    // built first, and not before: the screens copy the checkout when they are built.
    if (visible)
        loadViewIfNeeded();
    QWidget::setVisible(visible);
}

void TabBarController::closeEvent(QCloseEvent *event)
{
    // Closing a container that was never on screen is not a dismissal.
    const bool wasShown = isVisible();
    QWidget::closeEvent(event);
    if (event->isAccepted() && wasShown)
        Q_EMIT dismissed();
}

void TabBarController::resizeEvent(QResizeEvent *)
{
    layoutChildren();
}

void TabBarController::layoutChildren()
{
    const int barHeight = m_tabBar->isHidden() ? 0 : TabBarHeight;
    m_stack->setGeometry(0, 0, width(), height() - barHeight);
    m_tabBar->setGeometry(0, height() - barHeight, width(), barHeight);
}

} // namespace pelbrook
