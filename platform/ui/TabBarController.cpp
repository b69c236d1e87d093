#include <pelbrook/TabBarController.h>

#include "platform/ui/TabBarController_p.h"

#include "platform/ui/NavigationController.h"
#include "platform/ui/Palette.h"
#include "platform/ui/Style.h"
#include "platform/Translations_p.h"

#include <QCloseEvent>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <QWindow>

#include <optional>

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

QIcon makeTabIcon(const TabBarItem &item)
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

// One icon per pair of images, shared by every tab bar: a checkout presented again and again
// then draws from the same cached pixmaps instead of adding new ones each time. The images
// come from the shared resource images, so there are only ever a few.
QIcon tabIcon(const TabBarItem &item)
{
    // By image, selected image, and whether the image is drawn as it is.
    static QHash<std::pair<qint64, qint64>, QIcon> icons[2];
    QHash<std::pair<qint64, qint64>, QIcon> &shared = icons[item.imageAlwaysOriginal ? 1 : 0];
    const std::pair<qint64, qint64> key{item.image.cacheKey(), item.selectedImage.cacheKey()};
    auto found = shared.find(key);
    if (found == shared.end()) {
        // A host that makes new images for every checkout gains nothing from sharing; it must
        // not make the sharing grow either.
        if (shared.size() >= 64)
            shared.clear();
        found = shared.insert(key, makeTabIcon(item));
    }
    return *found;
}

// A tab bar with each tab's icon above its title, tinted grey, or blue when selected, and the
// selected tab ringed while the bar has the keyboard focus.
class IconOverTitleTabBar : public QTabBar
{
public:
    explicit IconOverTitleTabBar(QWidget *parent)
        : QTabBar(parent)
    {
        CheckoutStyle::apply(this);
    }

    void setBarStyle(const QColor &tint, bool translucent)
    {
        m_tint = tint;
        m_translucent = translucent;
        update();
    }

protected:
    /// Never wider than the window lets it be: its tabs share whatever width it gets.
    QSize minimumSizeHint() const override { return QSize(0, TabBarHeight); }
    QSize tabSizeHint(int) const override
    {
        return QSize(qMax(64, width() / qMax(1, count())), TabBarHeight);
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintBar(painter, rect(), m_tint, m_translucent, Qt::TopEdge);
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
        // Marked only while the keyboard works the bar: a click must not ring the tab it chose.
        if (CheckoutStyle::hasKeyboardFocus(this) && currentIndex() >= 0)
            drawFocusRing(painter, tabRect(currentIndex()).adjusted(2, 2, -2, -2), 8);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        // The arrows choose a tab: the keyboard works the bar, however the focus came.
        window()->setAttribute(Qt::WA_KeyboardFocusChange);
        update();
        QTabBar::keyPressEvent(event);
    }

private:
    QColor m_tint;
    bool m_translucent = true;
};

} // namespace

class TabBarControllerPrivate
{
public:
    /// The tabs and their bar, centred, at most TabBarController::PanelWidth wide.
    QWidget *panel = nullptr;
    QStackedWidget *stack = nullptr;
    QTabBar *tabBar = nullptr;
    /// The host's window a presented, window-modal container blocks.
    QPointer<QWidget> blockedHost;
    QList<NavigationController *> controllers;
    QColor barTintColor = QColor(248, 248, 248);
    bool translucent = true;
    bool viewLoaded = false;
    /// Shown, and not yet dismissed. An embedded container stays open while hidden.
    bool open = false;
    /// A close event was accepted: the hiding that follows closes the container.
    bool closing = false;
    /// Dismissed since its tabs were built: the next showing builds them afresh.
    bool dismissed = false;
    /// Telling of a dismissal: the window system is still closing the window.
    bool dismissing = false;
    /// The container's language, which the screens it makes, whenever it makes them, take too.
    const Language language = loadTranslations();
    TabBarController *q = nullptr;

    static TabBarControllerPrivate *get(const TabBarController &container) { return container.d.get(); }
    void setControllers(const QList<NavigationController *> &replacements);

    void keepThroughClosing();
    void finishClosing();
    void refreshTabs();
    void updateBarStyle();
};

TabBarController::TabBarController(QWidget *parent)
    : QWidget(parent)
    , d(std::make_unique<TabBarControllerPrivate>())
{
    d->q = this;
    d->panel = new QWidget(this);
    d->panel->setObjectName(QStringLiteral("tabPanel"));
    d->stack = new QStackedWidget(d->panel);
    d->tabBar = new IconOverTitleTabBar(d->panel);
    setPalette(screenPalette());
    CheckoutStyle::applyToTree(this);
    d->stack->setObjectName(QStringLiteral("tabContent"));
    d->tabBar->setObjectName(QStringLiteral("tabBar"));
    d->tabBar->setShape(QTabBar::RoundedSouth);
    d->tabBar->setExpanding(true);
    d->tabBar->setDrawBase(false);
    d->tabBar->setIconSize(QSize(24, 24));
    // The tabs' content above, the bar along the bottom edge; a hidden bar leaves its room to them.
    auto *column = new QVBoxLayout(d->panel);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(d->stack, 1);
    column->addWidget(d->tabBar);
    connect(d->tabBar, &QTabBar::currentChanged, d->stack, &QStackedWidget::setCurrentIndex);
    connect(d->stack, &QStackedWidget::currentChanged, this, &TabBarController::selectedIndexChanged);
    d->updateBarStyle();
    // Escape closes the checkout, unless a field's open list takes it first.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &TabBarController::dismiss);
    escape->setContext(Qt::WidgetWithChildrenShortcut);
}

TabBarController::~TabBarController() = default;

void containerTabs::setViewControllers(TabBarController &container, const QList<NavigationController *> &controllers)
{
    TabBarControllerPrivate::get(container)->setControllers(controllers);
}

void TabBarControllerPrivate::setControllers(const QList<NavigationController *> &replacements)
{
    // The stack passes through every index as tabs go and come; the host hears only the end.
    const int before = stack->currentIndex();
    {
        const QSignalBlocker quiet(stack);
        for (NavigationController *old : std::as_const(controllers)) {
            stack->removeWidget(old);
            old->deleteLater();
        }
        controllers = replacements;
        for (NavigationController *controller : replacements) {
            stack->addWidget(controller);
            QObject::connect(controller->rootViewController(), &ViewController::titleChanged, q, [this] { refreshTabs(); });
        }
    }
    refreshTabs();
    if (stack->currentIndex() != before)
        Q_EMIT q->selectedIndexChanged(stack->currentIndex());
    q->viewControllersChanged();
}

void TabBarControllerPrivate::refreshTabs()
{
    const QSignalBlocker blocker(tabBar);
    while (tabBar->count() > controllers.size())
        tabBar->removeTab(tabBar->count() - 1);
    for (int i = 0; i < controllers.size(); ++i) {
        ViewController *screen = controllers[i]->rootViewController();
        if (i >= tabBar->count())
            tabBar->addTab(QString());
        tabBar->setTabText(i, screen->title());
        tabBar->setTabIcon(i, tabIcon(screen->tabBarItem()));
        tabBar->setTabToolTip(i, screen->title());
    }
    tabBar->setCurrentIndex(stack->currentIndex());
}

QList<NavigationController *> containerTabs::viewControllers(const TabBarController &container) { return TabBarControllerPrivate::get(container)->controllers; }
QTabBar *TabBarController::tabBar() const { return d->tabBar; }
QColor containerTabs::barTintColor(const TabBarController &container) { return TabBarControllerPrivate::get(container)->barTintColor; }
bool containerTabs::isTranslucent(const TabBarController &container) { return TabBarControllerPrivate::get(container)->translucent; }

int TabBarController::selectedIndex() const
{
    return d->stack->currentIndex();
}

void TabBarController::setSelectedIndex(int index)
{
    if (index >= 0 && index < d->controllers.size())
        d->tabBar->setCurrentIndex(index);
}

void containerTabs::setTabBarHidden(TabBarController &container, bool hidden)
{
    TabBarControllerPrivate::get(container)->tabBar->setHidden(hidden);
    // At once: the screen that hides it sizes its browser view to the room it leaves.
    TabBarControllerPrivate::get(container)->panel->layout()->activate();
}

bool containerTabs::isTabBarHidden(const TabBarController &container)
{
    return TabBarControllerPrivate::get(container)->tabBar->isHidden();
}

void containerTabs::setBarTintColor(TabBarController &container, const QColor &color)
{
    TabBarControllerPrivate::get(container)->barTintColor = color;
    TabBarControllerPrivate::get(container)->updateBarStyle();
}

void containerTabs::setTranslucent(TabBarController &container, bool translucent)
{
    TabBarControllerPrivate::get(container)->translucent = translucent;
    TabBarControllerPrivate::get(container)->updateBarStyle();
}

void TabBarControllerPrivate::updateBarStyle()
{
    static_cast<IconOverTitleTabBar *>(tabBar)->setBarStyle(barTintColor, translucent);
}

void TabBarController::loadViewIfNeeded()
{
    if (d->viewLoaded)
        return;
    d->viewLoaded = true;
    const LanguageScope language(d->language);
    viewDidLoad();
}

namespace {

// The room a window may take on @p display, leaving a margin for the window's frame.
QSize roomOn(const QScreen *display)
{
    return display ? display->availableGeometry().size() - QSize(40, 60) : QSize(480, 760);
}

} // namespace

QSize TabBarController::defaultSize() const
{
    // A dialog, compact on a desktop, no larger than the screen it opens on leaves room for:
    // the host's window's screen, for one presented over it.
    const QScreen *display = parentWidget() ? parentWidget()->screen() : screen();
    return QSize(480, 760).boundedTo(roomOn(display)).expandedTo(minimumSizeHint());
}

QSize TabBarController::sizeHint() const
{
    return defaultSize();
}

QSize TabBarController::minimumSizeHint() const
{
    return QSize(320, 480);
}

void TabBarController::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int width = qMin(this->width(), PanelWidth);
    d->panel->setGeometry((this->width() - width) / 2, 0, width, height());
}

void TabBarController::paintEvent(QPaintEvent *)
{
    if (d->panel->width() >= width())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), QColor(236, 237, 240));
    // A hairline along each side of the panel, where it meets the backdrop.
    painter.setPen(QColor(212, 214, 220));
    const QRect panel = d->panel->geometry();
    painter.drawLine(panel.topLeft() - QPoint(1, 0), panel.bottomLeft() - QPoint(1, 0));
    painter.drawLine(panel.topRight() + QPoint(1, 0), panel.bottomRight() + QPoint(1, 0));
}

bool TabBarController::eventFilter(QObject *watched, QEvent *event)
{
    // A window manager activates the host's window when the buyer clicks it, although the
    // checkout blocks it: the buyer's typing would then go nowhere.
    if (watched == d->blockedHost && event->type() == QEvent::WindowActivate && isVisible() && isWindow()
        && windowModality() != Qt::NonModal && parentWidget() && parentWidget()->window() == watched) {
        QMetaObject::invokeMethod(this, [this] {
            if (isVisible()) {
                raise();
                activateWindow();
            }
        }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

void TabBarController::present()
{
    if (d->dismissing) {
        d->keepThroughClosing();
        QMetaObject::invokeMethod(this, &TabBarController::present, Qt::QueuedConnection);
        return;
    }
    if (parentWidget() && !isWindow()) {
        // Over the host's window: a window of its own that stays above the host's, which
        // waits until the checkout closes.
        setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        setWindowModality(Qt::WindowModal);
    }
    if (!testAttribute(Qt::WA_Resized))
        resize(defaultSize());
    // Shown afresh, nothing is ringed until the keyboard moves: the mark of a keyboard user's
    // last showing stays with the window otherwise.
    if (isWindow())
        setAttribute(Qt::WA_KeyboardFocusChange, false);
    // The host's window: the parent's, or the window a host without widgets (Qt Quick) made
    // this one transient for.
    std::optional<QRect> host;
    const QScreen *display = nullptr;
    if (isWindow() && parentWidget()) {
        host = parentWidget()->window()->geometry();
        display = parentWidget()->screen();
    } else if (const QWindow *over = windowHandle() ? windowHandle()->transientParent() : nullptr) {
        host = over->geometry();
        display = over->screen();
    }
    if (isWindow()) {
        // However the host sized it, the window manager keeps it usable.
        setMinimumSize(minimumSize().expandedTo(minimumSizeHint().boundedTo(roomOn(display ? display : screen()))));
    }
    if (d->blockedHost)
        d->blockedHost->removeEventFilter(this);
    d->blockedHost = isWindow() && parentWidget() && windowModality() != Qt::NonModal ? parentWidget()->window() : nullptr;
    if (d->blockedHost)
        d->blockedHost->installEventFilter(this);
    if (host) {
        // Centred over the host's window, but never off the screen.
        QPoint corner = host->center() - QPoint(width() / 2, height() / 2);
        if (display) {
            const QRect room = display->availableGeometry();
            corner.setX(qBound(room.left(), corner.x(), qMax(room.left(), room.right() + 1 - width())));
            corner.setY(qBound(room.top(), corner.y(), qMax(room.top(), room.bottom() + 1 - height())));
        }
        move(corner);
    }
    show();
    if (host && display) {
        // The window's frame is known once it is shown: it must fit the screen too.
        const QRect room = display->availableGeometry();
        const QRect frame = frameGeometry();
        const int dx = qMax(0, room.left() - frame.left()) - qMax(0, qMin(frame.right() - room.right(), frame.left() - room.left()));
        const int dy = qMax(0, room.top() - frame.top()) - qMax(0, qMin(frame.bottom() - room.bottom(), frame.top() - room.top()));
        if (dx || dy)
            move(pos() + QPoint(dx, dy));
    }
    raise();
    activateWindow();
}

void TabBarControllerPrivate::keepThroughClosing()
{
    // A container that deletes itself on close would be deleted by the close under way, right
    // after it was shown again: it is kept, and deletes itself on its next close instead.
    if (!q->testAttribute(Qt::WA_DeleteOnClose))
        return;
    q->setAttribute(Qt::WA_DeleteOnClose, false);
    QMetaObject::invokeMethod(q, [container = q] { container->setAttribute(Qt::WA_DeleteOnClose, true); }, Qt::QueuedConnection);
}

void TabBarController::dismiss()
{
    close();
}

void TabBarController::setVisible(bool visible)
{
    if (visible && d->dismissing) {
        // Shown again from a dismissed() handler: once the window has finished closing.
        d->keepThroughClosing();
        QMetaObject::invokeMethod(this, [this] { setVisible(true); }, Qt::QueuedConnection);
        return;
    }
    if (visible) {
        // However the container is shown (present(), show(), a parent showing it), its tabs are
        // built first, and not before: the screens copy the checkout when they are built. Shown
        // again after a dismissal, it gets fresh screens, with the checkout as it is now.
        if (d->dismissed) {
            d->dismissed = false;
            d->viewLoaded = false;
        }
        loadViewIfNeeded();
        QWidget::setVisible(true);
        d->open = true;
        d->closing = false;
        return;
    }
    // Every way of closing it (the close button, the hand-back, the host, the window's close
    // button, Escape) ends here, once. A container the host embeds as a page of its own window
    // is hidden whenever the host shows another page: that is not closing, and the buyer finds
    // the checkout as they left it. (present() hides an embedded one while making it a window:
    // that is not closing either.)
    const bool closes = isWindow() || d->closing;
    d->closing = false;
    QWidget::setVisible(false);
    if (closes)
        d->finishClosing();
}

void TabBarController::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    // Closed while hidden (an embedded page the host is not showing): no hiding follows.
    if (isHidden())
        d->finishClosing();
    else
        d->closing = true;
}

void TabBarControllerPrivate::finishClosing()
{
    if (!open)
        return;
    open = false;
    dismissed = true;
    // Closed, it blocks the host's window no longer.
    if (blockedHost)
        blockedHost->removeEventFilter(q);
    blockedHost = nullptr;
    const QPointer<TabBarController> self(q);
    dismissing = true;
    q->aboutToDismiss();
    if (self)
        Q_EMIT q->dismissed();
    // The host may have deleted the container in its handler, and this with it.
    if (self)
        dismissing = false;
}

} // namespace pelbrook
